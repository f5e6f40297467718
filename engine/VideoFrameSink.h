#pragma once

#include "engine/PixelBlock.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>

namespace velmo {

/// One decoded picture on its way to the screen. `image` keeps its pixels
/// (a reused conversion buffer, or the pipeline's own buffer mapped without a
/// copy) alive while any copy of the image exists.
struct VideoFrame {
    QImage image;   ///< the picture, already scaled to `picture`'s size in device pixels when possible
    QRect area;     ///< the owner's rectangle the video window covers
    QRect picture;  ///< where the picture goes inside `area` (letter-boxed or stretched)
    std::shared_ptr<PixelBlock> pixels; ///< the memory `image` lives in; null when it lives elsewhere
    int64_t timeMs = -1; ///< the picture's time in the medium (stream time); -1 when unknown
};

/// What shows the picture of a graph (the video screen): the graph's
/// VideoWindow hands it frames on the UI thread once it is made the owner
/// (put_Owner).
class VideoFrameSink {
public:
    virtual ~VideoFrameSink() = default;
    /// The newest frame; replaces the one shown.
    virtual void ShowFrame(const VideoFrame &frame) = 0;
    /// The video window went away (hidden, detached or closed): show no picture.
    virtual void ClearFrame() = 0;
    /// Device pixels per unit of the sink's coordinates: frames are made
    /// that much larger than their picture rectangle, so that none is scaled
    /// again on its way to the screen.
    virtual qreal PixelRatio() const { return 1; }
};

} // namespace velmo
