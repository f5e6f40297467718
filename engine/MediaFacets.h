#pragma once

// The facets through which the player drives an open medium. A graph hands
// them out with Facets(), each sharing the graph's lifetime and null when the
// graph lacks it. Every operation returns an HResult (negative: failure). The
// GStreamer graph and the fake graph for tests implement the same facets.
//
// Which platform name stands on which GStreamer object:
//   filter graph (GraphBuilder)   one playbin (PlaybinSession) and its video output
//   MediaControl                  the state asked of the playbin: Running is PLAYING,
//                                 Paused and Stopped are PAUSED (Stopped keeps the position)
//   MediaPosition, MediaSeeking   position and duration queries, flushing accurate seeks
//                                 (seconds and 100-ns units over nanoseconds)
//   BasicAudio                    the volume element in playbin's audio filter
//                                 (hundredths of a dB over a linear volume)
//   BasicVideo                    the caps negotiated at the video output's sink pad, turned
//                                 as the stream's image-orientation tag says
//   "Overlay Mixer", overlayMixer the video output: a bin ending in an appsink
//                                 whose frames go to a VideoFrameSink (VideoWindow)
//   pin "Input0", MixerPinConfig  the video output's letter-box or stretch mode
//   MediaEventEx                  an event queue fed from the bus on the UI thread
//   EC_COMPLETE                   end of stream (EOS)
//   EC_ERRORABORT                 an ERROR message in mid-play; VFW_E_TIMEOUT: an address stopped sending
//   EC_OLE_EVENT                  a caption of an added SAMI file, as text
//   EC_VIDEO_SIZE_CHANGED         a frame whose display size differs from the last
//   property frame (FilterPages)  an element's GObject properties and its pads' caps

#include "engine/MediaResult.h"
#include "subtitles/SamiReader.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace velmo {
class TypesetTrack; // drawn by the caption control's typeset tracks

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
    /// Display size of the video stream, turned as it is shown; fails, leaving
    /// the outputs alone, when the medium has no video.
    virtual HResult GetVideoSize(int32_t *width, int32_t *height) = 0;
};

/// Window style bits accepted by VideoWindow::put_WindowStyle.
inline constexpr int32_t WS_CHILD = 0x40000000;
inline constexpr int32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr int32_t WS_CLIPCHILDREN = 0x02000000;

/// Where the picture goes: an object that implements VideoFrameSink receives
/// the frames, scaled to the rectangle last given.
class VideoWindow {
public:
    virtual ~VideoWindow() = default;
    /// The object that shows the picture (a VideoFrameSink); null detaches.
    virtual HResult put_Owner(QObject *owner) = 0;
    /// The object that receives input over the picture (the owner paints the
    /// picture itself, so input reaches it anyway: nothing is kept).
    virtual HResult put_MessageDrain(QObject *drain) = 0;
    /// Style bits of the picture (the picture is always a child: nothing is kept).
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

/// One readable property of a filter, as its property frame shows it.
struct FilterProperty {
    QString name;
    QString blurb;      ///< what the property means
    QString value;      ///< the value now, as text
    bool editable = false; ///< writable and of a simple type (boolean, number, string, enumeration)
};

/// The property frame of one filter, without the frame: its properties, its
/// pads' caps, and edits of its simple properties.
class FilterPages {
public:
    virtual ~FilterPages() = default;
    /// The filter's name (the frame's caption).
    virtual QString Name() const = 0;
    /// The readable properties with their values now.
    virtual std::vector<FilterProperty> Properties() const = 0;
    /// The value of property `name` now, as text; empty when there is none.
    virtual QString Value(const QString &name) const = 0;
    /// The pads and their caps, one pad per line.
    virtual QString PadsText() const = 0;
    /// Applies `text` to property `name`; false when the property is
    /// read-only, not simple, or the text is not a value of its type.
    virtual bool SetProperty(const QString &name, const QString &text) = 0;
};

/// The facets of a graph, each sharing the graph's lifetime; null where the
/// graph lacks one.
/// What the captions of the open medium show: a facet of our own, beyond
/// the platform's. The offset and the language hold for the files added
/// later too, until the graph goes.
class CaptionControl {
public:
    virtual ~CaptionControl() = default;
    /// Shows every caption `offsetMs` later (negative: earlier), at once: the
    /// caption current at the shifted time replaces the one shown.
    virtual HResult SetCaptionOffset(int64_t offsetMs) = 0;
    /// The offset in force.
    virtual int64_t CaptionOffset() const = 0;
    /// Shows the class `choice` of the caption files, kEverySamiLanguage for
    /// all of them at once, or empty for each file's own choice.
    virtual HResult SetCaptionLanguage(const QString &choice) = 0;
    /// The languages of the caption file added last, as its reader lists
    /// them; empty without one.
    virtual std::vector<SamiLanguage> CaptionLanguages() const = 0;
    /// The class that file shows, kEverySamiLanguage for all; empty when it
    /// declares none.
    virtual QString CaptionLanguageShown() const = 0;
    /// Reads the caption files again in `encoding` (Auto: each file's own
    /// detection) when it is another than the one in force.
    virtual HResult SetCaptionEncoding(CaptionEncoding encoding) = 0;
    /// Why the caption file added last was refused, in short Korean; empty
    /// when it was read.
    virtual QString CaptionRefusal() const = 0;
    /// The typeset track of what shows (ASS or SSA); null when it is plain.
    virtual TypesetTrack *Typeset() { return nullptr; }
};

/// What a medium's stream says of itself, from its tags and its caps.
struct StreamInfo {
    std::string language; ///< the language tag as the medium has it (an ISO 639 code, or anything); empty: none
    std::string title;    ///< the title tag; empty: none
    std::string format;   ///< the format's short name ("AAC", "SubRip"); empty when unknown
    int32_t channels = 0; ///< sound channels; 0 when unknown or not sound
    bool isDefault = false; ///< the medium marks it as the one to play by default
};

/// The subtitle choices beside an embedded text stream's index (from 0).
inline constexpr int32_t kSubtitleNone = -1;  ///< no subtitles at all
inline constexpr int32_t kSubtitleFiles = -2; ///< the caption files added

/// Which of the medium's sound and text streams play: a facet of our own.
class StreamChoice {
public:
    virtual ~StreamChoice() = default;
    /// The stream playing, from 0; -1 when the medium has none.
    virtual int32_t CurrentAudioStream() const = 0;
    /// Plays stream `index` instead, at once; E_INVALIDARG when the medium has no such stream.
    virtual HResult SetCurrentAudioStream(int32_t index) = 0;
    /// The sound streams, in the medium's order.
    virtual std::vector<StreamInfo> AudioStreams() const = 0;
    /// The text streams the medium carries, in its order.
    virtual std::vector<StreamInfo> TextStreams() const = 0;
    /// What the captions show: a text stream's index, kSubtitleFiles or kSubtitleNone.
    virtual int32_t SubtitleShown() const = 0;
    /// Shows text stream `choice` (from the current time), the caption files
    /// (kSubtitleFiles) or nothing (kSubtitleNone); E_INVALIDARG for a stream
    /// the medium lacks.
    virtual HResult ShowSubtitle(int32_t choice) = 0;
};

/// The video's pictures one at a time, and the picture now shown at the
/// video's own size: a facet of our own, beyond the platform's.
class FrameAccess {
public:
    virtual ~FrameAccess() = default;
    /// Shows the next picture of a paused medium; the sound follows the
    /// picture at the next Run.
    virtual HResult StepForward() = 0;
    /// Shows the previous picture: an accurate seek to the middle of the
    /// frame before the one shown (by the frame's duration, else the
    /// stream's frame rate, else 1/25 s). S_FALSE at the first picture.
    virtual HResult StepBack() = 0;
    /// The picture now shown at the video's display size (square pixels, as
    /// an RGB32 image), and its time in the medium in milliseconds; fails
    /// when no picture was decoded.
    virtual HResult GrabPicture(QImage *image, int64_t *positionMs) = 0;
};

/// One chapter of the medium's table of contents.
struct ChapterMark {
    int64_t startMs = 0;
    QString title; ///< empty when the medium names none

    bool operator==(const ChapterMark &) const = default;
};

/// What the medium says of itself beyond its streams: a facet of our own.
/// Both parts are known by the end of the open for a file; a stream that
/// tells them later queues EC_MEDIUM_INFO.
class MediumInfo {
public:
    virtual ~MediumInfo() = default;
    /// The container's title tag; empty without one.
    virtual QString Title() const = 0;
    /// The chapters of the table of contents, by start time; empty without one.
    virtual std::vector<ChapterMark> Chapters() const = 0;
};

/// When and where the sound plays: a facet of our own.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    /// Plays the sound `delayMs` later than the picture (negative: earlier), at once.
    virtual HResult SetSoundDelay(int64_t delayMs) = 0;
    /// Moves the sound at once to the output `deviceId` names (a
    /// SoundDevice's id). Empty leaves a playing sound where the server put
    /// it (S_FALSE): the server names no default of its own to move to.
    /// E_NOTIMPL where the sound's sink cannot move (no sound server).
    virtual HResult SetSoundDevice(const std::string &deviceId) = 0;
};

/// One sound output of the system.
struct SoundDevice {
    std::string id; ///< how the sound server names it (kept in the settings)
    QString name;   ///< what the user reads
    bool isDefault = false; ///< the server's default output now

    bool operator==(const SoundDevice &) const = default;
};

/// The system's sound outputs, made by the backend apart from any graph.
/// Nothing is asked of the system before the first Devices(); from then on
/// the outputs are watched and `changed` is told (on the UI thread) when one
/// comes or goes.
class SoundDeviceWatch {
public:
    virtual ~SoundDeviceWatch() = default;
    /// The outputs now, the default first; starts watching at the first call.
    virtual std::vector<SoundDevice> Devices() = 0;
    /// Who is told when an output comes or goes.
    virtual void SetChangeListener(std::function<void()> changed) = 0;
};

/// Finds the duration of media without playing them, in the background:
/// asks are answered one after another, later, on the UI thread.
class DurationProbe {
public:
    /// `durationMs` -1: the medium has none that could be found.
    using Answer = std::function<void(const std::string &path, int64_t durationMs)>;
    virtual ~DurationProbe() = default;
    /// Who is told each answer.
    virtual void SetListener(Answer answer) = 0;
    /// Asks the duration of a local path; never waits.
    virtual void Ask(const std::string &path) = 0;
};

struct GraphFacets {
    std::shared_ptr<MediaControl> control;
    std::shared_ptr<MediaPosition> position;
    std::shared_ptr<MediaSeeking> seeking;
    std::shared_ptr<BasicAudio> basicAudio;
    std::shared_ptr<BasicVideo> basicVideo;
    std::shared_ptr<VideoWindow> videoWindow;
    std::shared_ptr<MediaEventEx> events;
    std::shared_ptr<CaptionControl> captions; ///< null where the graph has none
    std::shared_ptr<StreamChoice> audioStreams; ///< null where the graph has none
    std::shared_ptr<FrameAccess> frames;      ///< null where the graph has none
    std::shared_ptr<MediumInfo> medium;       ///< null where the graph has none
    std::shared_ptr<SoundOutput> sound;       ///< null where the graph has none
};

/// The graph: builds itself for a medium and lists its filters.
class GraphBuilder {
public:
    /// The end of a render: S_OK when the medium is ready to play (paused), else why not.
    using RenderDone = std::function<void(HResult)>;

    virtual ~GraphBuilder() = default;
    /// The graph's facets.
    virtual GraphFacets Facets() = 0;
    /// Adds a filter under `name` (the video output goes in as "Overlay Mixer").
    virtual HResult AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name) = 0;
    /// Builds the graph for a local path or an address with a scheme and
    /// returns at once: S_OK when the build goes on, and then `done` is told
    /// once, later, on the UI thread from the event loop (never from inside
    /// this call); a failure when nothing could begin, and then `done` is
    /// never told. Destroying the graph first cancels the build: `done` is
    /// never told. A medium begun with BeginRender goes on where it stands.
    virtual HResult BeginRenderMedia(const std::string &pathOrAddress, RenderDone done) = 0;
    /// On a graph that holds media, renders a caption file whose captions
    /// become EC_OLE_EVENT events. VFW_E_WRONG_STATE on a graph without
    /// media: a medium is built with BeginRenderMedia.
    virtual HResult RenderFile(const std::string &pathOrAddress) = 0;
    /// Starts building the graph for a medium with nobody told (the streaming
    /// threads work meanwhile), ahead of the BeginRenderMedia of the same
    /// medium. E_NOTIMPL where a graph cannot begin early.
    virtual HResult BeginRender(const std::string &pathOrAddress)
    {
        (void)pathOrAddress;
        return E_NOTIMPL;
    }
    /// The names of the graph's filters as its user knows them (sources,
    /// demuxers, decoders, outputs; no plumbing), in enumeration order.
    virtual HResult EnumFilterNames(std::vector<std::string> *names) = 0;
    /// The property frame of the first filter called `name`; null when no
    /// such filter exists.
    virtual std::shared_ptr<FilterPages> FindFilterPages(const std::string &name) = 0;
};

/// Obtains facet T of `object` (a pin's MixerPinConfig): a counted reference
/// sharing the object's lifetime, or null when the object does not implement T.
template <class T, class U>
std::shared_ptr<T> QueryFacet(const std::shared_ptr<U> &object)
{
    return std::dynamic_pointer_cast<T>(object);
}

} // namespace velmo
