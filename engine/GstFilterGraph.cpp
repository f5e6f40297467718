#include "engine/GstFilterGraph.h"

#include "engine/DecoderThreads.h"
#include "engine/FilterPropertyFrame.h"
#include "engine/GstFlowFilters.h"
#include "engine/GstSupport.h"
#include "engine/MediaUri.h"
#include "engine/MediumWait.h"

#include <gst/audio/streamvolume.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>

namespace velmo {

Q_LOGGING_CATEGORY(lcGst, "velmo.engine.gst")

namespace {

// playbin's flags: video, audio, and no converters of its own for the picture
// (the video output converts and scales once). No text streams: captions are
// ours. No software volume either: playbin's own volume element outlives its
// graph (GStreamer 1.22 leaks one per graph), so the volume is ours, in the
// audio filter.
constexpr guint kPlayFlags = 0x1 | 0x2 | 0x40;

// A local file that nothing has read for this long, with no stream shown, is
// given up on; slow but working files (an index being rebuilt) keep reading.
constexpr int kLocalStallMs = 3000;

// The audio filter: the tempo filter that keeps the pitch at other rates,
// then `volume` (either may be missing).
GstElementPtr MakeAudioFilter(GstElement *volume)
{
    GstElementPtr tempo = MakeElement("scaletempo");
    if (!tempo)
        qCWarning(lcGst, "scaletempo is missing: rates will change the pitch");
    if (!tempo || !volume)
        return tempo ? std::move(tempo) : volume ? GstElementPtr(GST_ELEMENT(gst_object_ref(volume))) : nullptr;
    GstElementPtr bin(gst_bin_new("audio filter"));
    gst_object_ref_sink(bin.get());
    // Both are held already (not floating): the bin takes a reference of its own.
    gst_bin_add_many(GST_BIN(bin.get()), tempo.get(), volume, nullptr);
    gst_element_link(tempo.get(), volume);
    GstPadPtr in(gst_element_get_static_pad(tempo.get(), "sink"));
    GstPadPtr out(gst_element_get_static_pad(volume, "src"));
    gst_element_add_pad(bin.get(), gst_ghost_pad_new("sink", in.get()));
    gst_element_add_pad(bin.get(), gst_ghost_pad_new("src", out.get()));
    return bin;
}

} // namespace

std::shared_ptr<GstFilterGraph> GstFilterGraph::Create(int openTimeoutMs, HResult *result)
{
    std::shared_ptr<GstFilterGraph> graph(new GstFilterGraph(openTimeoutMs));
    graph->pipeline_ = MakeElement("playbin", nullptr);
    if (!graph->pipeline_) {
        qCWarning(lcGst, "playbin is missing");
        if (result)
            *result = E_NOINTERFACE;
        return nullptr;
    }
    GstElementPtr audioSink = MakeAudioSink();
    g_object_set(graph->pipeline_.get(), "flags", kPlayFlags, nullptr);
    if (audioSink)
        g_object_set(graph->pipeline_.get(), "audio-sink", audioSink.get(), nullptr);
    graph->volume_ = MakeElement("volume", kVolumeName);
    if (GstElementPtr filter = MakeAudioFilter(graph->volume_.get()))
        g_object_set(graph->pipeline_.get(), "audio-filter", filter.get(), nullptr);

    GstFilterGraph *self = graph.get();
    g_signal_connect(graph->pipeline_.get(), "source-setup", G_CALLBACK(OnSourceSetup), self);
    g_signal_connect(graph->pipeline_.get(), "element-setup", G_CALLBACK(OnElementSetup), nullptr);
    graph->bridge_ = std::make_unique<GstBusBridge>([self](GstMessage *m) { self->OnBusMessage(m); });
    GstBusPtr bus(gst_element_get_bus(graph->pipeline_.get()));
    graph->bridge_->Attach(bus.get());
    if (result)
        *result = S_OK;
    return graph;
}

GstFilterGraph::~GstFilterGraph()
{
    if (output_)
        output_->SetSizeListener({});
    tracks_.clear();
    if (wait_)
        wait_->Finish();
    // Stop every streaming thread before the bridge and the output go.
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    bridge_->Detach();
}

HResult GstFilterGraph::AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name)
{
    auto output = std::dynamic_pointer_cast<GstVideoOutput>(filter);
    if (!output)
        return E_INVALIDARG;
    if (output_)
        return VFW_E_WRONG_STATE;
    gst_object_set_name(GST_OBJECT(output->Bin()), name.c_str());
    g_object_set(pipeline_.get(), "video-sink", output->Bin(), nullptr);
    output->SetSizeListener([this](const QSize &size) { OnVideoSize(size); });
    output_ = std::move(output);
    return S_OK;
}

HResult GstFilterGraph::RenderFile(const std::string &pathOrAddress)
{
    return HasMedium() ? RenderSubtitles(pathOrAddress) : RenderMedia(pathOrAddress);
}

HResult GstFilterGraph::BeginRender(const std::string &pathOrAddress)
{
    if (load_ != Load::Empty)
        return VFW_E_WRONG_STATE;
    const std::string uri = MediaUri(pathOrAddress);
    if (uri.empty())
        return VFW_E_NOT_FOUND;
    StartMedia(uri);
    return S_OK;
}

void GstFilterGraph::StartMedia(const std::string &uri)
{
    g_object_set(pipeline_.get(), "uri", uri.c_str(), nullptr);
    desiredState_ = State_Paused;
    load_ = Load::Prerolling;
    openError_ = S_OK;
    startedUri_ = uri;
    local_ = uri.compare(0, 5, "file:") == 0;
    startReturn_ = gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
}

HResult GstFilterGraph::RenderMedia(const std::string &pathOrAddress)
{
    const std::string uri = MediaUri(pathOrAddress);
    // A medium begun with BeginRender is awaited where it stands.
    const bool begun = (load_ == Load::Prerolling || load_ == Load::Prerolled) && !uri.empty() && uri == startedUri_;
    if (!begun && load_ != Load::Empty)
        return VFW_E_WRONG_STATE;
    if (uri.empty())
        return VFW_E_NOT_FOUND;
    if (!begun)
        StartMedia(uri);
    GstStateChangeReturn ret = startReturn_;
    if (ret == GST_STATE_CHANGE_NO_PREROLL) {
        // A live source makes nothing while paused, and its answer says
        // nothing about whether it will: play it, and let its first data
        // reaching the outputs (or an error, or the wait's end) decide.
        live_ = true;
        ret = gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
    }
    if (ret == GST_STATE_CHANGE_FAILURE) {
        // The reason was posted on the bus already: take it now.
        QCoreApplication::sendPostedEvents(bridge_.get(), QEvent::MetaCall);
        openError_ = Failed(openError_) ? openError_ : VFW_E_NOT_FOUND;
    } else if (ret == GST_STATE_CHANGE_SUCCESS && !live_) {
        load_ = Load::Prerolled;
    } else {
        WaitForPreroll();
    }
    if (!Failed(openError_))
        openError_ = CheckStreams(uri);
    if (Failed(openError_)) {
        gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
        desiredState_ = State_Stopped;
        load_ = Load::Empty;
        live_ = false;
        return openError_;
    }
    load_ = Load::Loaded;
    return S_OK;
}

// The type finder takes some stray bytes for lyrics or subtitles, which
// preroll with nothing to play: such a medium is as unplayable as any other.
HResult GstFilterGraph::CheckStreams(const std::string &uri)
{
    if (StreamCount() > 0)
        return S_OK;
    qCWarning(lcGst, "%s holds neither sound nor picture", uri.c_str());
    return VFW_E_UNSUPPORTED_STREAM;
}

int GstFilterGraph::StreamCount() const
{
    gint videos = 0;
    gint audios = 0;
    g_object_get(pipeline_.get(), "n-video", &videos, "n-audio", &audios, nullptr);
    return videos + audios;
}

// GStreamer thread, or the one that starts the medium.
void GstFilterGraph::OnSourceSetup(GstElement *, GstElement *source, gpointer self)
{
    GstPadPtr pad(gst_element_get_static_pad(source, "src"));
    if (!pad)
        return;
    auto count = [](GstPad *, GstPadProbeInfo *, gpointer reads) {
        static_cast<std::atomic<uint64_t> *>(reads)->fetch_add(1, std::memory_order_relaxed);
        return GST_PAD_PROBE_OK;
    };
    gst_pad_add_probe(pad.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      count, &static_cast<GstFilterGraph *>(self)->sourceReads_, nullptr);
}

// GStreamer thread, or the one that starts the medium: every element playbin
// makes, its decoders included.
void GstFilterGraph::OnElementSetup(GstElement *, GstElement *element, gpointer)
{
    TuneDecoderThreads(element);
}

void GstFilterGraph::WaitForPreroll()
{
    if (load_ != Load::Prerolling || Failed(openError_))
        return;
    // Keep the graph alive whatever runs while we wait.
    std::shared_ptr<GstFilterGraph> keep = shared_from_this();
    MediumWait wait(openTimeoutMs_);
    // A local file is read as fast as the demuxer asks. One no longer read
    // before any stream showed will never play: its demuxer gave up, and the
    // error saying so is lost when the demuxer posts it while it is still
    // being set up (decodebin drops errors of elements it is trying out).
    if (local_)
        wait.WatchProgress([this] { return sourceReads_.load(std::memory_order_relaxed); },
                           [this] { return StreamCount() == 0; }, kLocalStallMs);
    wait_ = &wait;
    const MediumWait::End end = wait.Run();
    wait_ = nullptr;
    if (load_ != Load::Prerolling || Failed(openError_))
        return;
    switch (end) {
    case MediumWait::End::Stalled:
        qCWarning(lcGst, "%s is no longer read and shows no stream", startedUri_.c_str());
        openError_ = VFW_E_UNSUPPORTED_STREAM;
        break;
    case MediumWait::End::Abandoned:
        qCWarning(lcGst, "the wait for %s was given up", startedUri_.c_str());
        openError_ = E_ABORT;
        break;
    case MediumWait::End::Deadline:
    case MediumWait::End::Finished:
        qCWarning(lcGst, "%s delivered nothing within %d ms", startedUri_.c_str(), openTimeoutMs_);
        openError_ = VFW_E_TIMEOUT;
        break;
    }
}

HResult GstFilterGraph::RenderSubtitles(const std::string &path)
{
    SamiResult sami = ReadSamiFile(path);
    if (!sami.ok) {
        qCInfo(lcGst, "subtitle file %s refused: %s", path.c_str(), qUtf8Printable(sami.error));
        return VFW_E_UNSUPPORTED_STREAM;
    }
    CaptionTrack::Clock clock;
    clock.position = [this](int64_t *ms) {
        int64_t ns = 0;
        if (!PositionNs(&ns))
            return false;
        *ms = ns / 1'000'000;
        return true;
    };
    clock.rate = [this] { return rate_; };
    clock.running = [this] { return Playing(); };
    clock.deliver = [this](const QString &text) { events_.Queue(EC_OLE_EVENT, 0, text); };
    tracks_.push_back(std::make_unique<CaptionTrack>(std::move(sami.document.captions), std::move(clock)));
    // The captions never pass through the pipeline; a file source named after
    // the SAMI file stands for them among the filters, so the user sees where
    // they come from. It stays out of the pipeline and never runs.
    GCharPtr fileName(g_path_get_basename(path.c_str()));
    if (GstElementPtr source = MakeElement("filesrc", fileName.get())) {
        g_object_set(source.get(), "location", path.c_str(), nullptr);
        captionSources_.push_back(std::move(source));
    }
    int64_t ns = 0;
    PositionNs(&ns);
    tracks_.back()->Seek(ns / 1'000'000);
    return S_OK;
}

void GstFilterGraph::OnBusMessage(GstMessage *message)
{
    Q_ASSERT(OnUiThread());
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        OnError(message);
        break;
    case GST_MESSAGE_WARNING: {
        GError *error = nullptr;
        gchar *debug = nullptr;
        gst_message_parse_warning(message, &error, &debug);
        GErrorPtr e(error);
        GCharPtr d(debug);
        qCInfo(lcGst, "%s: %s", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), e ? e->message : "");
        break;
    }
    case GST_MESSAGE_EOS:
        if (load_ == Load::Loaded)
            events_.Queue(EC_COMPLETE, 0);
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (load_ == Load::Prerolling) {
            load_ = Load::Prerolled;
            if (wait_)
                wait_->Finish();
        }
        if (pendingSeekNs_) {
            pendingSeekNs_.reset();
            ResyncCaptions();
        }
        break;
    case GST_MESSAGE_STATE_CHANGED:
        OnStateChanged(message);
        break;
    case GST_MESSAGE_BUFFERING:
        OnBuffering(message);
        break;
    case GST_MESSAGE_CLOCK_LOST:
        if (desiredState_ == State_Running) {
            gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
            gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
        }
        break;
    default:
        break;
    }
}

void GstFilterGraph::OnError(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    GErrorPtr e(error);
    GCharPtr d(debug);
    qCWarning(lcGst, "error from %s: %s (%s)", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), e ? e->message : "",
              d ? d.get() : "");
    const HResult result = ResultOfGstError(e.get());
    switch (load_) {
    case Load::Prerolling:
    case Load::Prerolled:
        if (!Failed(openError_))
            openError_ = result;
        if (wait_)
            wait_->Finish();
        break;
    case Load::Loaded:
        StopOnError(result);
        break;
    case Load::Empty:
    case Load::Broken: // what follows the first error says nothing new
        break;
    }
}

// A dropped connection or a damaged stream ends playback as the end of the
// medium does, but stopped: the picture stays, the window is told, and Run
// starts the medium over (a reconnect for an address).
void GstFilterGraph::StopOnError(HResult error)
{
    load_ = Load::Broken;
    desiredState_ = State_Stopped;
    buffering_ = false;
    pendingSeekNs_.reset();
    gst_element_set_state(pipeline_.get(), GST_STATE_READY);
    ResyncCaptions();
    events_.Queue(EC_ERRORABORT, error);
}

void GstFilterGraph::OnStateChanged(GstMessage *message)
{
    if (GST_MESSAGE_SRC(message) != GST_OBJECT(pipeline_.get()))
        return;
    GstState oldState, newState, pending;
    gst_message_parse_state_changed(message, &oldState, &newState, &pending);
    const bool wasPlaying = Playing();
    reached_ = newState;
    if (Playing() != wasPlaying)
        ResyncCaptions();
}

// The size the open read may change later: a live stream, or a broadcast
// whose programme changes. The window fits itself again on the event.
void GstFilterGraph::OnVideoSize(const QSize &size)
{
    if (load_ != Load::Loaded)
        return;
    events_.Queue(EC_VIDEO_SIZE_CHANGED, intptr_t(size.width() & 0xFFFF) | (intptr_t(size.height() & 0xFFFF) << 16));
}

void GstFilterGraph::OnBuffering(GstMessage *message)
{
    if (live_ || load_ == Load::Broken)
        return;
    gint percent = 100;
    gst_message_parse_buffering(message, &percent);
    const bool buffering = percent < 100;
    if (buffering == buffering_)
        return;
    const bool wasPlaying = Playing();
    buffering_ = buffering;
    if (desiredState_ == State_Running)
        gst_element_set_state(pipeline_.get(), buffering ? GST_STATE_PAUSED : GST_STATE_PLAYING);
    if (Playing() != wasPlaying)
        ResyncCaptions();
}

GstStateChangeReturn GstFilterGraph::ApplyState()
{
    const GstState target = desiredState_ == State_Running && !buffering_ ? GST_STATE_PLAYING : GST_STATE_PAUSED;
    return gst_element_set_state(pipeline_.get(), target);
}

HResult GstFilterGraph::SetDesiredState(int32_t state)
{
    if (!HasMedium())
        return VFW_E_WRONG_STATE;
    desiredState_ = state;
    if (load_ == Load::Broken) {
        if (state == State_Stopped)
            return S_OK; // stopped already
        // Start over: the pipeline rebuilds its stream from the beginning.
        load_ = Load::Loaded;
        lastPositionNs_ = 0;
    }
    return ApplyState() == GST_STATE_CHANGE_FAILURE ? E_FAIL : S_OK;
}

HResult GstFilterGraph::Run()
{
    return SetDesiredState(State_Running);
}

HResult GstFilterGraph::Pause()
{
    return SetDesiredState(State_Paused);
}

// Stopped keeps the graph prerolled where it is, so positions and seeks keep
// working and the next Run plays on from the same place.
HResult GstFilterGraph::Stop()
{
    return SetDesiredState(State_Stopped);
}

HResult GstFilterGraph::GetState(int32_t, int32_t *state)
{
    if (!state)
        return E_POINTER;
    *state = desiredState_;
    return S_OK;
}

bool GstFilterGraph::PositionNs(int64_t *ns)
{
    if (pendingSeekNs_) {
        *ns = *pendingSeekNs_;
        return true;
    }
    if (!HasMedium())
        return false;
    gint64 pos = 0;
    if (load_ == Load::Loaded && gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &pos) && pos >= 0)
        lastPositionNs_ = pos;
    int64_t duration = 0;
    *ns = DurationNs(&duration) ? std::min(lastPositionNs_, duration) : lastPositionNs_;
    return true;
}

bool GstFilterGraph::DurationNs(int64_t *ns)
{
    if (durationNs_ < 0 && load_ == Load::Loaded) {
        gint64 d = -1;
        if (gst_element_query_duration(pipeline_.get(), GST_FORMAT_TIME, &d) && d >= 0)
            durationNs_ = d;
    }
    if (durationNs_ < 0)
        return false;
    *ns = durationNs_;
    return true;
}

HResult GstFilterGraph::SeekTo(int64_t positionNs, double rate)
{
    if (load_ != Load::Loaded)
        return VFW_E_WRONG_STATE;
    int64_t duration = 0;
    if (DurationNs(&duration))
        positionNs = std::min(positionNs, duration);
    positionNs = std::max<int64_t>(positionNs, 0);
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (!gst_element_seek(pipeline_.get(), rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, positionNs,
                          GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE)) {
        qCInfo(lcGst, "seek to %lld ns at rate %g refused", static_cast<long long>(positionNs), rate);
        return VFW_E_CANNOT_SEEK;
    }
    pendingSeekNs_ = positionNs;
    lastPositionNs_ = positionNs;
    return S_OK;
}

void GstFilterGraph::SeekCaptions()
{
    for (auto &track : tracks_)
        track->Seek(lastPositionNs_ / 1'000'000);
}

HResult GstFilterGraph::get_Duration(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    int64_t ns = 0;
    if (!DurationNs(&ns))
        return E_FAIL;
    *seconds = double(ns) / GST_SECOND;
    return S_OK;
}

HResult GstFilterGraph::get_CurrentPosition(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    int64_t ns = 0;
    if (!PositionNs(&ns))
        return E_FAIL;
    *seconds = double(ns) / GST_SECOND;
    return S_OK;
}

HResult GstFilterGraph::put_CurrentPosition(double seconds)
{
    const HResult hr = SeekTo(static_cast<int64_t>(seconds * GST_SECOND), rate_);
    if (Succeeded(hr))
        SeekCaptions();
    return hr;
}

HResult GstFilterGraph::CheckCapabilities(uint32_t *capabilities)
{
    if (!capabilities)
        return E_POINTER;
    GstQueryPtr query(gst_query_new_seeking(GST_FORMAT_TIME));
    gboolean seekable = FALSE;
    if (gst_element_query(pipeline_.get(), query.get()))
        gst_query_parse_seeking(query.get(), nullptr, &seekable, nullptr, nullptr);
    const uint32_t have = seekable ? (AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                      AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos)
                                   : AM_SEEKING_CanGetCurrentPos;
    const uint32_t asked = *capabilities;
    *capabilities = asked & have;
    if (*capabilities == asked)
        return S_OK;
    return *capabilities ? S_FALSE : E_FAIL;
}

HResult GstFilterGraph::GetCurrentPosition(int64_t *position)
{
    if (!position)
        return E_POINTER;
    int64_t ns = 0;
    if (!PositionNs(&ns))
        return E_FAIL;
    *position = ns / 100;
    return S_OK;
}

HResult GstFilterGraph::GetDuration(int64_t *duration)
{
    if (!duration)
        return E_POINTER;
    int64_t ns = 0;
    if (!DurationNs(&ns))
        return E_FAIL;
    *duration = ns / 100;
    return S_OK;
}

HResult GstFilterGraph::SetPositions(int64_t *current, uint32_t currentFlags, int64_t *, uint32_t)
{
    const uint32_t how = currentFlags & 0x3;
    if (how == AM_SEEKING_NoPositioning)
        return S_OK;
    if (!current)
        return E_POINTER;
    int64_t target = *current * 100;
    if (how == AM_SEEKING_RelativePositioning) {
        int64_t now = 0;
        if (!PositionNs(&now))
            return E_FAIL;
        target += now;
    }
    const HResult hr = SeekTo(target, rate_);
    if (Succeeded(hr))
        SeekCaptions();
    return hr;
}

HResult GstFilterGraph::SetRate(double rate)
{
    if (!(rate > 0))
        return E_INVALIDARG;
    int64_t now = 0;
    if (!PositionNs(&now))
        return E_FAIL;
    const HResult hr = SeekTo(now, rate);
    if (Failed(hr))
        return hr;
    rate_ = rate;
    ResyncCaptions();
    return S_OK;
}

HResult GstFilterGraph::GetRate(double *rate)
{
    if (!rate)
        return E_POINTER;
    *rate = rate_;
    return S_OK;
}

HResult GstFilterGraph::put_Volume(int32_t volume)
{
    if (volume < kVolumeSilent || volume > kVolumeFull)
        return E_INVALIDARG;
    const double linear = volume <= kVolumeSilent
                              ? 0.0
                              : gst_stream_volume_convert_volume(GST_STREAM_VOLUME_FORMAT_DB,
                                                                 GST_STREAM_VOLUME_FORMAT_LINEAR, volume / 100.0);
    if (volume_)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(volume_.get()), GST_STREAM_VOLUME_FORMAT_LINEAR, linear);
    volumeLevel_ = volume;
    return S_OK;
}

HResult GstFilterGraph::get_Volume(int32_t *volume)
{
    if (!volume)
        return E_POINTER;
    *volume = volumeLevel_;
    return S_OK;
}

HResult GstFilterGraph::GetVideoSize(int32_t *width, int32_t *height)
{
    if (!width || !height)
        return E_POINTER;
    QSize size;
    if (!output_ || !output_->NegotiatedSize(&size))
        return VFW_E_NOT_CONNECTED;
    *width = size.width();
    *height = size.height();
    return S_OK;
}

HResult GstFilterGraph::put_Owner(QWidget *owner)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetOwner(owner);
    return S_OK;
}

HResult GstFilterGraph::put_MessageDrain(QWidget *drain)
{
    // The picture is painted by the owner itself, so input over it reaches
    // the owner anyway; the drain is kept for completeness.
    drain_ = drain;
    return output_ ? S_OK : E_NOINTERFACE;
}

HResult GstFilterGraph::put_WindowStyle(int32_t style)
{
    windowStyle_ = style;
    return output_ ? S_OK : E_NOINTERFACE;
}

HResult GstFilterGraph::put_Visible(bool visible)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetVisible(visible);
    return S_OK;
}

HResult GstFilterGraph::SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetArea(QRect(x, y, width, height));
    return S_OK;
}

HResult GstFilterGraph::SetNotifyWindow(QObject *window, int32_t message, intptr_t param)
{
    return events_.SetNotifyWindow(window, message, param);
}

HResult GstFilterGraph::GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs)
{
    return events_.GetEvent(code, param1, param2, timeoutMs);
}

HResult GstFilterGraph::FreeEventParams(int32_t code, EventParam *param1, EventParam *param2)
{
    return events_.FreeEventParams(code, param1, param2);
}

void GstFilterGraph::ResyncCaptions()
{
    for (auto &track : tracks_)
        track->Resync();
}

std::vector<GstElementPtr> GstFilterGraph::Filters() const
{
    std::vector<GstElement *> units;
    if (output_)
        units.push_back(output_->Bin());
    std::vector<GstElementPtr> filters = FlowFilters(pipeline_.get(), units);
    for (const GstElementPtr &source : captionSources_)
        filters.emplace_back(GST_ELEMENT(gst_object_ref(source.get())));
    return filters;
}

GstElementPtr GstFilterGraph::FindFilter(const std::string &name) const
{
    for (GstElementPtr &filter : Filters()) {
        GCharPtr filterName(gst_object_get_name(GST_OBJECT(filter.get())));
        if (filterName && name == filterName.get())
            return std::move(filter);
    }
    return nullptr;
}

HResult GstFilterGraph::EnumFilterNames(std::vector<std::string> *names)
{
    if (!names)
        return E_POINTER;
    names->clear();
    for (const GstElementPtr &filter : Filters()) {
        GCharPtr name(gst_object_get_name(GST_OBJECT(filter.get())));
        names->emplace_back(name ? name.get() : "");
    }
    return S_OK;
}

bool GstFilterGraph::ShowPropertyFrame(const std::string &name, QWidget *owner)
{
    GstElementPtr filter = FindFilter(name);
    if (!filter)
        return false;
    FilterPropertyFrame frame(filter.get(), owner);
    frame.exec();
    return true;
}

} // namespace velmo
