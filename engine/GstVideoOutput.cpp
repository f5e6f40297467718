#include "engine/GstVideoOutput.h"

#include "engine/FrameScaler.h"
#include "engine/GstFrameSlot.h"
#include "engine/GstSupport.h"
#include "engine/PictureLayout.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QVariant>

#include <cstring>
#include <mutex>
#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcVideo, "velmo.engine.video")

namespace {

class GstMixerPin : public MediaPin, public MixerPinConfig {
public:
    explicit GstMixerPin(std::weak_ptr<GstVideoOutput> output) : output_(std::move(output)) {}
    std::string Name() const override { return "Input0"; }
    HResult SetAspectRatioMode(int32_t mode) override
    {
        if (mode != AM_ARMODE_STRETCHED && mode != AM_ARMODE_LETTER_BOX)
            return E_INVALIDARG;
        auto output = output_.lock();
        if (!output)
            return E_UNEXPECTED;
        output->SetAspectMode(mode);
        return S_OK;
    }
    HResult GetAspectRatioMode(int32_t *mode) override
    {
        auto output = output_.lock();
        if (!mode)
            return E_POINTER;
        if (!output)
            return E_UNEXPECTED;
        *mode = output->AspectMode();
        return S_OK;
    }

private:
    std::weak_ptr<GstVideoOutput> output_;
};

// GStreamer thread! The last frames may come while the program ends, after
// the application object has gone.
GstFlowReturn OfferSample(GstFrameSlot *slot, GstSamplePtr pulled)
{
    Q_ASSERT(!QCoreApplication::instance() || !OnUiThread());
    if (!pulled)
        return GST_FLOW_OK;
    // The appsink reuses its sample object when it can; holding it while the
    // UI paints would stop that, so keep a sample of our own that shares only
    // the buffer and the caps.
    GstSamplePtr sample(gst_sample_new(gst_sample_get_buffer(pulled.get()), gst_sample_get_caps(pulled.get()),
                                       gst_sample_get_segment(pulled.get()), nullptr));
    pulled.reset();
    {
        // A frame still waiting for the UI is late now that a newer one is
        // here: let go of it first, so that its memory takes the newer one.
        ConvertedPicture late;
        GstSamplePtr older(gst_sample_ref(sample.get()));
        std::lock_guard<std::mutex> lock(slot->mutex);
        late = std::exchange(slot->newest, {});
        std::swap(older, slot->decoded);
    }
    ConvertedPicture picture = ImageToShow(slot, std::move(sample));
    if (picture.image.isNull())
        return GST_FLOW_OK;
    // A frame replaced meanwhile goes back to the pool once the lock is let go.
    ConvertedPicture older;
    std::lock_guard<std::mutex> lock(slot->mutex);
    older = std::exchange(slot->newest, std::move(picture));
    if (!slot->posted && slot->receiver) {
        slot->posted = true;
        QMetaObject::invokeMethod(slot->receiver, &GstVideoOutput::TakeFrame, Qt::QueuedConnection);
    }
    return GST_FLOW_OK;
}

// GStreamer thread!
GstFlowReturn OnNewSample(GstAppSink *sink, gpointer data)
{
    return OfferSample(static_cast<std::shared_ptr<GstFrameSlot> *>(data)->get(),
                       GstSamplePtr(gst_app_sink_pull_sample(sink)));
}

// GStreamer thread!
GstFlowReturn OnNewPreroll(GstAppSink *sink, gpointer data)
{
    return OfferSample(static_cast<std::shared_ptr<GstFrameSlot> *>(data)->get(),
                       GstSamplePtr(gst_app_sink_pull_preroll(sink)));
}

// GStreamer thread! The stream's orientation comes with its tags, ahead of
// its pictures; a new stream starts upright.
GstPadProbeReturn OnSinkEvent(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    GstFrameSlot *slot = static_cast<std::shared_ptr<GstFrameSlot> *>(data)->get();
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    Orientation tagged;
    if (GST_EVENT_TYPE(event) == GST_EVENT_TAG) {
        GstTagList *tags = nullptr;
        gchar *raw = nullptr;
        gst_event_parse_tag(event, &tags);
        if (!gst_tag_list_get_string(tags, GST_TAG_IMAGE_ORIENTATION, &raw))
            return GST_PAD_PROBE_OK;
        const GCharPtr value(raw);
        tagged = Orientation::FromTag(value.get());
        if (tagged.Upright() && std::strcmp(value.get(), "rotate-0") != 0)
            qCInfo(lcVideo, "the picture orientation \"%s\" is unknown: the picture is shown as stored", value.get());
    } else if (GST_EVENT_TYPE(event) != GST_EVENT_STREAM_START) {
        return GST_PAD_PROBE_OK;
    }
    std::lock_guard<std::mutex> lock(slot->mutex);
    slot->tagged = tagged;
    return GST_PAD_PROBE_OK;
}

// Whichever thread drops the appsink's last reference.
void DropSlot(gpointer data)
{
    delete static_cast<std::shared_ptr<GstFrameSlot> *>(data);
}

/// The decoder's own formats, for the scaler on the streaming thread; failing
/// those, BGRx at `size` from the pipeline's scaler and converter.
GstCapsPtr OutputCaps(const QSize &size)
{
    GstCapsPtr native = FrameScaler::NativeCaps();
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "pixel-aspect-ratio",
                                        GST_TYPE_FRACTION, 1, 1, nullptr);
    if (size.isValid() && !size.isEmpty())
        gst_caps_set_simple(caps, "width", G_TYPE_INT, size.width(), "height", G_TYPE_INT, size.height(), nullptr);
    gst_caps_append(native.get(), caps);
    return native;
}

} // namespace

std::shared_ptr<GstVideoOutput> GstVideoOutput::Create(HResult *result)
{
    std::shared_ptr<GstVideoOutput> out(new GstVideoOutput());
    GstElementPtr bin = MakeBin();
    // Frames of the decoder's own formats pass both untouched and are converted
    // and scaled on the way out of the appsink; the rest are scaled first, then
    // converted, which costs about half of doing both in one pass.
    GstElementPtr scale = MakeElement("videoscale");
    GstElementPtr convert = MakeElement("videoconvert");
    GstElementPtr filter = MakeElement("capsfilter");
    GstElementPtr sink = MakeElement("appsink");
    if (!scale || !convert || !filter || !sink) {
        qCWarning(lcVideo, "the video output needs videoscale, videoconvert, capsfilter and appsink");
        if (result)
            *result = E_NOINTERFACE;
        return nullptr;
    }
    // Letter-boxing is ours: the scaler makes exactly the size asked for.
    g_object_set(scale.get(), "add-borders", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(bin.get()), scale.get(), convert.get(), filter.get(), sink.get(), nullptr);
    gst_element_link_many(scale.get(), convert.get(), filter.get(), sink.get(), nullptr);
    GstPadPtr target(gst_element_get_static_pad(scale.get(), "sink"));
    gst_element_add_pad(bin.get(), gst_ghost_pad_new("sink", target.get()));
    out->slot_ = std::make_shared<GstFrameSlot>();
    gst_pad_add_probe(target.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &OnSinkEvent,
                      new std::shared_ptr<GstFrameSlot>(out->slot_), &DropSlot);

    // The caps follow the screen's size while playing; buffers already on
    // their way at the old size must still pass, or the stream stops with
    // "not negotiated" in the middle of a resize.
    gst_util_set_object_arg(G_OBJECT(filter.get()), "caps-change-mode", "delayed");
    GstCapsPtr caps = OutputCaps({});
    g_object_set(filter.get(), "caps", caps.get(), nullptr);
    out->capsFilter_ = std::move(filter);

    out->slot_->receiver = out.get();
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &OnNewSample;
    callbacks.new_preroll = &OnNewPreroll;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink.get()), &callbacks, new std::shared_ptr<GstFrameSlot>(out->slot_),
                               &DropSlot);
    g_object_set(sink.get(), "max-buffers", 1u, "drop", TRUE, "enable-last-sample", FALSE, "qos", TRUE, nullptr);

    out->bin_ = std::move(bin);
    out->pin_ = std::make_shared<GstMixerPin>(out);
    if (result)
        *result = S_OK;
    return out;
}

GstVideoOutput::~GstVideoOutput()
{
    std::lock_guard<std::mutex> lock(slot_->mutex);
    slot_->receiver = nullptr;
    slot_->newest = {};
    slot_->decoded.reset();
}

std::shared_ptr<MediaPin> GstVideoOutput::FindPin(const std::string &name)
{
    return name == pin_->Name() ? pin_ : nullptr;
}

void GstVideoOutput::SetOwner(QObject *owner)
{
    Q_ASSERT(OnUiThread());
    if (owner_ && owner_ != owner)
        if (auto *sink = dynamic_cast<VideoFrameSink *>(owner_.data()))
            sink->ClearFrame();
    owner_ = owner;
    UpdateRatio();
    if (owner && !last_.image.isNull())
        Present(last_);
}

void GstVideoOutput::SetArea(const QRect &area)
{
    area_ = area;
    {
        std::lock_guard<std::mutex> lock(slot_->mutex);
        slot_->area = area;
    }
    UpdateRatio();
    UpdateCaps();
    if (!last_.image.isNull())
        Present(last_);
}

void GstVideoOutput::SetVisible(bool visible)
{
    visible_ = visible;
    if (!visible) {
        if (auto *sink = dynamic_cast<VideoFrameSink *>(owner_.data()))
            sink->ClearFrame();
    } else if (!last_.image.isNull()) {
        Present(last_);
    }
}

void GstVideoOutput::SetAspectMode(int32_t mode)
{
    aspectMode_ = mode;
    {
        std::lock_guard<std::mutex> lock(slot_->mutex);
        slot_->aspectMode = mode;
    }
    UpdateCaps();
    if (!last_.image.isNull())
        Present(last_);
}

bool GstVideoOutput::NegotiatedSize(QSize *displaySize) const
{
    GstPadPtr pad(gst_element_get_static_pad(bin_.get(), "sink"));
    if (!pad)
        return false;
    GstCapsPtr caps(gst_pad_get_current_caps(pad.get()));
    GstVideoInfo info;
    if (!caps || !gst_video_info_from_caps(&info, caps.get()))
        return false;
    *displaySize = Turn().Turned(DisplaySize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                                             GST_VIDEO_INFO_PAR_N(&info), GST_VIDEO_INFO_PAR_D(&info)));
    return displaySize->width() > 0 && displaySize->height() > 0;
}

QRect GstVideoOutput::PictureRect() const
{
    QSize display;
    if (!NegotiatedSize(&display))
        display = last_.image.size();
    return FitPicture(area_, display, aspectMode_);
}

void GstVideoOutput::UpdateCaps()
{
    // Frames the pipeline's fallback converter makes come at the size shown,
    // before the turn; until an area is known they keep their display size.
    const QSize wanted = area_.isEmpty() ? QSize() : Turn().Turned(PictureRect().size() * ratio_);
    if (wanted == capsSize_)
        return;
    capsSize_ = wanted;
    GstCapsPtr caps = OutputCaps(wanted);
    g_object_set(capsFilter_.get(), "caps", caps.get(), nullptr);
}

void GstVideoOutput::UpdateRatio()
{
    const auto *sink = dynamic_cast<VideoFrameSink *>(owner_.data());
    const qreal ratio = sink ? sink->PixelRatio() : 1;
    if (ratio == ratio_)
        return;
    ratio_ = ratio;
    std::lock_guard<std::mutex> lock(slot_->mutex);
    slot_->ratio = ratio;
}

void GstVideoOutput::TakeFrame()
{
    Q_ASSERT(OnUiThread());
    ConvertedPicture picture;
    {
        std::lock_guard<std::mutex> lock(slot_->mutex);
        picture = std::exchange(slot_->newest, {});
        slot_->posted = false;
    }
    if (picture.image.isNull())
        return;
    last_ = picture;
    // The display size is known once the first frame arrived: fit the scaler
    // to it (and to the owner's screen, which may have changed).
    UpdateRatio();
    UpdateCaps();
    Present(picture);
    ReportSize();
}

void GstVideoOutput::ReportSize()
{
    QSize display;
    if (sizeListener_ && NegotiatedSize(&display) && display != reportedSize_) {
        reportedSize_ = display;
        sizeListener_(display);
    }
}

Orientation GstVideoOutput::Turn() const
{
    std::lock_guard<std::mutex> lock(slot_->mutex);
    return slot_->Shown();
}

void GstVideoOutput::Present(const ConvertedPicture &picture)
{
    auto *sink = dynamic_cast<VideoFrameSink *>(owner_.data());
    if (!sink || !visible_)
        return;
    VideoFrame frame;
    frame.image = picture.image;
    frame.pixels = picture.pixels;
    frame.timeMs = picture.timeMs;
    // Until an area is given the picture fills the owner (a widget's "size").
    frame.area = area_.isEmpty() ? QRect(QPoint(0, 0), owner_->property("size").toSize()) : area_;
    QSize display;
    if (!NegotiatedSize(&display))
        display = picture.image.size();
    frame.picture = FitPicture(frame.area, display, aspectMode_);
    sink->ShowFrame(frame);
}

} // namespace velmo
