#include "engine/GstFacets.h"

#include "engine/GstVideoOutput.h"
#include "engine/PlaybinSession.h"

#include <gst/audio/streamvolume.h>

#include <algorithm>

namespace velmo {

namespace {

constexpr int64_t kNsPerUnit = 100; ///< nanoseconds per 100-ns unit

HResult ReadNs(bool known, int64_t ns, int64_t divisor, int64_t *out)
{
    if (!known)
        return E_FAIL;
    *out = ns / divisor;
    return S_OK;
}

HResult ReadSeconds(bool known, int64_t ns, double *seconds)
{
    if (!known)
        return E_FAIL;
    *seconds = double(ns) / GST_SECOND;
    return S_OK;
}

} // namespace

HResult GstMediaControl::Run()
{
    return session_.SetDesiredState(State_Running);
}

HResult GstMediaControl::Pause()
{
    return session_.SetDesiredState(State_Paused);
}

HResult GstMediaControl::Stop()
{
    return session_.SetDesiredState(State_Stopped);
}

HResult GstMediaControl::GetState(int32_t, int32_t *state)
{
    if (!state)
        return E_POINTER;
    *state = session_.DesiredState();
    return S_OK;
}

HResult GstMediaPosition::get_Duration(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    int64_t ns = 0;
    const bool known = session_.DurationNs(&ns);
    return ReadSeconds(known, ns, seconds);
}

HResult GstMediaPosition::get_CurrentPosition(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    int64_t ns = 0;
    const bool known = session_.PositionNs(&ns);
    return ReadSeconds(known, ns, seconds);
}

HResult GstMediaPosition::put_CurrentPosition(double seconds)
{
    return session_.SeekTo(static_cast<int64_t>(seconds * GST_SECOND), SeekLanding::KeyframeFirst);
}

HResult GstMediaSeeking::CheckCapabilities(uint32_t *capabilities)
{
    if (!capabilities)
        return E_POINTER;
    const uint32_t have = session_.Seekable() ? (AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                                 AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos)
                                              : AM_SEEKING_CanGetCurrentPos;
    const uint32_t asked = *capabilities;
    *capabilities = asked & have;
    if (*capabilities == asked)
        return S_OK;
    return *capabilities ? S_FALSE : E_FAIL;
}

HResult GstMediaSeeking::GetCurrentPosition(int64_t *position)
{
    if (!position)
        return E_POINTER;
    int64_t ns = 0;
    const bool known = session_.PositionNs(&ns);
    return ReadNs(known, ns, kNsPerUnit, position);
}

HResult GstMediaSeeking::GetDuration(int64_t *duration)
{
    if (!duration)
        return E_POINTER;
    int64_t ns = 0;
    const bool known = session_.DurationNs(&ns);
    return ReadNs(known, ns, kNsPerUnit, duration);
}

HResult GstMediaSeeking::SetPositions(int64_t *current, uint32_t currentFlags, int64_t *, uint32_t)
{
    const uint32_t how = currentFlags & 0x3;
    if (how == AM_SEEKING_NoPositioning)
        return S_OK;
    if (!current)
        return E_POINTER;
    int64_t target = *current * kNsPerUnit;
    if (how == AM_SEEKING_RelativePositioning) {
        int64_t now = 0;
        if (!session_.PositionNs(&now))
            return E_FAIL;
        target += now;
    }
    return session_.SeekTo(target, (currentFlags & AM_SEEKING_SeekToKeyFrame) ? SeekLanding::KeyframeFirst
                                                                             : SeekLanding::Exact);
}

HResult GstMediaSeeking::SetRate(double rate)
{
    return session_.SetRate(rate);
}

HResult GstMediaSeeking::GetRate(double *rate)
{
    if (!rate)
        return E_POINTER;
    *rate = session_.Rate();
    return S_OK;
}

HResult GstBasicAudio::put_Volume(int32_t volume)
{
    if (volume < kVolumeSilent || volume > kVolumeFull)
        return E_INVALIDARG;
    const double linear = volume <= kVolumeSilent
                              ? 0.0
                              : gst_stream_volume_convert_volume(GST_STREAM_VOLUME_FORMAT_DB,
                                                                 GST_STREAM_VOLUME_FORMAT_LINEAR, volume / 100.0);
    session_.SetVolume(linear);
    volumeLevel_ = volume;
    return S_OK;
}

HResult GstBasicAudio::get_Volume(int32_t *volume)
{
    if (!volume)
        return E_POINTER;
    *volume = volumeLevel_;
    return S_OK;
}

HResult GstVideoFacets::GetVideoSize(int32_t *width, int32_t *height)
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

HResult GstVideoFacets::put_Owner(QObject *owner)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetOwner(owner);
    return S_OK;
}

HResult GstVideoFacets::put_MessageDrain(QObject *)
{
    return output_ ? S_OK : E_NOINTERFACE;
}

HResult GstVideoFacets::put_WindowStyle(int32_t)
{
    return output_ ? S_OK : E_NOINTERFACE;
}

HResult GstVideoFacets::put_Visible(bool visible)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetVisible(visible);
    return S_OK;
}

HResult GstVideoFacets::SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!output_)
        return E_NOINTERFACE;
    output_->SetArea(QRect(x, y, width, height));
    return S_OK;
}

} // namespace velmo
