#include "engine/DecoderThreads.h"

#include "engine/GstHandles.h"

#include <gst/video/gstvideodecoder.h>

#include <cstdint>

namespace velmo {

namespace {

// The largest picture rate left to one core: 1080p (coded as 1088 rows) at 30.
constexpr int64_t kOneCorePixelsPerSecond = int64_t(1920) * 1088 * 30;

// Codecs that take several times H.264's work per pixel.
bool HeavyCodec(std::string_view mediaType)
{
    return mediaType == "video/x-h265" || mediaType == "video/x-vp9" || mediaType == "video/x-av1";
}

// The decoder's sink pad: the stream format reaches the probe before the
// decoder, which opens its codec (and reads thread-type) on it.
GstPadProbeReturn OnDecoderEvent(GstPad *pad, GstPadProbeInfo *info, gpointer)
{
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps *caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure *format = caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    if (!format)
        return GST_PAD_PROBE_OK;
    gint width = 0, height = 0, rateNum = 0, rateDen = 0;
    gst_structure_get_int(format, "width", &width);
    gst_structure_get_int(format, "height", &height);
    gst_structure_get_fraction(format, "framerate", &rateNum, &rateDen);
    const bool frames = WantsFrameThreads(gst_structure_get_name(format), width, height, rateNum, rateDen);
    GstElementPtr decoder(gst_pad_get_parent_element(pad));
    if (decoder)
        gst_util_set_object_arg(G_OBJECT(decoder.get()), "thread-type", frames ? "auto" : "slice");
    return GST_PAD_PROBE_OK;
}

} // namespace

bool WantsFrameThreads(std::string_view mediaType, int width, int height, int rateNum, int rateDen)
{
    if (HeavyCodec(mediaType))
        return true;
    if (width <= 0 || height <= 0)
        return true; // nothing to judge by: libav's own choice
    const double rate = rateNum > 0 && rateDen > 0 ? double(rateNum) / rateDen : 30.0;
    return double(width) * height * rate > double(kOneCorePixelsPerSecond);
}

void TuneDecoderThreads(GstElement *element)
{
    if (!GST_IS_VIDEO_DECODER(element))
        return;
    GParamSpec *property = g_object_class_find_property(G_OBJECT_GET_CLASS(element), "thread-type");
    if (!property || !G_IS_PARAM_SPEC_FLAGS(property))
        return;
    GstPadPtr sink(gst_element_get_static_pad(element, "sink"));
    if (sink)
        gst_pad_add_probe(sink.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnDecoderEvent, nullptr, nullptr);
}

} // namespace velmo
