#pragma once

#include "engine/GstHandles.h"
#include "engine/MediaFacets.h"
#include "engine/Orientation.h"
#include "engine/VideoFrameSink.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <functional>
#include <memory>

namespace velmo {

struct GstFrameSlot;

/// A picture made for the screen and the memory it lives in (null when it
/// lives elsewhere, in a buffer of the pipeline's).
struct ConvertedPicture {
    QImage image;
    std::shared_ptr<PixelBlock> pixels;
    int64_t timeMs = -1; ///< the frame's time in the medium; -1 when unknown
};

/// The video output added to the graph as "Overlay Mixer": a bin whose appsink
/// takes the decoder's own format; on the streaming thread each frame is
/// scaled once, to the size it is shown at, converted to BGRx and turned
/// (FrameScaler). The bin's scaler and converter serve only formats that
/// lacks. The newest frame is queued to the UI thread and handed to the owner
/// (a VideoFrameSink) as an image.
///
/// Frames are turned by the stream's image-orientation tag (a phone's
/// portrait video) and then by the user's own turn: every size and picture
/// the output gives is the turned one; the frames as decoded (DecodedCaps,
/// ShowDecoded) are not turned.
class GstVideoOutput : public QObject, public BaseFilter, public std::enable_shared_from_this<GstVideoOutput> {
    Q_OBJECT
public:
    /// Builds the bin; null with *result set when an element is missing.
    static std::shared_ptr<GstVideoOutput> Create(HResult *result);
    ~GstVideoOutput() override;

    std::shared_ptr<MediaPin> FindPin(const std::string &name) override;

    /// The bin to give the pipeline as its video sink.
    GstElement *Bin() const { return bin_.get(); }
    /// The object that shows the frames (a VideoFrameSink); null detaches
    /// (and clears it).
    void SetOwner(QObject *owner);
    /// The owner's rectangle the video covers.
    void SetArea(const QRect &area);
    /// Shows or hides the picture.
    void SetVisible(bool visible);
    /// AM_ARMODE_LETTER_BOX or AM_ARMODE_STRETCHED.
    void SetAspectMode(int32_t mode);
    int32_t AspectMode() const { return aspectMode_; }
    /// The display size of the negotiated video, turned as it is shown; false
    /// before negotiation or without video.
    bool NegotiatedSize(QSize *displaySize) const;
    /// Called on the UI thread with the display size whenever a frame shows
    /// that it differs from the size last reported (the first frame included).
    void SetSizeListener(std::function<void(const QSize &)> listener) { sizeListener_ = std::move(listener); }

    /// The time in the medium of the newest decoded frame and its duration
    /// (by the stream's frame rate, else the buffer's; 0 when neither says), in
    /// nanoseconds; false before the first frame.
    bool FrameTime(int64_t *streamNs, int64_t *durationNs) const;
    /// The newest decoded frame converted at the video's display size with
    /// square pixels, turned as it is shown; a null image before the first frame or when the
    /// conversion fails. Slow (a conversion of the whole frame): on request only.
    QImage NativePicture() const;
    /// The format of the newest decoded frame, as the appsink took it; null before the first frame.
    GstCapsPtr DecodedCaps() const;
    /// Shows `sample`, a frame of this medium decoded apart (in the format of
    /// DecodedCaps), as if it were the newest decoded frame; a frame of the
    /// pipeline's still waiting for the UI is dropped. UI thread only.
    void ShowDecoded(GstSamplePtr sample);

    /// Turns the picture by `user` after the stream's own orientation, at
    /// once: the frame shown is made again, and a new shape is reported to
    /// the size listener. UI thread only.
    void SetUserTurn(Orientation user);

    /// Takes the newest frame the streaming thread left and shows it. Queued
    /// to the UI thread once per batch of frames the appsink offered.
    void TakeFrame();

private:
    GstVideoOutput() = default;
    void Present(const ConvertedPicture &picture);
    void UpdateCaps();
    /// Takes the owner's device pixel ratio for the frames made from now on.
    void UpdateRatio();
    QRect PictureRect() const;
    /// How the frames are turned now.
    Orientation Turn() const;
    /// Tells the size listener the display size when it differs from the one last told.
    void ReportSize();

    GstElementPtr bin_;
    GstElementPtr capsFilter_;
    std::shared_ptr<GstFrameSlot> slot_;
    std::shared_ptr<MediaPin> pin_;
    QPointer<QObject> owner_;
    QRect area_;
    QSize capsSize_;       ///< the size the scaler was last asked for
    qreal ratio_ = 1;      ///< the owner's PixelRatio(), as last taken
    ConvertedPicture last_; ///< kept to refit the picture while paused
    std::function<void(const QSize &)> sizeListener_;
    QSize reportedSize_;   ///< the display size last given to sizeListener_
    bool visible_ = true;
    int32_t aspectMode_ = 1;
};

} // namespace velmo
