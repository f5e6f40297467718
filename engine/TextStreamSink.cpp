#include "engine/TextStreamSink.h"

#include "engine/GstSupport.h"

#include <gst/app/gstappsink.h>
#include <gst/tag/tag.h>

#include <string>

namespace velmo {

namespace {

// A cue longer than this is not text meant to be read: what is kept of it
// still fills the picture.
constexpr gsize kMaxCueBytes = 4096;
// A typeset event longer than this is none an author wrote; it goes on as
// plain text only.
constexpr gsize kMaxTypesetBytes = 256 * 1024;
// Attachments larger than any font are not copied at all.
constexpr gsize kMaxFontBytes = 64 * 1024 * 1024;

QByteArray BytesOf(GstBuffer *buffer, gsize limit)
{
    QByteArray bytes;
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return bytes;
    if (map.size <= limit)
        bytes = QByteArray(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
    gst_buffer_unmap(buffer, &map);
    return bytes;
}

bool IsTypeset(const GstStructure *s)
{
    return gst_structure_has_name(s, "application/x-ass") || gst_structure_has_name(s, "application/x-ssa");
}

// An attachment that says it is a font, by its type or its name.
bool NamesFont(const char *name, const char *type)
{
    if (type && (g_str_has_prefix(type, "font/") || g_str_has_prefix(type, "application/x-font")
                 || g_str_has_prefix(type, "application/x-truetype") || g_str_has_prefix(type, "application/vnd.ms-opentype")))
        return true;
    if (!name)
        return false;
    GCharPtr lower(g_ascii_strdown(name, -1));
    return g_str_has_suffix(lower.get(), ".ttf") || g_str_has_suffix(lower.get(), ".otf")
           || g_str_has_suffix(lower.get(), ".ttc");
}

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

TextStreamSink::TextStreamSink(std::function<void(const TextCue &)> deliver,
                               std::function<void(const AttachedFont &)> font)
    : deliver_(std::move(deliver)), font_(std::move(font)), sink_(MakeElement("appsink", "text sink"))
{
    if (!sink_)
        return;
    // Picture subtitles are taken too, and dropped: a sink that refused them
    // would stop the whole medium when one of them is chosen.
    // ASS and SSA come as the container has them, styles and all, so that
    // they can be drawn typeset.
    GstCapsPtr caps(gst_caps_from_string("text/x-raw, format=(string){ utf8, pango-markup }; application/x-ass; "
                                         "application/x-ssa; subpicture/x-dvd; subpicture/x-pgs; subpicture/x-dvb"));
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
    // The medium's fonts come in its tags, on the way of the stream.
    if (GstPadPtr pad{gst_element_get_static_pad(sink_.get(), "sink")})
        gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &TextStreamSink::OnEvent, this, nullptr);
}

// GStreamer thread! Only the sink pad's streaming thread touches fontsSent_.
GstPadProbeReturn TextStreamSink::OnEvent(GstPad *, GstPadProbeInfo *info, gpointer self)
{
    auto *me = static_cast<TextStreamSink *>(self);
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!me->font_ || !event || GST_EVENT_TYPE(event) != GST_EVENT_TAG)
        return GST_PAD_PROBE_OK;
    GstTagList *tags = nullptr;
    gst_event_parse_tag(event, &tags);
    const guint count = tags ? gst_tag_list_get_tag_size(tags, GST_TAG_ATTACHMENT) : 0;
    for (guint i = 0; i < count; ++i) {
        GstSample *sample = nullptr;
        if (!gst_tag_list_get_sample_index(tags, GST_TAG_ATTACHMENT, i, &sample))
            continue;
        GstSamplePtr owned(sample);
        const GstStructure *about = gst_sample_get_info(sample);
        const char *name = about ? gst_structure_get_string(about, "filename") : nullptr;
        const char *type = about ? gst_structure_get_string(about, "mimetype") : nullptr;
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        const std::string key = std::string(name ? name : "") + '/' + std::to_string(buffer ? gst_buffer_get_size(buffer) : 0);
        if (!NamesFont(name, type) || !me->fontsSent_.insert(key).second)
            continue;
        AttachedFont font{QByteArray(name ? name : ""), BytesOf(buffer, kMaxFontBytes)};
        if (font.data.isEmpty())
            continue;
        QMetaObject::invokeMethod(
            me, [me, font = std::move(font)] { me->font_(font); }, Qt::QueuedConnection);
    }
    return GST_PAD_PROBE_OK;
}

TextStreamSink::~TextStreamSink() = default;

std::optional<TextCue> CueOfBuffer(GstBuffer *buffer, const GstSegment *segment, const GstCaps *caps)
{
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer) || !caps || gst_caps_get_size(caps) == 0)
        return std::nullopt;
    const GstStructure *format = gst_caps_get_structure(caps, 0);
    const bool typeset = IsTypeset(format);
    if (!typeset && !gst_structure_has_name(format, "text/x-raw"))
        return std::nullopt;
    TextCue cue;
    cue.startMs = StreamMs(segment, GST_BUFFER_PTS(buffer));
    if (GST_BUFFER_DURATION_IS_VALID(buffer))
        cue.endMs = StreamMs(segment, GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer));
    if (typeset) {
        cue.typeset = true;
        cue.chunk = BytesOf(buffer, kMaxTypesetBytes);
        if (cue.chunk.isEmpty()) // too long to typeset: its start is read plainly
            cue.text = QString::fromUtf8(BytesOf(buffer, G_MAXSIZE).left(qsizetype(kMaxCueBytes)));
        const GValue *header = gst_structure_get_value(format, "codec_data");
        if (header && G_VALUE_HOLDS(header, GST_TYPE_BUFFER))
            cue.header = BytesOf(gst_value_get_buffer(header), kMaxTypesetBytes);
        return cue;
    }
    cue.markup = g_strcmp0(gst_structure_get_string(format, "format"), "pango-markup") == 0;
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
    GstCapsPtr chosen;
    {
        std::lock_guard<std::mutex> lock(me->capsMutex_);
        if (me->streamCaps_)
            chosen.reset(gst_caps_ref(me->streamCaps_.get()));
    }
    std::optional<TextCue> cue = CueOfBuffer(gst_sample_get_buffer(sample.get()), gst_sample_get_segment(sample.get()),
                                             chosen ? chosen.get() : gst_sample_get_caps(sample.get()));
    if (!cue)
        return GST_FLOW_OK;
    QMetaObject::invokeMethod(
        me, [me, cue = std::move(*cue), generation]() mutable { me->Take(std::move(cue), generation); },
        Qt::QueuedConnection);
    return GST_FLOW_OK;
}

void TextStreamSink::SetStreamCaps(GstCapsPtr caps)
{
    std::lock_guard<std::mutex> lock(capsMutex_);
    streamCaps_ = std::move(caps);
}

void TextStreamSink::Take(TextCue cue, uint64_t generation)
{
    Q_ASSERT(OnUiThread());
    if (generation == generation_.load(std::memory_order_relaxed))
        deliver_(cue);
}

} // namespace velmo
