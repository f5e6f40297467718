#include "engine/TextStreamTaps.h"

#include "engine/GstSupport.h"

#include <gst/gst.h>

namespace velmo {

TextStreamTaps::~TextStreamTaps()
{
    for (auto &[pad, id] : pads_)
        gst_pad_remove_probe(pad.get(), id);
}

void TextStreamTaps::Tap(GstElement *playbin)
{
    Q_ASSERT(OnUiThread());
    gint count = 0;
    g_object_get(playbin, "n-text", &count, nullptr);
    for (int index = int(pads_.size()); index < count; ++index) {
        GstPad *raw = nullptr;
        g_signal_emit_by_name(playbin, "get-text-pad", index, &raw);
        GstPadPtr pad(raw);
        if (!pad)
            break; // the indexes after it would name other streams
        const gulong id = gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, OnBuffer, new Probe{this, index},
                                            [](gpointer data) { delete static_cast<Probe *>(data); });
        pads_.emplace_back(std::move(pad), id);
    }
}

std::vector<TextCue> TextStreamTaps::Heard(int index) const
{
    const auto it = heard_.find(index);
    return it == heard_.end() ? std::vector<TextCue>() : std::vector<TextCue>(it->second.begin(), it->second.end());
}

// GStreamer thread! The probes go before the taps do, and the pipeline has
// stopped by then (the graph sets it to NULL first).
GstPadProbeReturn TextStreamTaps::OnBuffer(GstPad *pad, GstPadProbeInfo *info, gpointer data)
{
    const auto *probe = static_cast<const Probe *>(data);
    GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    const GstSegment *segment = nullptr;
    if (event)
        gst_event_parse_segment(event, &segment);
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    std::optional<TextCue> cue = CueOfBuffer(GST_PAD_PROBE_INFO_BUFFER(info), segment, caps.get());
    if (event)
        gst_event_unref(event);
    if (cue) {
        TextStreamTaps *taps = probe->taps;
        QMetaObject::invokeMethod(
            taps, [taps, index = probe->index, cue = std::move(*cue)]() mutable { taps->Take(index, std::move(cue)); },
            Qt::QueuedConnection);
    }
    return GST_PAD_PROBE_OK;
}

void TextStreamTaps::Take(int index, TextCue cue)
{
    std::deque<TextCue> &cues = heard_[index];
    cues.push_back(std::move(cue));
    if (cues.size() > kKeptCues)
        cues.pop_front();
}

} // namespace velmo
