#pragma once

// The facets of the GStreamer graph: thin adapters over its PlaybinSession and
// its video output that convert units and names only (seconds and 100-ns
// units to nanoseconds, hundredths of a dB to a linear volume, state names).

#include "engine/MediaFacets.h"

#include <functional>
#include <memory>

namespace velmo {

class GstVideoOutput;
class PlaybinSession;

class GstMediaControl : public MediaControl {
public:
    explicit GstMediaControl(PlaybinSession &session) : session_(session) {}
    HResult Run() override;
    HResult Pause() override;
    HResult Stop() override;
    HResult GetState(int32_t timeoutMs, int32_t *state) override;

private:
    PlaybinSession &session_;
};

class GstMediaPosition : public MediaPosition {
public:
    explicit GstMediaPosition(PlaybinSession &session) : session_(session) {}
    HResult get_Duration(double *seconds) override;
    HResult get_CurrentPosition(double *seconds) override;
    HResult put_CurrentPosition(double seconds) override;

private:
    PlaybinSession &session_;
};

class GstMediaSeeking : public MediaSeeking {
public:
    explicit GstMediaSeeking(PlaybinSession &session) : session_(session) {}
    HResult CheckCapabilities(uint32_t *capabilities) override;
    HResult GetCurrentPosition(int64_t *position) override;
    HResult GetDuration(int64_t *duration) override;
    HResult SetPositions(int64_t *current, uint32_t currentFlags, int64_t *stop, uint32_t stopFlags) override;
    HResult SetRate(double rate) override;
    HResult GetRate(double *rate) override;

private:
    PlaybinSession &session_;
};

/// BasicAudio over the volume element of the session.
class GstBasicAudio : public BasicAudio {
public:
    explicit GstBasicAudio(PlaybinSession &session) : session_(session) {}
    HResult put_Volume(int32_t volume) override;
    HResult get_Volume(int32_t *volume) override;

private:
    PlaybinSession &session_;
    int32_t volumeLevel_ = 0;
};

/// BasicVideo and VideoWindow over the video output added to the graph
/// (`output` is the graph's own slot: null until AddFilter).
class GstVideoFacets : public BasicVideo, public VideoWindow {
public:
    explicit GstVideoFacets(const std::shared_ptr<GstVideoOutput> &output) : output_(output) {}
    HResult GetVideoSize(int32_t *width, int32_t *height) override;
    HResult put_Owner(QObject *owner) override;
    HResult put_MessageDrain(QObject *drain) override;
    HResult put_WindowStyle(int32_t style) override;
    HResult put_Visible(bool visible) override;
    HResult SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height) override;

private:
    const std::shared_ptr<GstVideoOutput> &output_;
};

} // namespace velmo
