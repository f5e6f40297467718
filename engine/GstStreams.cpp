#include "engine/GstStreams.h"

#include "engine/PlaybinSession.h"

#include <QLoggingCategory>

#include <cstring>
#include <map>
#include <memory>

namespace velmo {

Q_LOGGING_CATEGORY(lcStreams, "velmo.engine.streams")

namespace {

struct TagListUnref {
    void operator()(GstTagList *p) const { gst_tag_list_unref(p); }
};
struct EventUnref {
    void operator()(GstEvent *p) const { gst_event_unref(p); }
};
using TagListPtr = std::unique_ptr<GstTagList, TagListUnref>;
using EventPtr = std::unique_ptr<GstEvent, EventUnref>;

struct FormatName {
    const char *mediaType;
    const char *name;
};

// Media types whose name alone tells the format.
constexpr FormatName kFormats[] = {
    {"audio/x-ac3", "AC-3"},         {"audio/ac3", "AC-3"},         {"audio/x-eac3", "E-AC-3"},
    {"audio/x-dts", "DTS"},          {"audio/x-true-hd", "TrueHD"}, {"audio/x-opus", "Opus"},
    {"audio/x-vorbis", "Vorbis"},    {"audio/x-flac", "FLAC"},      {"audio/x-raw", "PCM"},
    {"audio/x-alac", "ALAC"},        {"audio/x-wma", "WMA"},        {"audio/AMR", "AMR"},
    {"application/x-ass", "ASS"},    {"application/x-ssa", "SSA"},  {"application/x-subtitle-vtt", "WebVTT"},
    {"text/vtt", "WebVTT"},          {"application/x-sami", "SAMI"}, {"application/x-subtitle-sami", "SAMI"},
    {"application/x-subtitle", "SubRip"}, {"text/x-raw", "SubRip"}, {"subpicture/x-pgs", "PGS"},
    {"subpicture/x-dvd", "VobSub"},  {"subpicture/x-dvb", "DVB"},   {"application/x-subtitle-unknown", ""},
};

// Codec tags as demuxers write them, by a word they hold.
constexpr FormatName kCodecWords[] = {
    {"E-AC-3", "E-AC-3"}, {"AC-3", "AC-3"}, {"AC3", "AC-3"},  {"AAC", "AAC"},       {"DTS", "DTS"},
    {"Opus", "Opus"},     {"Vorbis", "Vorbis"}, {"FLAC", "FLAC"}, {"Layer 3", "MP3"}, {"MP3", "MP3"},
    {"PCM", "PCM"},       {"Timed Text", "Timed Text"}, {"SubRip", "SubRip"}, {"SAMI", "SAMI"},
};

std::string FromCaps(const GstCaps *caps)
{
    if (!caps || gst_caps_get_size(caps) == 0)
        return {};
    const GstStructure *s = gst_caps_get_structure(caps, 0);
    const char *type = gst_structure_get_name(s);
    if (std::strcmp(type, "audio/mpeg") == 0) {
        gint version = 1;
        gst_structure_get_int(s, "mpegversion", &version);
        return version == 1 ? "MP3" : "AAC";
    }
    for (const FormatName &f : kFormats)
        if (std::strcmp(type, f.mediaType) == 0)
            return f.name;
    return {};
}

std::string TagString(const GstTagList *tags, const char *tag)
{
    gchar *value = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, tag, &value))
        return {};
    return GCharPtr(value).get();
}

// The tags of `scope` among the pad's sticky events; null when none came.
TagListPtr StickyTags(GstPad *pad, GstTagScope scope)
{
    struct Look {
        GstTagScope scope;
        GstTagList *found = nullptr;
    } look{scope};
    gst_pad_sticky_events_foreach(
        pad,
        [](GstPad *, GstEvent **event, gpointer data) -> gboolean {
            auto *look = static_cast<Look *>(data);
            GstTagList *tags = nullptr;
            if (GST_EVENT_TYPE(*event) == GST_EVENT_TAG && (gst_event_parse_tag(*event, &tags), tags)
                && gst_tag_list_get_scope(tags) == look->scope) {
                look->found = gst_tag_list_ref(tags);
                return FALSE;
            }
            return TRUE;
        },
        &look);
    return TagListPtr(look.found);
}

// The stream's title: the merged tags hold the container's title too, which
// names no stream.
std::string StreamTitle(GstPad *pad, const GstTagList *merged)
{
    std::string title = TagString(merged, GST_TAG_TITLE);
    if (const TagListPtr global = StickyTags(pad, GST_TAG_SCOPE_GLOBAL); global && TagString(global.get(), GST_TAG_TITLE) == title)
        title.clear();
    return title;
}

std::string StreamId(GstPad *pad)
{
    const GCharPtr id(gst_pad_get_stream_id(pad));
    return id ? id.get() : "";
}

/// The caps each demuxer gives its streams, by stream id: the coded format,
/// before any parser or decoder turned it into text or samples.
std::map<std::string, GstCapsPtr> DemuxedCaps(GstElement *playbin)
{
    std::map<std::string, GstCapsPtr> caps;
    GstIteratorPtr elements(gst_bin_iterate_recurse(GST_BIN(playbin)));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(elements.get(), &item) == GST_ITERATOR_OK) {
        auto *element = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory *factory = gst_element_get_factory(element);
        const char *klass = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
        if (klass && std::strstr(klass, "Demux")) {
            GST_OBJECT_LOCK(element);
            for (GList *l = element->srcpads; l; l = l->next)
                if (GstCaps *current = gst_pad_get_current_caps(GST_PAD(l->data)))
                    caps[StreamId(GST_PAD(l->data))] = GstCapsPtr(current);
            GST_OBJECT_UNLOCK(element);
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return caps;
}

StreamInfo InfoOf(GstElement *playbin, const char *kind, gint index, const std::map<std::string, GstCapsPtr> &demuxed)
{
    StreamInfo info;
    GstPad *pad = nullptr;
    g_signal_emit_by_name(playbin, (std::string("get-") + kind + "-pad").c_str(), index, &pad);
    if (!pad)
        return info;
    GstPadPtr held(pad);
    GstTagList *merged = nullptr;
    g_signal_emit_by_name(playbin, (std::string("get-") + kind + "-tags").c_str(), index, &merged);
    const TagListPtr tags(merged);
    info.language = TagString(tags.get(), GST_TAG_LANGUAGE_CODE);
    info.title = StreamTitle(pad, tags.get());
    const std::string codec =
        TagString(tags.get(), std::strcmp(kind, "audio") == 0 ? GST_TAG_AUDIO_CODEC : GST_TAG_SUBTITLE_CODEC);
    if (const EventPtr start{gst_pad_get_sticky_event(pad, GST_EVENT_STREAM_START, 0)}) {
        GstStreamFlags flags = GST_STREAM_FLAG_NONE;
        gst_event_parse_stream_flags(start.get(), &flags);
        info.isDefault = (flags & GST_STREAM_FLAG_SELECT) != 0;
    }
    GstCapsPtr current(gst_pad_get_current_caps(pad));
    gint channels = 0;
    if (current && gst_caps_get_size(current.get()) > 0
        && gst_structure_get_int(gst_caps_get_structure(current.get(), 0), "channels", &channels))
        info.channels = channels;
    const auto coded = demuxed.find(StreamId(pad));
    info.format = StreamFormatName(coded != demuxed.end() ? coded->second.get() : current.get(), codec.c_str());
    return info;
}

} // namespace

std::string StreamFormatName(const GstCaps *caps, const char *codecTag)
{
    // A codec tag names the coding exactly; raw text caps say only that it is text.
    if (codecTag && *codecTag)
        for (const FormatName &w : kCodecWords)
            if (std::strstr(codecTag, w.mediaType))
                return w.name;
    std::string fromCaps = FromCaps(caps);
    if (!fromCaps.empty())
        return fromCaps;
    return codecTag ? std::string(codecTag).substr(0, 32) : std::string();
}

GstStreamChoice::GstStreamChoice(PlaybinSession &session, CaptionTracks &captions)
    : session_(session), captions_(captions), sink_([this](const TextCue &cue) { captions_.AddCue(cue); },
            [this](const AttachedFont &font) { captions_.AddFont(font); })
{
}

int32_t GstStreamChoice::CurrentAudioStream() const
{
    gint current = -1;
    g_object_get(session_.Pipeline(), "current-audio", &current, nullptr);
    return current;
}

HResult GstStreamChoice::SetCurrentAudioStream(int32_t index)
{
    gint count = 0;
    g_object_get(session_.Pipeline(), "n-audio", &count, nullptr);
    if (index < 0 || index >= count)
        return E_INVALIDARG;
    g_object_set(session_.Pipeline(), "current-audio", gint(index), nullptr);
    return S_OK;
}

std::vector<StreamInfo> GstStreamChoice::Streams(const char *kind) const
{
    gint count = 0;
    g_object_get(session_.Pipeline(), (std::string("n-") + kind).c_str(), &count, nullptr);
    std::vector<StreamInfo> streams;
    streams.reserve(size_t(std::max(count, 0)));
    const std::map<std::string, GstCapsPtr> demuxed = count > 0 ? DemuxedCaps(session_.Pipeline())
                                                                : std::map<std::string, GstCapsPtr>();
    for (gint i = 0; i < count; ++i)
        streams.push_back(InfoOf(session_.Pipeline(), kind, i, demuxed));
    return streams;
}

std::vector<StreamInfo> GstStreamChoice::AudioStreams() const
{
    return Streams("audio");
}

std::vector<StreamInfo> GstStreamChoice::TextStreams() const
{
    return Streams("text");
}

HResult GstStreamChoice::ShowSubtitle(int32_t choice)
{
    if (choice < 0) {
        if (choice != kSubtitleNone && choice != kSubtitleFiles)
            return E_INVALIDARG;
        captions_.Show(choice);
        return S_OK;
    }
    gint count = 0;
    gint current = -1;
    g_object_get(session_.Pipeline(), "n-text", &count, "current-text", &current, nullptr);
    if (choice >= count)
        return E_INVALIDARG;
    taps_.Tap(session_.Pipeline());
    // Told before the switch: the new stream's cues may reach the sink at once.
    GstPad *pad = nullptr;
    g_signal_emit_by_name(session_.Pipeline(), "get-text-pad", choice, &pad);
    const GstPadPtr selectorPad(pad);
    sink_.SetStreamCaps(GstCapsPtr(selectorPad ? gst_pad_get_current_caps(selectorPad.get()) : nullptr));
    if (choice != current) {
        sink_.Forget();
        captions_.ForgetCues();
        g_object_set(session_.Pipeline(), "current-text", gint(choice), nullptr);
        // The new stream's cues from here on lie behind what the demuxer has
        // read: a seek where the stream stands sends them again. The one
        // under way began before the picture the seek goes back to, and only
        // the taps heard it.
        int64_t ns = 0;
        if (session_.PositionNs(&ns))
            session_.SeekTo(ns);
        for (const TextCue &cue : taps_.Heard(choice))
            captions_.AddCue(cue);
        qCInfo(lcStreams, "text stream %d shown", choice);
    }
    captions_.Show(choice);
    return S_OK;
}

} // namespace velmo
