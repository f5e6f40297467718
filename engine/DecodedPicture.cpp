#include "engine/DecodedPicture.h"

#include "engine/PictureLayout.h"

#include <gst/video/video.h>

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcPicture, "velmo.engine.picture")

namespace {

struct MappedFrame {
    GstSamplePtr sample;
    GstVideoFrame frame;
};

void UnmapFrame(void *info)
{
    auto *mapped = static_cast<MappedFrame *>(info);
    gst_video_frame_unmap(&mapped->frame);
    delete mapped;
}

} // namespace

QImage ImageFromSample(GstSamplePtr sample)
{
    GstVideoInfo info;
    GstCaps *caps = gst_sample_get_caps(sample.get());
    GstBuffer *buffer = gst_sample_get_buffer(sample.get());
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return {};
    auto *mapped = new MappedFrame{std::move(sample), {}};
    if (!gst_video_frame_map(&mapped->frame, &info, buffer, GST_MAP_READ)) {
        delete mapped;
        return {};
    }
    auto *data = static_cast<uchar *>(GST_VIDEO_FRAME_PLANE_DATA(&mapped->frame, 0));
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&mapped->frame, 0);
    // BGRx in memory is Qt's RGB32 on little-endian machines.
    return QImage(data, GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info), stride, QImage::Format_RGB32,
                  &UnmapFrame, mapped);
}

bool SampleFrameTime(GstSample *sample, int64_t *streamNs, int64_t *durationNs)
{
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    const GstSegment *segment = gst_sample_get_segment(sample);
    if (!buffer || !segment || !GST_BUFFER_PTS_IS_VALID(buffer))
        return false;
    // An accurate seek's first frame starts before the segment: its own time still counts.
    guint64 time = 0;
    if (gst_segment_to_stream_time_full(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer), &time) <= 0)
        return false;
    *streamNs = int64_t(time);
    *durationNs = 0;
    GstVideoInfo info;
    // The stream's rate first: the first frame after an accurate seek is cut
    // to the seek's target, its duration with it.
    if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) && info.fps_n > 0 && info.fps_d > 0)
        *durationNs = int64_t(gst_util_uint64_scale_int(GST_SECOND, info.fps_d, info.fps_n));
    else if (GST_BUFFER_DURATION_IS_VALID(buffer))
        *durationNs = int64_t(GST_BUFFER_DURATION(buffer));
    return true;
}

QImage SampleAtDisplaySize(GstSample *sample)
{
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return {};
    const QSize display = DisplaySize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                                      GST_VIDEO_INFO_PAR_N(&info), GST_VIDEO_INFO_PAR_D(&info));
    GstCapsPtr caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT,
                                        display.width(), "height", G_TYPE_INT, display.height(),
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
    GError *raw = nullptr;
    GstSamplePtr converted(gst_video_convert_sample(sample, caps.get(), 5 * GST_SECOND, &raw));
    const GErrorPtr error(raw);
    if (!converted) {
        qCWarning(lcPicture, "the picture could not be converted at its own size: %s", error ? error->message : "?");
        return {};
    }
    // A copy: the image outlives the conversion's buffer.
    return ImageFromSample(std::move(converted)).copy();
}

} // namespace velmo
