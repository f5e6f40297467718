#include "engine/FrameScaler.h"

#include "engine/PictureTurn.h"

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <mutex>
#include <vector>

namespace velmo {

namespace {

/// Rows start on 64-byte boundaries so the SIMD writers take their fast paths.
constexpr int kAlign = 64;
/// Enough for the frame on screen, the one waiting to be shown and the one
/// being converted; more are freed when they come back.
constexpr size_t kKeep = 3;

/// `bytes` on a kAlign boundary; null when out of memory.
void *AllocAligned(size_t bytes)
{
    return std::aligned_alloc(kAlign, (bytes + kAlign - 1) / kAlign * kAlign);
}

struct FormatPair {
    GstVideoFormat gst;
    AVPixelFormat av;
};

// Formats decoders commonly hand out; anything else goes through the
// pipeline's own converter first.
constexpr FormatPair kFormats[] = {
    {GST_VIDEO_FORMAT_I420, AV_PIX_FMT_YUV420P},       {GST_VIDEO_FORMAT_YV12, AV_PIX_FMT_YUV420P},
    {GST_VIDEO_FORMAT_NV12, AV_PIX_FMT_NV12},          {GST_VIDEO_FORMAT_NV21, AV_PIX_FMT_NV21},
    {GST_VIDEO_FORMAT_Y42B, AV_PIX_FMT_YUV422P},       {GST_VIDEO_FORMAT_Y444, AV_PIX_FMT_YUV444P},
    {GST_VIDEO_FORMAT_Y41B, AV_PIX_FMT_YUV411P},       {GST_VIDEO_FORMAT_YUY2, AV_PIX_FMT_YUYV422},
    {GST_VIDEO_FORMAT_UYVY, AV_PIX_FMT_UYVY422},       {GST_VIDEO_FORMAT_I420_10LE, AV_PIX_FMT_YUV420P10LE},
    {GST_VIDEO_FORMAT_P010_10LE, AV_PIX_FMT_P010LE},   {GST_VIDEO_FORMAT_BGRx, AV_PIX_FMT_BGR0},
    {GST_VIDEO_FORMAT_BGRA, AV_PIX_FMT_BGRA},          {GST_VIDEO_FORMAT_RGBx, AV_PIX_FMT_RGB0},
    {GST_VIDEO_FORMAT_RGBA, AV_PIX_FMT_RGBA},          {GST_VIDEO_FORMAT_RGB, AV_PIX_FMT_RGB24},
};

AVPixelFormat AvFormat(GstVideoFormat format)
{
    for (const FormatPair &pair : kFormats)
        if (pair.gst == format)
            return pair.av;
    return AV_PIX_FMT_NONE;
}

int SwsMatrix(GstVideoColorMatrix matrix)
{
    switch (matrix) {
    case GST_VIDEO_COLOR_MATRIX_BT709:
        return SWS_CS_ITU709;
    case GST_VIDEO_COLOR_MATRIX_FCC:
        return SWS_CS_FCC;
    case GST_VIDEO_COLOR_MATRIX_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case GST_VIDEO_COLOR_MATRIX_BT2020:
        return SWS_CS_BT2020;
    default:
        return SWS_CS_ITU601;
    }
}

struct MappedVideoFrame {
    GstVideoFrame frame{};
    bool mapped = false;
    MappedVideoFrame(const GstVideoInfo &info, GstBuffer *buffer)
    {
        GstVideoInfo copy = info;
        mapped = gst_video_frame_map(&frame, &copy, buffer, GST_MAP_READ);
    }
    ~MappedVideoFrame()
    {
        if (mapped)
            gst_video_frame_unmap(&frame);
    }
    MappedVideoFrame(const MappedVideoFrame &) = delete;
    MappedVideoFrame &operator=(const MappedVideoFrame &) = delete;
};

} // namespace

/// Image buffers of one size, shared by the scaler and the images it handed out.
struct FrameBuffers {
    std::mutex mutex;
    size_t bytes = 0; ///< the size of the buffers kept
    std::vector<std::unique_ptr<PixelBlock>> free;
};

namespace {

/// Hands `block` out; it comes back to `pool` when its last holder (an
/// image, a frame on its way to the screen) lets go, if the pool still wants it.
std::shared_ptr<PixelBlock> Lend(std::unique_ptr<PixelBlock> block, std::shared_ptr<FrameBuffers> pool)
{
    return std::shared_ptr<PixelBlock>(block.release(), [pool = std::move(pool)](PixelBlock *returned) {
        std::unique_ptr<PixelBlock> owned(returned);
        std::lock_guard<std::mutex> lock(pool->mutex);
        if (owned->Bytes() == pool->bytes && pool->free.size() < kKeep)
            pool->free.push_back(std::move(owned));
    });
}

/// The cleanup of an image's pixels: its share of the block.
void ReleasePixels(void *info)
{
    delete static_cast<std::shared_ptr<PixelBlock> *>(info);
}

} // namespace

void FrameScaler::SwsFree::operator()(SwsContext *context) const
{
    sws_freeContext(context);
}

FrameScaler::FrameScaler() : buffers_(std::make_shared<FrameBuffers>()) {}

FrameScaler::~FrameScaler() = default;

bool FrameScaler::Handles(GstVideoFormat format)
{
    return AvFormat(format) != AV_PIX_FMT_NONE;
}

GstCapsPtr FrameScaler::NativeCaps()
{
    GValueHolder list(GST_TYPE_LIST);
    for (const FormatPair &pair : kFormats) {
        GValue name = G_VALUE_INIT;
        g_value_init(&name, G_TYPE_STRING);
        g_value_set_static_string(&name, gst_video_format_to_string(pair.gst));
        // The list takes the value over: nothing is left to unset.
        gst_value_list_append_and_take_value(list.get(), &name);
    }
    GstCaps *caps = gst_caps_new_empty_simple("video/x-raw");
    gst_caps_set_value(caps, "format", list.get());
    return GstCapsPtr(caps);
}

void FrameScaler::BytesFree::operator()(uint8_t *bytes) const
{
    std::free(bytes);
}

bool FrameScaler::Prepare(const GstVideoInfo &info, const QSize &size)
{
    const GstVideoFormat format = GST_VIDEO_INFO_FORMAT(&info);
    const QSize from(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    const GstVideoColorMatrix matrix = info.colorimetry.matrix;
    const GstVideoColorRange range = info.colorimetry.range;
    if (convert_ && format == format_ && from == from_ && size == to_ && matrix == matrix_ && range == range_)
        return true;
    convert_.reset();
    scale_.reset();
    planar_.reset();
    format_ = GST_VIDEO_FORMAT_UNKNOWN;

    const bool yuv = GST_VIDEO_INFO_IS_YUV(&info);
    const int fullRange = range == GST_VIDEO_COLOR_RANGE_0_255 ? 1 : 0;
    const int *coefficients = sws_getCoefficients(SwsMatrix(matrix));
    AVPixelFormat convertFrom = AvFormat(format);
    QSize convertSize = from;
    // Scaling straight to BGRx takes the library's slow packed writer; scaling
    // the planes first and converting them unscaled takes its SIMD paths and
    // costs about half.
    if (yuv && (from != size || convertFrom != AV_PIX_FMT_YUV420P)) {
        scale_.reset(sws_getContext(from.width(), from.height(), convertFrom, size.width(), size.height(),
                                    AV_PIX_FMT_YUV420P, SWS_AREA, nullptr, nullptr, nullptr));
        if (!scale_)
            return false;
        // Keep the frame's range and matrix; the conversion applies them.
        sws_setColorspaceDetails(scale_.get(), coefficients, fullRange, coefficients, fullRange, 0, 1 << 16, 1 << 16);
        const int lumaStride = (size.width() + kAlign - 1) / kAlign * kAlign;
        const int chromaStride = ((size.width() + 1) / 2 + kAlign - 1) / kAlign * kAlign;
        const size_t lumaBytes = size_t(lumaStride) * size_t(size.height());
        const size_t chromaBytes = size_t(chromaStride) * size_t((size.height() + 1) / 2);
        planar_.reset(static_cast<uint8_t *>(AllocAligned(lumaBytes + 2 * chromaBytes)));
        if (!planar_)
            return false;
        planes_[0] = planar_.get();
        planes_[1] = planes_[0] + lumaBytes;
        planes_[2] = planes_[1] + chromaBytes;
        planeStrides_[0] = lumaStride;
        planeStrides_[1] = planeStrides_[2] = chromaStride;
        convertFrom = AV_PIX_FMT_YUV420P;
        convertSize = size;
    }
    convert_.reset(sws_getContext(convertSize.width(), convertSize.height(), convertFrom, size.width(), size.height(),
                                  AV_PIX_FMT_BGR0, SWS_AREA, nullptr, nullptr, nullptr));
    if (!convert_)
        return false;
    if (yuv) {
        // Full-range RGB out, whatever range and matrix the decoder's YUV uses.
        sws_setColorspaceDetails(convert_.get(), coefficients, fullRange, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                                 1 << 16, 1 << 16);
    }
    format_ = format;
    from_ = from;
    to_ = size;
    matrix_ = matrix;
    range_ = range;
    return true;
}

std::shared_ptr<PixelBlock> FrameScaler::TakeBlock(size_t bytes)
{
    std::unique_ptr<PixelBlock> reused;
    std::vector<std::unique_ptr<PixelBlock>> stale; // let go of outside the lock
    {
        std::lock_guard<std::mutex> lock(buffers_->mutex);
        if (buffers_->bytes != bytes) {
            stale.swap(buffers_->free);
            buffers_->bytes = bytes;
        }
        if (!buffers_->free.empty()) {
            reused = std::move(buffers_->free.back());
            buffers_->free.pop_back();
        }
    }
    if (!reused)
        reused = PixelBlock::Allocate(bytes);
    if (!reused)
        return nullptr;
    return Lend(std::move(reused), buffers_);
}

bool FrameScaler::PrepareUnturned(const QSize &size)
{
    if (unturned_ && size == unturnedSize_)
        return true;
    unturnedStride_ = (size.width() * 4 + kAlign - 1) / kAlign * kAlign;
    unturned_.reset(static_cast<uint8_t *>(AllocAligned(size_t(unturnedStride_) * size_t(size.height()))));
    unturnedSize_ = unturned_ ? size : QSize();
    return unturned_ != nullptr;
}

// The video output's streaming thread (any one thread at a time: the scaler
// touches nothing of Qt's but QImage).
QImage FrameScaler::Convert(const GstVideoInfo &info, GstBuffer *buffer, const QSize &size,
                            std::shared_ptr<PixelBlock> *block, Orientation turn)
{
    if (!buffer || size.isEmpty() || !Handles(GST_VIDEO_INFO_FORMAT(&info)))
        return {};
    // Scaled to the size before the turn; turned last, at the size shown,
    // where it touches the fewest pixels.
    const QSize scaled = turn.Turned(size);
    MappedVideoFrame mapped(info, buffer);
    if (!mapped.mapped || !Prepare(info, scaled) || (!turn.Upright() && !PrepareUnturned(scaled)))
        return {};

    const GstVideoFrame &frame = mapped.frame;
    const uint8_t *planes[4] = {};
    int strides[4] = {};
    const bool planarYuv = GST_VIDEO_INFO_IS_YUV(&info) && GST_VIDEO_INFO_N_PLANES(&info) == 3;
    for (guint i = 0; i < GST_VIDEO_FRAME_N_PLANES(&frame) && i < 4; ++i) {
        // Components, not planes, for planar YUV: YV12 keeps V before U.
        planes[i] = static_cast<const uint8_t *>(planarYuv ? GST_VIDEO_FRAME_COMP_DATA(&frame, i)
                                                           : GST_VIDEO_FRAME_PLANE_DATA(&frame, i));
        strides[i] = planarYuv ? GST_VIDEO_FRAME_COMP_STRIDE(&frame, i) : GST_VIDEO_FRAME_PLANE_STRIDE(&frame, i);
    }
    int rows = from_.height();
    if (scale_) {
        sws_scale(scale_.get(), planes, strides, 0, rows, planes_, planeStrides_);
        for (int i = 0; i < 4; ++i) {
            planes[i] = planes_[i];
            strides[i] = planeStrides_[i];
        }
        rows = scaled.height();
    }

    const int stride = (size.width() * 4 + kAlign - 1) / kAlign * kAlign;
    const size_t bytes = size_t(stride) * size_t(size.height());
    std::shared_ptr<PixelBlock> pixels = TakeBlock(bytes);
    if (!pixels)
        return {};

    uchar *data = pixels->Data();
    uint8_t *out[4] = {turn.Upright() ? data : unturned_.get(), nullptr, nullptr, nullptr};
    const int outStrides[4] = {turn.Upright() ? stride : unturnedStride_, 0, 0, 0};
    sws_scale(convert_.get(), planes, strides, 0, rows, out, outStrides);
    if (!turn.Upright())
        TurnPixels(unturned_.get(), unturnedStride_, scaled, data, stride, turn);
    if (block)
        *block = pixels;
    // BGRx in memory is Qt's RGB32 on little-endian machines.
    return QImage(data, size.width(), size.height(), stride, QImage::Format_RGB32, &ReleasePixels,
                  new std::shared_ptr<PixelBlock>(std::move(pixels)));
}

} // namespace velmo
