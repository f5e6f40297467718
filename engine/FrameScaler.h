#pragma once

#include "engine/GstHandles.h"
#include "engine/Orientation.h"
#include "engine/PixelBlock.h"

#include <gst/video/video.h>

#include <QImage>
#include <QSize>

#include <memory>

struct SwsContext;

namespace velmo {

struct FrameBuffers;

/// Scales a decoded frame to the size shown and converts it to BGRx with
/// SIMD code (turning it last for a turned stream), into a few reusable image
/// buffers. Used on the streaming thread in place of a scaler and a converter
/// in the pipeline, which together cost about three times as much.
class FrameScaler {
public:
    FrameScaler();
    ~FrameScaler();
    FrameScaler(const FrameScaler &) = delete;
    FrameScaler &operator=(const FrameScaler &) = delete;

    /// Whether frames of `format` can be converted here.
    static bool Handles(GstVideoFormat format);
    /// video/x-raw caps listing the formats converted here.
    static GstCapsPtr NativeCaps();

    /// Runs on the video output's streaming thread, one thread at a time.
    /// The frame in `buffer` (described by `info`) turned by `turn`, as an
    /// RGB32 image of `size` (the size once turned); a null image when the
    /// format is not handled or the frame cannot be read. The image's pixels
    /// go back to the pool once its last copy is gone and no one holds the
    /// block given in `block`.
    QImage Convert(const GstVideoInfo &info, GstBuffer *buffer, const QSize &size,
                   std::shared_ptr<PixelBlock> *block = nullptr, Orientation turn = {});

private:
    struct SwsFree {
        void operator()(SwsContext *context) const;
    };
    struct BytesFree {
        void operator()(uint8_t *bytes) const;
    };
    bool Prepare(const GstVideoInfo &info, const QSize &size);
    /// A block of `bytes` for an image, from the pool when one is free; null when out of memory.
    std::shared_ptr<PixelBlock> TakeBlock(size_t bytes);
    /// The converted picture, before it is turned, in unturned_; false when out of memory.
    bool PrepareUnturned(const QSize &size);

    std::shared_ptr<FrameBuffers> buffers_;
    /// Scales YUV to planar 4:2:0 at the size shown, into planar_; null when
    /// the frame is converted in one pass.
    std::unique_ptr<SwsContext, SwsFree> scale_;
    /// Converts planar_ (or the frame itself) to BGRx.
    std::unique_ptr<SwsContext, SwsFree> convert_;
    std::unique_ptr<uint8_t, BytesFree> planar_;
    uint8_t *planes_[4] = {};
    int planeStrides_[4] = {};
    /// A picture to be turned, converted but not yet turned; null until one is.
    std::unique_ptr<uint8_t, BytesFree> unturned_;
    int unturnedStride_ = 0;
    QSize unturnedSize_;
    // What the contexts were made for.
    GstVideoFormat format_ = GST_VIDEO_FORMAT_UNKNOWN;
    QSize from_;
    QSize to_;
    GstVideoColorMatrix matrix_ = GST_VIDEO_COLOR_MATRIX_UNKNOWN;
    GstVideoColorRange range_ = GST_VIDEO_COLOR_RANGE_UNKNOWN;
};

} // namespace velmo
