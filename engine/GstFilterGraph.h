#pragma once

#include "engine/CaptionTrack.h"
#include "engine/EventQueue.h"
#include "engine/GstBusBridge.h"
#include "engine/GstHandles.h"
#include "engine/GstVideoOutput.h"
#include "engine/MediaFacets.h"

#include <QPointer>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

class MediumWait;

/// The graph on one GStreamer playbin: the picture goes to the video output
/// added as "Overlay Mixer", the sound through the default audio sink with a
/// pitch-keeping tempo filter. Bus messages reach the UI thread through a
/// GstBusBridge; the end of the stream, an error in mid-play, a change of the
/// picture's size and the captions of added SAMI files become queued events.
/// UI thread only.
class GstFilterGraph : public GraphBuilder,
                       public MediaControl,
                       public MediaPosition,
                       public MediaSeeking,
                       public BasicAudio,
                       public BasicVideo,
                       public VideoWindow,
                       public MediaEventEx,
                       public std::enable_shared_from_this<GstFilterGraph> {
public:
    /// A graph whose RenderFile gives up after `openTimeoutMs`; null with
    /// *result set when playbin is missing.
    static std::shared_ptr<GstFilterGraph> Create(int openTimeoutMs, HResult *result);
    ~GstFilterGraph() override;

    // GraphBuilder
    HResult AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name) override;
    HResult RenderFile(const std::string &pathOrAddress) override;
    HResult BeginRender(const std::string &pathOrAddress) override;
    HResult EnumFilterNames(std::vector<std::string> *names) override;
    bool ShowPropertyFrame(const std::string &name, QWidget *owner) override;
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
    HResult put_Owner(QWidget *owner) override;
    HResult put_MessageDrain(QWidget *drain) override;
    HResult put_WindowStyle(int32_t style) override;
    HResult put_Visible(bool visible) override;
    HResult SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height) override;
    // MediaEventEx
    HResult SetNotifyWindow(QObject *window, int32_t message, intptr_t param) override;
    HResult GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs) override;
    HResult FreeEventParams(int32_t code, EventParam *param1, EventParam *param2) override;

    /// The name of the graph's volume element (inside the audio filter).
    static constexpr char kVolumeName[] = "player volume";
    /// The playbin, for diagnostics and benchmarks.
    GstElement *Pipeline() const { return pipeline_.get(); }
    /// The filters EnumFilterNames names, in its order: the stream's own in
    /// the order it flows (see FlowFilters), then one source per SAMI file.
    std::vector<GstElementPtr> Filters() const;
    /// The first of Filters() called `name`, or null.
    GstElementPtr FindFilter(const std::string &name) const;

private:
    /// Where the graph stands with its medium.
    enum class Load {
        Empty,      ///< nothing rendered yet
        Prerolling, ///< RenderFile waits for the first data (a live source plays meanwhile)
        Prerolled,  ///< the first data arrived; RenderFile checks what the medium holds
        Loaded,     ///< ready: running, paused or stopped as asked
        Broken,     ///< an error ended playback; Run or Pause starts the medium over
    };

    explicit GstFilterGraph(int openTimeoutMs) : openTimeoutMs_(openTimeoutMs) {}
    bool HasMedium() const { return load_ == Load::Loaded || load_ == Load::Broken; }
    HResult RenderMedia(const std::string &pathOrAddress);
    void StartMedia(const std::string &uri);
    HResult CheckStreams(const std::string &uri);
    int StreamCount() const;
    static void OnSourceSetup(GstElement *playbin, GstElement *source, gpointer self);
    static void OnElementSetup(GstElement *playbin, GstElement *element, gpointer);
    HResult RenderSubtitles(const std::string &path);
    /// Waits for the medium begun; a medium that does not answer gets openError_ set.
    void WaitForPreroll();
    void OnBusMessage(GstMessage *message);
    void OnError(GstMessage *message);
    void StopOnError(HResult error);
    void OnBuffering(GstMessage *message);
    void OnStateChanged(GstMessage *message);
    void OnVideoSize(const QSize &size);
    HResult SetDesiredState(int32_t state);
    HResult SeekTo(int64_t positionNs, double rate);
    void SeekCaptions();
    bool PositionNs(int64_t *ns);
    bool DurationNs(int64_t *ns);
    void ResyncCaptions();
    bool Playing() const { return reached_ == GST_STATE_PLAYING && !buffering_; }
    GstStateChangeReturn ApplyState();

    const int openTimeoutMs_;
    GstElementPtr pipeline_;
    GstElementPtr volume_; ///< the volume element in the audio filter
    std::unique_ptr<GstBusBridge> bridge_;
    std::shared_ptr<GstVideoOutput> output_;
    EventQueue events_;
    std::vector<std::unique_ptr<CaptionTrack>> tracks_;
    std::vector<GstElementPtr> captionSources_; ///< one idle file source per SAMI file, named after it
    MediumWait *wait_ = nullptr;          ///< the wait for the medium, while it runs
    Load load_ = Load::Empty;
    HResult openError_ = S_OK;            ///< why the open failed, while it runs
    std::string startedUri_;              ///< the medium the pipeline was last started on
    GstStateChangeReturn startReturn_ = GST_STATE_CHANGE_FAILURE; ///< its first answer to PAUSED
    bool local_ = false;                  ///< the medium is a local file
    std::atomic<uint64_t> sourceReads_{0}; ///< buffers the source has handed on (counted on GStreamer's threads)
    bool live_ = false;                   ///< the source is live: it cannot preroll and does not buffer
    bool buffering_ = false;              ///< a network source refills; playback waits
    int32_t desiredState_ = State_Stopped; ///< what the user asked for
    GstState reached_ = GST_STATE_NULL;   ///< what the pipeline last reported reaching
    std::optional<int64_t> pendingSeekNs_; ///< target of a flushing seek not yet done
    int64_t lastPositionNs_ = 0;
    int64_t durationNs_ = -1;
    double rate_ = 1.0;
    int32_t volumeLevel_ = 0;
    int32_t windowStyle_ = 0;
    QPointer<QWidget> drain_;
};

} // namespace velmo
