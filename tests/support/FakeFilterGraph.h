#pragma once

#include "engine/EventQueue.h"
#include "engine/MediaFacets.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velmo {

/// What a fake medium looks like to the player.
struct FakeMediaInfo {
    double duration = 10.0;        ///< seconds; negative: unknown (get_Duration fails)
    int32_t width = 320;           ///< 0 with height 0: no video (GetVideoSize fails)
    int32_t height = 240;
    HResult renderResult = S_OK;   ///< how its render ends
    bool answers = true;           ///< false: its render waits until AnswerRender
    HResult runResult = S_OK;      ///< what Run returns
    bool seekable = true;          ///< false: SetPositions and put_CurrentPosition fail
    std::vector<StreamInfo> audio = {}; ///< its sound streams (the first plays at the open)
    std::vector<StreamInfo> texts = {}; ///< its text streams
    QString title{};               ///< its title tag
    std::vector<ChapterMark> chapters{};
};

/// The shared script and call log of a FakeMediaBackend and its graphs.
struct FakeMediaScript {
    std::map<std::string, FakeMediaInfo> media;     ///< path -> medium; others fail to render
    std::map<std::string, HResult> subtitles;       ///< subtitle path -> RenderFile result; others fail
    std::vector<std::string> filterNames = {"source", "demuxer", "video decoder", "audio decoder",
                                            "Overlay Mixer", "audio renderer"};
    std::vector<std::string> calls;                 ///< every command a graph received, in order
    std::vector<std::string> propertyFrames;        ///< names whose property frame was asked for
    std::vector<size_t> propertyFramePositions;     ///< where in filterNames each shown filter stands
    int graphsAlive = 0;                            ///< graphs not yet destroyed
    std::function<void()> onRender;                 ///< runs as a medium's render is answered, before the one waiting
                                                    ///< hears (what the program does while an open waits)
    bool streamChoice = false;                      ///< the graphs offer StreamChoice (its calls are logged too)
    std::vector<std::string> durationsAsked;        ///< the paths whose duration was asked, in order
};

/// A deterministic graph for tests of the engine's callers: implements every
/// facet, plays nothing, and moves only when told. A medium's render ends from
/// the event loop (a zero timer) with its scripted renderResult, or, for a
/// medium that does not answer, when AnswerRender says. Commands are logged in the
/// script's `calls` as "Run", "Pause", "Stop", "put_Volume(-500)",
/// "SetRate(2)", "put_CurrentPosition(1.5)", "SetPositions(50000000)",
/// "SetAspectRatioMode(0)", "SetWindowPosition(0,0,320,240)",
/// "put_Owner(set|null)", "put_MessageDrain(set|null)", "put_Visible(0|1)",
/// "put_WindowStyle(0x46000000)", "SetNotifyWindow(set|null)",
/// "AddFilter(Overlay Mixer)", "RenderFile(path)" (a caption file, or the
/// render of a medium begun), "SetSoundDelay(120)", "SetSoundDevice(id)",
/// "Release" (destruction).
class FakeFilterGraph : public GraphBuilder,
                        public MediaControl,
                        public MediaPosition,
                        public MediaSeeking,
                        public BasicAudio,
                        public BasicVideo,
                        public VideoWindow,
                        public MediaEventEx,
                        public StreamChoice,
                        public MediumInfo,
                        public SoundOutput,
                        public std::enable_shared_from_this<FakeFilterGraph> {
public:
    explicit FakeFilterGraph(std::shared_ptr<FakeMediaScript> script);
    ~FakeFilterGraph() override;

    // GraphBuilder
    GraphFacets Facets() override;
    HResult AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name) override;
    HResult BeginRenderMedia(const std::string &pathOrAddress, RenderDone done) override;
    HResult RenderFile(const std::string &pathOrAddress) override;
    HResult EnumFilterNames(std::vector<std::string> *names) override;
    std::shared_ptr<FilterPages> FindFilterPages(const std::string &name) override;
    // MediaControl
    HResult Run() override;
    HResult Pause() override;
    HResult Stop() override;
    HResult GetState(int32_t timeoutMs, int32_t *state) override;
    // MediaPosition
    HResult get_Duration(double *seconds) override;
    HResult get_CurrentPosition(double *seconds) override;
    HResult put_CurrentPosition(double seconds) override;
    // MediaSeeking
    HResult CheckCapabilities(uint32_t *capabilities) override;
    HResult GetCurrentPosition(int64_t *position) override;
    HResult GetDuration(int64_t *duration) override;
    HResult SetPositions(int64_t *current, uint32_t currentFlags, int64_t *stop, uint32_t stopFlags) override;
    HResult SetRate(double rate) override;
    HResult GetRate(double *rate) override;
    // BasicAudio
    HResult put_Volume(int32_t volume) override;
    HResult get_Volume(int32_t *volume) override;
    // BasicVideo
    HResult GetVideoSize(int32_t *width, int32_t *height) override;
    // VideoWindow
    HResult put_Owner(QObject *owner) override;
    HResult put_MessageDrain(QObject *drain) override;
    HResult put_WindowStyle(int32_t style) override;
    HResult put_Visible(bool visible) override;
    HResult SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height) override;
    // MediaEventEx
    HResult SetNotifyWindow(QObject *window, int32_t message, intptr_t param) override;
    HResult GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs) override;
    HResult FreeEventParams(int32_t code, EventParam *param1, EventParam *param2) override;
    // StreamChoice: "SetCurrentAudioStream(1)", "ShowSubtitle(-1)"
    int32_t CurrentAudioStream() const override { return currentAudio; }
    HResult SetCurrentAudioStream(int32_t index) override;
    std::vector<StreamInfo> AudioStreams() const override { return info.audio; }
    std::vector<StreamInfo> TextStreams() const override { return info.texts; }
    int32_t SubtitleShown() const override { return subtitleShown; }
    HResult ShowSubtitle(int32_t choice) override;

    // MediumInfo
    QString Title() const override { return info.title; }
    std::vector<ChapterMark> Chapters() const override { return info.chapters; }
    // SoundOutput
    HResult SetSoundDelay(int64_t delayMs) override;
    HResult SetSoundDevice(const std::string &deviceId) override;

    /// Queues an event and notifies the notify window, as the real graph does.
    void QueueEvent(int32_t code, intptr_t param1 = 0, const QString &text = {});
    /// Plays to the end: position = duration, then EC_COMPLETE is queued.
    void Complete();
    /// Ends the render that waits on `graph` as its medium is scripted;
    /// false when none waits. The graph is not held while the one waiting
    /// hears, so that it may let the graph go.
    static bool AnswerRender(const std::weak_ptr<FakeFilterGraph> &graph);
    /// A render waits for its end.
    bool RenderWaiting() const { return static_cast<bool>(waitingRender_); }

    FakeMediaInfo info;              ///< the rendered medium
    std::string renderedPath;        ///< what the graph was built for, once its render ended well
    std::vector<std::string> subtitleFiles; ///< subtitle files accepted, in order
    int32_t state = State_Stopped;   ///< what GetState reports
    double positionSeconds = 0.0;    ///< what the position getters report
    double rate = 1.0;
    int32_t volume = 0;
    QPointer<QObject> owner;
    QPointer<QObject> drain;
    bool visible = true;
    QRect windowRect;                ///< the last SetWindowPosition
    int32_t currentAudio = -1;       ///< the sound stream playing
    int32_t subtitleShown = kSubtitleFiles;
    EventQueue eventQueue;
    int64_t soundDelayMs = 0;
    std::string soundDevice;         ///< the output the sound plays on; empty: the default

private:
    void Log(const std::string &call);
    /// Takes the render that waits and applies its scripted end; null when none waits.
    RenderDone TakeRender(HResult *result);

    std::shared_ptr<FakeMediaScript> script_;
    RenderDone waitingRender_;
    std::string waitingPath_;
};

} // namespace velmo
