#pragma once

#include "screen/PictureOutput.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

struct xcb_connection_t;

namespace velmo {

/// A native X window over the picture's rectangle of the video screen that
/// the X server fills straight from the memory the scaler wrote each frame to
/// (MIT-SHM with a memory file): no copy into the window's backing store and
/// no second buffer. The frame itself is never written to; the caption's
/// rectangle goes from a small picture of its own, composed of the frame's
/// pixels there and the caption over them.
///
/// At most one frame is on its way to the server; a newer one waits, and the
/// newest of those is put when the server says it is done.
///
/// Input over the window goes to the parent as if it had happened there.
class PictureWindow final : public QWidget, public PictureOutput, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    /// A hidden picture window in `parent`; null when the display cannot take
    /// pictures this way (not X11, a server reached through the network, no
    /// shared memory by file, not 24 bits deep, or VELMO_PAINTED_PICTURE
    /// set), so that the parent paints them itself. `refused` is called,
    /// once and from inside a call of the window, when no picture can be put:
    /// the server would not take our memory (or none could be made to give
    /// it). The window stays hidden from then on and must outlive that call.
    static PictureWindow *Create(QWidget *parent, std::function<void()> refused);
    ~PictureWindow() override;

    /// Shows `frame` over `frame.picture` (parent coordinates); hides the
    /// window when that is empty.
    void ShowFrame(const VideoFrame &frame) override;
    /// The frame shown is put again with the new caption layer.
    void SetCaption(const QImage &layer, const QRect &pixels, bool putNow = true) override;
    /// Hides the window and lets go of the frame.
    void ClearFrame() override;
    /// The server fills the window: the parent paints nothing under it.
    void Paint(QPainter &, const VideoFrame &) const override {}
    QWidget *NativeWindow() override { return this; }
    /// Frames whose last piece the server has finished.
    int FramesDone() const { return framesDone_; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    PictureWindow(QWidget *parent, xcb_connection_t *connection, uint8_t completionEvent,
                  std::function<void()> refused);
    /// Puts `frame_` now, or marks it to be put when the server is done.
    void Put();
    void PutNow();
    /// Composes the frame and the caption over `composed` of a window of `window`
    /// pixels into the scratch picture; its segment, or 0 when the server cannot read it.
    uint32_t Compose(const QRect &composed, const QRect &caption, const QSize &window);
    /// The server's id for `block`'s memory, attaching it first; 0 on failure.
    uint32_t Segment(PixelBlock &block);
    /// The scratch picture for composing, at least `bytes` large; null on failure.
    PixelBlock *Scratch(size_t bytes);
    bool EnsureTarget();

    xcb_connection_t *connection_;
    uint8_t completionEvent_;   ///< the server's event code for a finished put
    std::function<void()> onRefused_;
    uint32_t target_ = 0;       ///< the X window the graphics context was made for
    uint32_t gc_ = 0;
    VideoFrame frame_;
    QImage caption_;
    QRect captionRect_;         ///< in the parent's device pixels
    std::shared_ptr<PixelBlock> scratch_;
    /// The frame on its way, kept until the server is done reading it.
    std::optional<VideoFrame> inFlight_;
    QElapsedTimer inFlightSince_;
    bool putWaiting_ = false;
    bool refused_ = false;
    int framesDone_ = 0;
};

} // namespace velmo
