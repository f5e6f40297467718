// The session's transport: the state asked for, positions, seeks, rate,
// frame steps and loudness.

#include "engine/PlaybinSession.h"

#include "engine/GstSupport.h"

#include <gst/audio/streamvolume.h>

#include <algorithm>

namespace velmo {

GstStateChangeReturn PlaybinSession::ApplyState()
{
    const GstState target = desiredState_ == State_Running && !buffering_ ? GST_STATE_PLAYING : GST_STATE_PAUSED;
    return gst_element_set_state(pipeline_.get(), target);
}

// Stopped keeps the pipeline prerolled where it is, so positions and seeks
// keep working and the next Run plays on from the same place.
HResult PlaybinSession::SetDesiredState(int32_t state)
{
    Q_ASSERT(OnUiThread());
    if (!HasMedium())
        return VFW_E_WRONG_STATE;
    desiredState_ = state;
    if (load_ == Load::Broken) {
        if (state == State_Stopped)
            return S_OK; // stopped already
        // Start over: the pipeline rebuilds its stream from the beginning,
        // or, after a stall, paused until it can go on from where it stood.
        load_ = Load::Loaded;
        stepped_ = false;
        ended_ = false;
        if (!local_)
            stallTimer_.start();
        if (resumeAtNs_)
            return gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ? E_FAIL : S_OK;
        lastPositionNs_ = 0;
    }
    int64_t shown = 0;
    if (stepped_ && state == State_Running && PositionNs(&shown))
        Seek(shown, rate_); // the sound joins the picture where the steps left it
    if (state == State_Running)
        StreamMoves();
    return ApplyState() == GST_STATE_CHANGE_FAILURE ? E_FAIL : S_OK;
}

bool PlaybinSession::PositionNs(int64_t *ns)
{
    if (const std::optional<int64_t> target = seeks_->Target()) {
        *ns = *target;
        return true;
    }
    if (standingNs_) {
        *ns = *standingNs_;
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

bool PlaybinSession::DurationNs(int64_t *ns)
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

HResult PlaybinSession::SeekTo(int64_t ns, SeekLanding landing)
{
    const HResult hr = Seek(ns, rate_, landing);
    if (Succeeded(hr))
        listener_.jumped(lastPositionNs_);
    return hr;
}

HResult PlaybinSession::SetRate(double rate)
{
    if (!(rate > 0))
        return E_INVALIDARG;
    int64_t now = 0;
    if (!PositionNs(&now))
        return E_FAIL;
    const HResult hr = Seek(now, rate);
    if (Failed(hr))
        return hr;
    rate_ = rate;
    ClockChanged();
    return S_OK;
}

HResult PlaybinSession::Seek(int64_t ns, double rate, SeekLanding landing)
{
    if (load_ != Load::Loaded)
        return VFW_E_WRONG_STATE;
    int64_t duration = 0;
    if (DurationNs(&duration))
        ns = std::min(ns, duration);
    ns = std::max<int64_t>(ns, 0);
    if (!seeks_->Request(ns, rate, landing))
        return VFW_E_CANNOT_SEEK;
    lastPositionNs_ = ns;
    ended_ = false;
    stepped_ = false; // a flushing seek puts picture and sound together again
    StreamMoves();
    return S_OK;
}

HResult PlaybinSession::StepVideoFrame()
{
    Q_ASSERT(OnUiThread());
    if (load_ != Load::Loaded || desiredState_ == State_Running)
        return VFW_E_WRONG_STATE;
    // A step is taken by a paused sink: wait (briefly) for a pause just asked for.
    constexpr GstClockTime kPauseWait = 500 * GST_MSECOND;
    GstState now = GST_STATE_NULL;
    if (gst_element_get_state(pipeline_.get(), &now, nullptr, kPauseWait) == GST_STATE_CHANGE_FAILURE ||
        now != GST_STATE_PAUSED)
        return VFW_E_WRONG_STATE;
    // Steps go on from the picture shown, not from an exact landing still to come.
    if (seeks_->KeepKeyframeLanding())
        ClockChanged();
    if (!gst_element_send_event(pipeline_.get(), gst_event_new_step(GST_FORMAT_BUFFERS, 1, rate_, TRUE, FALSE)))
        return E_FAIL;
    stepped_ = true;
    StreamMoves();
    return S_OK;
}

bool PlaybinSession::StandsStill() const
{
    return load_ == Load::Loaded && desiredState_ != State_Running && reached_ == GST_STATE_PAUSED &&
           !seeks_->Target();
}

bool PlaybinSession::ComesToAStop() const
{
    return load_ == Load::Loaded && desiredState_ != State_Running && reached_ == GST_STATE_PLAYING &&
           !seeks_->Target();
}

HResult PlaybinSession::StandAt(int64_t ns)
{
    Q_ASSERT(OnUiThread());
    if (!StandsStill() && !ComesToAStop())
        return VFW_E_WRONG_STATE;
    standingNs_ = ns;
    lastPositionNs_ = ns;
    stepped_ = true;
    listener_.jumped(ns);
    return S_OK;
}

void PlaybinSession::StreamMoves()
{
    standingNs_.reset();
    if (moveWatcher_.moved)
        moveWatcher_.moved();
}

void PlaybinSession::SetVolume(double linear)
{
    if (volume_)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(volume_.get()), GST_STREAM_VOLUME_FORMAT_LINEAR, linear);
}

void PlaybinSession::ClockChanged()
{
    listener_.clockChanged();
}

} // namespace velmo
