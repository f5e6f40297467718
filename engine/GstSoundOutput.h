#pragma once

// The sound's delay and output on the GStreamer graph, and the system's sound
// outputs from GStreamer's device monitor.

#include "engine/GstHandles.h"
#include "engine/MediaFacets.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmo {

class GstBusBridge;
class PlaybinSession;

/// The delay is playbin's av-offset (positive holds the picture back, so
/// the sound's delay is its negation); the output is the device property of
/// the sound server's sink inside the audio sink, which moves a playing
/// stream at once.
class GstSoundOutput : public SoundOutput {
public:
    explicit GstSoundOutput(PlaybinSession &session) : session_(session) {}
    HResult SetSoundDelay(int64_t delayMs) override;
    HResult SetSoundDevice(const std::string &deviceId) override;

private:
    PlaybinSession &session_;
};

/// The outputs of class "Audio/Sink" that GStreamer's device monitor finds,
/// named by their sink's device property. Without a sound server nothing is
/// asked. UI thread only.
class GstSoundDevices : public SoundDeviceWatch {
public:
    GstSoundDevices();
    ~GstSoundDevices() override;
    std::vector<SoundDevice> Devices() override;
    void SetChangeListener(std::function<void()> changed) override { changed_ = std::move(changed); }

private:
    void OnBusMessage(GstMessage *message);

    std::unique_ptr<GstDeviceMonitor, GstObjectUnref> monitor_;
    std::unique_ptr<GstBusBridge> bridge_;
    std::function<void()> changed_;
    bool started_ = false;
};

} // namespace velmo
