#pragma once

// The facets through which the player drives an open medium. One object (the
// filter graph) implements all of them; callers obtain each facet with
// QueryFacet<T>(graph), which yields null when the graph lacks it. Every
// operation returns an HResult (negative: failure). The GStreamer graph and the
// fake graph for tests implement the same facets.

#include "engine/MediaResult.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace velmo {

/// Run, pause, stop and the state.
class MediaControl {
public:
    virtual ~MediaControl() = default;
    /// Starts or resumes playback.
    virtual HResult Run() = 0;
    /// Pauses; the picture stays.
    virtual HResult Pause() = 0;
    /// Stops; the position is kept, the next Run plays on from it.
    virtual HResult Stop() = 0;
    /// State_Stopped, State_Paused or State_Running: the state last asked for.
    virtual HResult GetState(int32_t timeoutMs, int32_t *state) = 0;
};

/// Duration and position in seconds.
class MediaPosition {
public:
    virtual ~MediaPosition() = default;
    /// Length of the medium in seconds; fails when unknown.
    virtual HResult get_Duration(double *seconds) = 0;
    /// Current position in seconds.
    virtual HResult get_CurrentPosition(double *seconds) = 0;
    /// Accurate seek to `seconds` (clamped to the medium).
    virtual HResult put_CurrentPosition(double seconds) = 0;
};

/// Positions in 100-ns units, repositioning and rate.
class MediaSeeking {
public:
    virtual ~MediaSeeking() = default;
    /// Which of the AM_SEEKING_Can* bits in *capabilities the graph supports;
    /// S_OK when all, S_FALSE when some, E_FAIL when none.
    virtual HResult CheckCapabilities(uint32_t *capabilities) = 0;
    /// Current position, 100-ns units.
    virtual HResult GetCurrentPosition(int64_t *position) = 0;
    /// Duration, 100-ns units.
    virtual HResult GetDuration(int64_t *duration) = 0;
    /// Repositions (AM_SEEKING_* flags); `stop` may be null with NoPositioning.
    virtual HResult SetPositions(int64_t *current, uint32_t currentFlags, int64_t *stop, uint32_t stopFlags) = 0;
    /// Playback rate (0.5, 1.0, 2.0 keep the pitch).
    virtual HResult SetRate(double rate) = 0;
    /// The rate in force.
    virtual HResult GetRate(double *rate) = 0;
};

/// Loudness.
class BasicAudio {
public:
    virtual ~BasicAudio() = default;
    /// Hundredths of a decibel, kVolumeSilent (-10000, silence) to 0 (full).
    virtual HResult put_Volume(int32_t volume) = 0;
    /// The volume last set.
    virtual HResult get_Volume(int32_t *volume) = 0;
};

/// The native picture size.
class BasicVideo {
public:
    virtual ~BasicVideo() = default;
    /// Display size of the video stream; fails, leaving the outputs alone, when
    /// the medium has no video.
    virtual HResult GetVideoSize(int32_t *width, int32_t *height) = 0;
};

/// Window style bits accepted by VideoWindow::put_WindowStyle.
inline constexpr int32_t WS_CHILD = 0x40000000;
inline constexpr int32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr int32_t WS_CLIPCHILDREN = 0x02000000;

/// Where the picture goes: a widget that implements VideoFrameSink receives the
/// frames, scaled to the rectangle last given.
class VideoWindow {
public:
    virtual ~VideoWindow() = default;
    /// The widget that shows the picture (a VideoFrameSink); null detaches.
    virtual HResult put_Owner(QWidget *owner) = 0;
    /// The widget that receives input over the picture.
    virtual HResult put_MessageDrain(QWidget *drain) = 0;
    /// Style bits of the picture (kept; the picture is always a child).
    virtual HResult put_WindowStyle(int32_t style) = 0;
    /// Shows or hides the picture.
    virtual HResult put_Visible(bool visible) = 0;
    /// The owner's rectangle the picture fills.
    virtual HResult SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
};

/// One parameter of a queued event: a number, or for captions the text.
struct EventParam {
    intptr_t value = 0;
    QString text;
};

/// The event queue. Each queued event posts one QEvent of type
/// QEvent::User + message (see MediaEventType) to the notify window.
class MediaEventEx {
public:
    virtual ~MediaEventEx() = default;
    /// Sets (or with null, withdraws) the window that is told of queued events.
    virtual HResult SetNotifyWindow(QObject *window, int32_t message, intptr_t param) = 0;
    /// Takes the oldest event; fails (E_ABORT) when the queue is empty and the
    /// time-out is 0.
    virtual HResult GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs) = 0;
    /// Releases what GetEvent handed out.
    virtual HResult FreeEventParams(int32_t code, EventParam *param1, EventParam *param2) = 0;
};

/// The aspect-ratio mode of the video output's input.
class MixerPinConfig {
public:
    virtual ~MixerPinConfig() = default;
    /// AM_ARMODE_LETTER_BOX keeps the aspect ratio; AM_ARMODE_STRETCHED fills.
    virtual HResult SetAspectRatioMode(int32_t mode) = 0;
    /// The mode in force.
    virtual HResult GetAspectRatioMode(int32_t *mode) = 0;
};

/// A pin of a filter.
class MediaPin {
public:
    virtual ~MediaPin() = default;
    /// The pin's name.
    virtual std::string Name() const = 0;
};

/// A filter that the engine adds to the graph itself (the video output).
class BaseFilter {
public:
    virtual ~BaseFilter() = default;
    /// The pin called `name`, or null.
    virtual std::shared_ptr<MediaPin> FindPin(const std::string &name) = 0;
};

/// The graph: builds itself for a medium and lists its filters.
class GraphBuilder {
public:
    virtual ~GraphBuilder() = default;
    /// Adds a filter under `name` (the video output goes in as "Overlay Mixer").
    virtual HResult AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name) = 0;
    /// Builds the graph for a local path or an address with a scheme and waits
    /// until it is ready to play. On a graph that holds media already, renders a
    /// SAMI file whose captions become EC_OLE_EVENT events.
    virtual HResult RenderFile(const std::string &pathOrAddress) = 0;
    /// Starts building the graph for a medium without waiting for it (the
    /// streaming threads work meanwhile); a RenderFile of the same medium
    /// then waits for it instead of starting over. E_NOTIMPL where a graph
    /// cannot begin early.
    virtual HResult BeginRender(const std::string &pathOrAddress)
    {
        (void)pathOrAddress;
        return E_NOTIMPL;
    }
    /// The names of the graph's filters as its user knows them (sources,
    /// demuxers, decoders, outputs; no plumbing), in enumeration order.
    virtual HResult EnumFilterNames(std::vector<std::string> *names) = 0;
    /// Shows the modal property frame of the first filter called `name`, owned
    /// by `owner`. False when no such filter exists.
    virtual bool ShowPropertyFrame(const std::string &name, QWidget *owner) = 0;
};

/// Obtains facet T of `object`: a counted reference sharing the object's
/// lifetime, or null when the object does not implement T.
template <class T, class U>
std::shared_ptr<T> QueryFacet(const std::shared_ptr<U> &object)
{
    return std::dynamic_pointer_cast<T>(object);
}

} // namespace velmo
