#include "engine/PlaybinSession.h"

#include "engine/EventQueue.h"
#include "engine/GstSupport.h"
#include "engine/PlaybinParts.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcGst, "velmo.engine.gst")

namespace {

// A stream from an address that has sent nothing for this long while it
// should play, and stands, has lost its connection.
constexpr int kStreamStallMs = 10000;
constexpr int kStallLookMs = 500;

int64_t NowMs()
{
    return g_get_monotonic_time() / 1000;
}

} // namespace

PlaybinSession::PlaybinSession(int openTimeoutMs, EventQueue &events)
    : openTimeoutMs_(openTimeoutMs), events_(events), openWatch_(openTimeoutMs), stall_(kStreamStallMs)
{
    endOpen_.setSingleShot(true);
    endOpen_.setInterval(0);
    QObject::connect(&endOpen_, &QTimer::timeout, [this] { EndOpen(); });
    stallTimer_.setInterval(kStallLookMs);
    QObject::connect(&stallTimer_, &QTimer::timeout, [this] { WatchStall(); });
}

std::unique_ptr<PlaybinSession> PlaybinSession::Create(int openTimeoutMs, EventQueue &events, HResult *result)
{
    std::unique_ptr<PlaybinSession> session(new PlaybinSession(openTimeoutMs, events));
    session->pipeline_ = MakePlaybin(&session->volume_);
    if (!session->pipeline_) {
        if (result)
            *result = E_NOINTERFACE;
        return nullptr;
    }
    GstElement *playbin = session->pipeline_.get();
    session->seeks_ = std::make_unique<SeekQueue>(playbin, [raw = session.get()] { raw->ClockChanged(); });
    CountSourceReads(playbin, &session->sourceReads_);
    PlaybinSession *self = session.get();
    session->bridge_ = std::make_unique<GstBusBridge>([self](GstMessage *m) { self->OnBusMessage(m); });
    GstBusPtr bus(gst_element_get_bus(playbin));
    session->bridge_->Attach(bus.get());
    if (result)
        *result = S_OK;
    return session;
}

// An open under way ends with the session: its timers go, and nobody is told.
PlaybinSession::~PlaybinSession()
{
    // Stop every streaming thread before the bridge goes.
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    bridge_->Detach();
}

void PlaybinSession::OnBusMessage(GstMessage *message)
{
    Q_ASSERT(OnUiThread());
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        OnError(message);
        break;
    case GST_MESSAGE_WARNING:
        qCInfo(lcGst, "%s: %s", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), ParseErrorOrWarning(message).Message());
        break;
    case GST_MESSAGE_EOS:
        qCInfo(lcGst, "%s played to its end", startedUri_.c_str());
        ended_ = true;
        if (load_ == Load::Loaded)
            events_.Queue(EC_COMPLETE, 0);
        break;
    case GST_MESSAGE_ASYNC_DONE:
        OnAsyncDone();
        break;
    case GST_MESSAGE_TAG:
    case GST_MESSAGE_TOC:
        listener_.described(message);
        break;
    case GST_MESSAGE_STEP_DONE:
        listener_.stepped();
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

// The first data arrived, or a flushing seek settled: a target that waited
// for it goes now, so a dragged timeline shows pictures as it goes and ends
// where it was let go.
void PlaybinSession::OnAsyncDone()
{
    if (load_ == Load::Prerolling) {
        load_ = Load::Prerolled;
        if (opened_)
            EndOpenSoon();
    }
    if (seeks_->Target() && seeks_->Completed())
        ClockChanged();
    ResumeAfterStall();
}

void PlaybinSession::OnError(GstMessage *message)
{
    const GstMessageText text = ParseErrorOrWarning(message);
    qCWarning(lcGst, "error from %s: %s (%s)", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), text.Message(),
              text.Debug());
    const HResult result = ResultOfGstError(text.error.get());
    switch (load_) {
    case Load::Prerolling:
    case Load::Prerolled:
        if (!Failed(openError_))
            openError_ = result;
        if (opened_)
            EndOpenSoon();
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
void PlaybinSession::StopOnError(HResult error)
{
    stallTimer_.stop();
    load_ = Load::Broken;
    desiredState_ = State_Stopped;
    buffering_ = false;
    seeks_->Clear();
    StreamMoves();
    gst_element_set_state(pipeline_.get(), GST_STATE_READY);
    ClockChanged();
    events_.Queue(EC_ERRORABORT, error);
}

void PlaybinSession::OnStateChanged(GstMessage *message)
{
    if (GST_MESSAGE_SRC(message) != GST_OBJECT(pipeline_.get()))
        return;
    GstState oldState, newState, pending;
    gst_message_parse_state_changed(message, &oldState, &newState, &pending);
    const bool wasPlaying = Playing();
    const bool stopped = reached_ == GST_STATE_PLAYING && newState == GST_STATE_PAUSED;
    reached_ = newState;
    if (Playing() != wasPlaying)
        ClockChanged();
    if (stopped && StandsStill() && moveWatcher_.stopped)
        moveWatcher_.stopped();
}

void PlaybinSession::OnBuffering(GstMessage *message)
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
        ClockChanged();
}

} // namespace velmo

namespace velmo {

// The source's count says whether data still comes; the position, whether
// what came before still plays. Paused, ended or broken, nothing is watched.
void PlaybinSession::WatchStall()
{
    const bool watched = load_ == Load::Loaded && desiredState_ == State_Running && !ended_ && !resumeAtNs_;
    const bool moving = watched && Moved();
    if (!stall_.Look(NowMs(), sourceReads_.load(std::memory_order_relaxed), watched, moving))
        return;
    qCWarning(lcGst, "%s sent nothing for %d ms: the connection is lost", startedUri_.c_str(), kStreamStallMs);
    int64_t at = 0;
    const bool resumable = Seekable() && PositionNs(&at);
    StopOnError(VFW_E_TIMEOUT);
    if (resumable) {
        lastPositionNs_ = at;
        resumeAtNs_ = at;
    }
}

bool PlaybinSession::Moved()
{
    gint64 pos = -1;
    if (!gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &pos))
        pos = -1;
    const bool moved = pos != watchedPositionNs_;
    watchedPositionNs_ = pos;
    return moved;
}

// A seekable address that stalled starts over paused, and goes on from where
// it stood once the new connection has prerolled.
void PlaybinSession::ResumeAfterStall()
{
    if (!resumeAtNs_ || load_ != Load::Loaded || desiredState_ == State_Stopped)
        return;
    const int64_t at = *resumeAtNs_;
    resumeAtNs_.reset();
    qCInfo(lcGst, "%s goes on at %lld ms", startedUri_.c_str(), static_cast<long long>(at / GST_MSECOND));
    SeekTo(at);
    ApplyState();
}

} // namespace velmo
