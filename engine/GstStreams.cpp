#include "engine/GstStreams.h"

#include "engine/PlaybinSession.h"

#include <QLoggingCategory>

#include <cstring>

namespace velmo {

Q_LOGGING_CATEGORY(lcStreams, "velmo.engine.streams")

namespace {

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
    std::string out(value);
    g_free(value);
    return out;
}

StreamInfo InfoOf(GstElement *playbin, const char *kind, gint index)
{
    StreamInfo info;
    GstTagList *tags = nullptr;
    g_signal_emit_by_name(playbin, (std::string("get-") + kind + "-tags").c_str(), index, &tags);
    info.language = TagString(tags, GST_TAG_LANGUAGE_CODE);
    info.title = TagString(tags, GST_TAG_TITLE);
    const std::string codec = TagString(tags, std::strcmp(kind, "audio") == 0 ? GST_TAG_AUDIO_CODEC : GST_TAG_SUBTITLE_CODEC);
    GstPad *pad = nullptr;
    g_signal_emit_by_name(playbin, (std::string("get-") + kind + "-pad").c_str(), index, &pad);
    GstPadPtr held(pad);
    GstCapsPtr caps;
    if (pad) {
        if (GstStream *stream = gst_pad_get_stream(pad)) {
            info.isDefault = (gst_stream_get_stream_flags(stream) & GST_STREAM_FLAG_SELECT) != 0;
            caps.reset(gst_stream_get_caps(stream));
            gst_object_unref(stream);
        }
        if (GstCapsPtr current{gst_pad_get_current_caps(pad)}) {
            gint channels = 0;
            if (gst_caps_get_size(current.get()) > 0
                && gst_structure_get_int(gst_caps_get_structure(current.get(), 0), "channels", &channels))
                info.channels = channels;
            if (!caps)
                caps = std::move(current);
        }
    }
    info.format = StreamFormatName(caps.get(), codec.c_str());
    if (tags)
        gst_tag_list_unref(tags);
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
    : session_(session), captions_(captions), sink_([this](const TextCue &cue) { captions_.AddCue(cue); })
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
    for (gint i = 0; i < count; ++i)
        streams.push_back(InfoOf(session_.Pipeline(), kind, i));
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
    if (choice != current) {
        sink_.Forget();
        captions_.ForgetCues();
        g_object_set(session_.Pipeline(), "current-text", gint(choice), nullptr);
        // The new stream's cues from here on lie behind what the demuxer has
        // read: a seek where the stream stands sends them again.
        int64_t ns = 0;
        if (session_.PositionNs(&ns))
            session_.SeekTo(ns);
        qCInfo(lcStreams, "text stream %d shown", choice);
    }
    captions_.Show(choice);
    return S_OK;
}

} // namespace velmo
