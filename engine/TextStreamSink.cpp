#include "engine/TextStreamSink.h"

#include "engine/GstSupport.h"

#include <gst/app/gstappsink.h>

namespace velmo {

namespace {

// A cue longer than this is not text meant to be read: what is kept of it
// still fills the picture.
constexpr gsize kMaxCueBytes = 4096;

int64_t StreamMs(const GstSegment *segment, GstClockTime time)
{
    if (segment && segment->format == GST_FORMAT_TIME) {
        const guint64 stream = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, time);
        if (GST_CLOCK_TIME_IS_VALID(stream))
            return int64_t(stream / GST_MSECOND);
    }
    return int64_t(time / GST_MSECOND);
}

} // namespace

TextStreamSink::TextStreamSink(std::function<void(const TextCue &)> deliver)
    : deliver_(std::move(deliver)), sink_(MakeElement("appsink", "text sink"))
{
    if (!sink_)
        return;
    // Picture subtitles are taken too, and dropped: a sink that refused them
    // would stop the whole medium when one of them is chosen.
    GstCapsPtr caps(gst_caps_from_string("text/x-raw, format=(string){ utf8, pango-markup }; subpicture/x-dvd; "
                                         "subpicture/x-pgs; subpicture/x-dvb"));
    // Not synchronised and not prerolled: the cues are timed by the captions'
    // own clock, and a sparse stream must never hold the pipeline back.
    g_object_set(sink_.get(), "caps", caps.get(), "sync", FALSE, "async", FALSE, "enable-last-sample", FALSE,
                 nullptr);
    // Nor counted among the pipeline's sinks: unsynchronised, it takes the
    // cues (and the gaps between them) well ahead of the picture, and a bin
    // answers a position query with its sinks' furthest, so the medium's
    // position would run ahead of the picture, even while paused. Its end
    // never holds back the medium's end either.
    GST_OBJECT_FLAG_UNSET(sink_.get(), GST_ELEMENT_FLAG_SINK);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = [](GstAppSink *sink, gpointer self) { return OnSample(GST_ELEMENT(sink), self); };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink_.get()), &callbacks, this, nullptr);
}

TextStreamSink::~TextStreamSink() = default;

std::optional<TextCue> CueOfBuffer(GstBuffer *buffer, const GstSegment *segment, const GstCaps *caps)
{
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return std::nullopt;
    if (!caps || gst_caps_get_size(caps) == 0 || !gst_structure_has_name(gst_caps_get_structure(caps, 0), "text/x-raw"))
        return std::nullopt;
    TextCue cue;
    cue.startMs = StreamMs(segment, GST_BUFFER_PTS(buffer));
    if (GST_BUFFER_DURATION_IS_VALID(buffer))
        cue.endMs = StreamMs(segment, GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer));
    cue.markup = g_strcmp0(gst_structure_get_string(gst_caps_get_structure(caps, 0), "format"), "pango-markup") == 0;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return std::nullopt;
    cue.text = QString::fromUtf8(reinterpret_cast<const char *>(map.data), qsizetype(std::min(map.size, kMaxCueBytes)));
    gst_buffer_unmap(buffer, &map);
    return cue;
}

// GStreamer thread! The pipeline stops before the sink goes (the graph sets
// it to NULL first), so `self` outlives every call.
GstFlowReturn TextStreamSink::OnSample(GstElement *sink, gpointer self)
{
    auto *me = static_cast<TextStreamSink *>(self);
    const uint64_t generation = me->generation_.load(std::memory_order_relaxed);
    GstSamplePtr sample(gst_app_sink_pull_sample(GST_APP_SINK(sink)));
    if (!sample)
        return GST_FLOW_EOS;
    std::optional<TextCue> cue =
        CueOfBuffer(gst_sample_get_buffer(sample.get()), gst_sample_get_segment(sample.get()), gst_sample_get_caps(sample.get()));
    if (!cue)
        return GST_FLOW_OK;
    QMetaObject::invokeMethod(
        me, [me, cue = std::move(*cue), generation]() mutable { me->Take(std::move(cue), generation); },
        Qt::QueuedConnection);
    return GST_FLOW_OK;
}

void TextStreamSink::Take(TextCue cue, uint64_t generation)
{
    Q_ASSERT(OnUiThread());
    if (generation == generation_.load(std::memory_order_relaxed))
        deliver_(cue);
}

} // namespace velmo
