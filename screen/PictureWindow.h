#pragma once

#include "engine/VideoFrameSink.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

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
class PictureWindow : public QWidget, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    /// A hidden picture window in `parent`; null when the display cannot take
    /// pictures this way (not X11, a server reached through the network, no
    /// shared memory by file, not 24 bits deep, or VELMO_PAINTED_PICTURE
    /// set), so that the parent paints them itself.
    static PictureWindow *Create(QWidget *parent);
    ~PictureWindow() override;

    /// Shows `frame` over `frame.picture` (parent coordinates).
    void ShowFrame(const VideoFrame &frame);
    /// The caption layer over the picture (parent coordinates; a null image
    /// for none); the frame shown is put again with it.
    void SetCaption(const QImage &layer, const QRect &rect);
    /// Hides the window and lets go of the frame.
    void ClearFrame();
    /// Frames whose last piece the server has finished.
    int FramesDone() const { return framesDone_; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    QPaintEngine *paintEngine() const override { return nullptr; }

Q_SIGNALS:
    /// No picture can be put: the server would not take our memory (or none
    /// could be made to give it). The window stays hidden from then on; the
    /// parent paints the pictures itself.
    void refused();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    PictureWindow(QWidget *parent, xcb_connection_t *connection, uint8_t completionEvent);
    /// Puts `frame_` now, or marks it to be put when the server is done.
    void Put();
    void PutNow();
    /// The server's id for `block`'s memory, attaching it first; 0 on failure.
    uint32_t Segment(PixelBlock &block);
    /// The scratch picture for composing, at least `bytes` large; null on failure.
    PixelBlock *Scratch(size_t bytes);
    bool EnsureTarget();

    xcb_connection_t *connection_;
    uint8_t completionEvent_;   ///< the server's event code for a finished put
    uint32_t target_ = 0;       ///< the X window the graphics context was made for
    uint32_t gc_ = 0;
    VideoFrame frame_;
    QImage caption_;
    QRect captionRect_;
    std::shared_ptr<PixelBlock> scratch_;
    /// The frame on its way, kept until the server is done reading it.
    std::optional<VideoFrame> inFlight_;
    QElapsedTimer inFlightSince_;
    bool putWaiting_ = false;
    bool refused_ = false;
    int framesDone_ = 0;
};

} // namespace velmo
