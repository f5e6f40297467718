#include "engine/GroupDecoder.h"

#include "engine/GstSupport.h"

#include <gst/app/gstappsink.h>

#include <QLoggingCategory>

#include <mutex>

namespace velmo {

Q_LOGGING_CATEGORY(lcGroup, "velmo.engine.group")

/// What the appsink's thread fills and the UI thread takes once it has stopped.
struct GroupDecoderState {
    explicit GroupDecoderState(size_t byteCap) : kept(byteCap) {}
    std::mutex mutex;
    KeptPictures kept;
};

namespace {

// GStreamer thread! Only the pictures of the seek to the keyframe count: the
// first one the open prerolled has an open-ended segment.
GstFlowReturn Keep(GroupDecoderState *state, GstSamplePtr sample)
{
    const GstSegment *segment = sample ? gst_sample_get_segment(sample.get()) : nullptr;
    if (!segment || !GST_CLOCK_TIME_IS_VALID(segment->stop))
        return GST_FLOW_OK;
    std::lock_guard<std::mutex> lock(state->mutex);
    state->kept.Add(std::move(sample));
    return GST_FLOW_OK;
}

// GStreamer thread!
GstFlowReturn OnSample(GstAppSink *sink, gpointer data)
{
    return Keep(static_cast<std::shared_ptr<GroupDecoderState> *>(data)->get(),
                GstSamplePtr(gst_app_sink_pull_sample(sink)));
}

// GStreamer thread!
GstFlowReturn OnPreroll(GstAppSink *sink, gpointer data)
{
    return Keep(static_cast<std::shared_ptr<GroupDecoderState> *>(data)->get(),
                GstSamplePtr(gst_app_sink_pull_preroll(sink)));
}

void DropState(gpointer data)
{
    delete static_cast<std::shared_ptr<GroupDecoderState> *>(data);
}

// GStreamer thread! The sound streams are left undecoded.
gboolean OnAutoplugContinue(GstElement *, GstPad *, GstCaps *caps, gpointer)
{
    const GstStructure *s = gst_caps_get_size(caps) ? gst_caps_get_structure(caps, 0) : nullptr;
    return !s || !g_str_has_prefix(gst_structure_get_name(s), "audio/");
}

// GStreamer thread! The first stream of pictures goes to the chain; the rest stay unlinked.
void OnPadAdded(GstElement *, GstPad *pad, gpointer chainStart)
{
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps)
        caps.reset(gst_pad_query_caps(pad, nullptr));
    const GstStructure *s = caps && gst_caps_get_size(caps.get()) ? gst_caps_get_structure(caps.get(), 0) : nullptr;
    if (!s || !g_str_has_prefix(gst_structure_get_name(s), "video/x-raw"))
        return;
    GstPadPtr sink(gst_element_get_static_pad(static_cast<GstElement *>(chainStart), "sink"));
    if (!gst_pad_is_linked(sink.get()))
        gst_pad_link(pad, sink.get());
}

} // namespace

GroupDecoder::GroupDecoder(int64_t ns, Done done) : targetNs_(ns), done_(std::move(done))
{
    finish_.setSingleShot(true);
    finish_.setInterval(0);
    QObject::connect(&finish_, &QTimer::timeout, [this] { Finish(decoded_); });
}

std::unique_ptr<GroupDecoder> GroupDecoder::Start(const std::string &uri, const GstCaps *caps, int64_t ns,
                                                  size_t byteCap, Done done)
{
    std::unique_ptr<GroupDecoder> decoder(new GroupDecoder(ns, std::move(done)));
    GstElementPtr pipeline(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new("group-decoder"))));
    GstElementPtr source = MakeElement("uridecodebin");
    // The chain of the medium's own video output: formats it lacks are made alike.
    GstElementPtr scale = MakeElement("videoscale");
    GstElementPtr convert = MakeElement("videoconvert");
    GstElementPtr filter = MakeElement("capsfilter");
    GstElementPtr sink = MakeElement("appsink");
    if (!pipeline || !source || !scale || !convert || !filter || !sink || !caps)
        return nullptr;
    g_object_set(source.get(), "uri", uri.c_str(), nullptr);
    g_signal_connect(source.get(), "autoplug-continue", G_CALLBACK(&OnAutoplugContinue), nullptr);
    g_signal_connect(source.get(), "pad-added", G_CALLBACK(&OnPadAdded), scale.get());
    g_object_set(scale.get(), "add-borders", FALSE, nullptr);
    g_object_set(filter.get(), "caps", caps, nullptr);
    // As fast as it decodes, and every picture: none is late here.
    g_object_set(sink.get(), "sync", FALSE, "qos", FALSE, "enable-last-sample", FALSE, nullptr);
    decoder->state_ = std::make_shared<GroupDecoderState>(byteCap);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &OnSample;
    callbacks.new_preroll = &OnPreroll;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink.get()), &callbacks,
                               new std::shared_ptr<GroupDecoderState>(decoder->state_), &DropState);
    gst_bin_add_many(GST_BIN(pipeline.get()), source.get(), scale.get(), convert.get(), filter.get(), sink.get(),
                     nullptr);
    if (!gst_element_link_many(scale.get(), convert.get(), filter.get(), sink.get(), nullptr))
        return nullptr;

    GroupDecoder *self = decoder.get();
    decoder->bridge_ = std::make_unique<GstBusBridge>([self](GstMessage *m) { self->OnBusMessage(m); });
    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    decoder->bridge_->Attach(bus.get());
    decoder->pipeline_ = std::move(pipeline);
    if (gst_element_set_state(decoder->pipeline_.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return nullptr;
    return decoder;
}

GroupDecoder::~GroupDecoder()
{
    if (pipeline_)
        gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    if (bridge_)
        bridge_->Detach();
}

void GroupDecoder::OnBusMessage(GstMessage *message)
{
    if (finish_.isActive())
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE: {
        if (seeking_)
            return;
        // Prerolled: from the keyframe before the target, up to the picture shown there.
        seeking_ = true;
        const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE);
        if (!gst_element_seek(pipeline_.get(), 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, targetNs_,
                              GST_SEEK_TYPE_SET, targetNs_ + 1) ||
            gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
            qCInfo(lcGroup, "the pictures before %lld ns cannot be decoded apart", static_cast<long long>(targetNs_));
            finish_.start();
        }
        return;
    }
    case GST_MESSAGE_EOS:
        decoded_ = seeking_;
        finish_.start();
        return;
    case GST_MESSAGE_ERROR: {
        const GstMessageText text = ParseErrorOrWarning(message);
        qCInfo(lcGroup, "decoding the pictures apart failed: %s", text.Message());
        finish_.start();
        return;
    }
    default:
        return;
    }
}

void GroupDecoder::Finish(bool decoded)
{
    // Stopped first: the appsink's thread no longer touches the pictures.
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    KeptPictures kept(0);
    if (decoded) {
        std::lock_guard<std::mutex> lock(state_->mutex);
        kept = std::move(state_->kept);
    }
    // The one told may destroy this decoder: nothing is touched after telling.
    Done done = std::move(done_);
    done(std::move(kept));
}

} // namespace velmo
