#include "engine/PlaybinParts.h"

#include "engine/DecoderThreads.h"
#include "engine/GstSupport.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcParts, "velmo.engine.gst")

namespace {

// playbin's flags: video, audio, text, and no converters of its own for the
// picture (the video output converts and scales once). The text streams go to
// a text sink of ours and are drawn as captions: never over the picture. No software volume either: playbin's own volume element outlives its
// graph (GStreamer 1.22 leaks one per graph), so the volume is ours, in the
// audio filter.
constexpr guint kPlayFlags = 0x1 | 0x2 | 0x4 | 0x40;

// The audio filter: the tempo filter that keeps the pitch at other rates,
// then `volume` (either may be missing).
GstElementPtr MakeAudioFilter(GstElement *volume)
{
    GstElementPtr tempo = MakeElement("scaletempo");
    if (!tempo)
        qCWarning(lcParts, "scaletempo is missing: rates will change the pitch");
    if (!tempo || !volume)
        return tempo ? std::move(tempo) : RefElement(volume);
    GstElementPtr bin = MakeBin("audio filter");
    // Both are held already (not floating): the bin takes a reference of its own.
    gst_bin_add_many(GST_BIN(bin.get()), tempo.get(), volume, nullptr);
    gst_element_link(tempo.get(), volume);
    GstPadPtr in(gst_element_get_static_pad(tempo.get(), "sink"));
    GstPadPtr out(gst_element_get_static_pad(volume, "src"));
    gst_element_add_pad(bin.get(), gst_ghost_pad_new("sink", in.get()));
    gst_element_add_pad(bin.get(), gst_ghost_pad_new("src", out.get()));
    return bin;
}

// The queue between the video decoder and the video output holds three
// decoded pictures (9 MiB at 1080p) so that the decoder can run ahead of the
// clock. Its pictures come from the decoder's pool, which grows to hold them.
// One picture ahead is enough where the decoder keeps up with the clock by
// several times, as it does for every stream it decodes with slice threads;
// a late picture is dropped by the output's quality control either way.
void ShortenPictureQueue(GstElement *element)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    if (!factory || !g_str_equal(GST_OBJECT_NAME(factory), "queue") || !g_str_equal(GST_OBJECT_NAME(element), "vqueue"))
        return;
    g_object_set(element, "max-size-buffers", 1u, nullptr);
}

// GStreamer thread, or the one that starts the medium: every element playbin
// makes, its decoders included.
void OnElementSetup(GstElement *, GstElement *element, gpointer)
{
    TuneDecoderThreads(element);
    ShortenPictureQueue(element);
}

// GStreamer thread, or the one that starts the medium.
void OnSourceSetup(GstElement *, GstElement *source, gpointer reads)
{
    GstPadPtr pad(gst_element_get_static_pad(source, "src"));
    if (!pad)
        return;
    auto count = [](GstPad *, GstPadProbeInfo *, gpointer counter) {
        static_cast<std::atomic<uint64_t> *>(counter)->fetch_add(1, std::memory_order_relaxed);
        return GST_PAD_PROBE_OK;
    };
    gst_pad_add_probe(pad.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      count, reads, nullptr);
}

} // namespace

void CountSourceReads(GstElement *playbin, std::atomic<uint64_t> *reads)
{
    g_signal_connect(playbin, "source-setup", G_CALLBACK(OnSourceSetup), reads);
}

GstElementPtr MakePlaybin(GstElementPtr *volume)
{
    GstElementPtr playbin = MakeElement("playbin", nullptr);
    if (!playbin) {
        qCWarning(lcParts, "playbin is missing");
        return nullptr;
    }
    g_object_set(playbin.get(), "flags", kPlayFlags, nullptr);
    if (GstElementPtr audioSink = MakeAudioSink())
        g_object_set(playbin.get(), "audio-sink", audioSink.get(), nullptr);
    *volume = MakeElement("volume", kPlayerVolumeName);
    if (GstElementPtr filter = MakeAudioFilter(volume->get()))
        g_object_set(playbin.get(), "audio-filter", filter.get(), nullptr);
    g_signal_connect(playbin.get(), "element-setup", G_CALLBACK(OnElementSetup), nullptr);
    return playbin;
}

} // namespace velmo
