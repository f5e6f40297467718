#pragma once

#include "engine/GstBusBridge.h"
#include "engine/GstHandles.h"
#include "engine/MediaResult.h"
#include "engine/MediumWatch.h"
#include "engine/SeekQueue.h"
#include "engine/StallWatch.h"

#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velmo {

class EventQueue;

/// One playbin and its life: opening a medium (until it has prerolled),
/// the state the user asked for, buffering, seeks and the bus. Times are in
/// nanoseconds. The sound goes through the default audio sink with a
/// pitch-keeping tempo filter and a volume element of our own. The end of the
/// stream and an error in mid-play are queued on `events`. UI thread only.
class PlaybinSession {
public:
    /// What the session tells its owner about its clock.
    struct Listener {
        std::function<void(int64_t ns)> jumped; ///< a seek moved the position to `ns`
        std::function<void()> clockChanged;     ///< playing started or stopped, the rate changed, a seek settled
        std::function<void()> stepped;          ///< a frame step showed the next picture
        std::function<void(GstMessage *)> described; ///< a TAG or TOC message: what the medium says of itself
    };

    /// The end of an open: S_OK when the medium is ready to play, else why not.
    using Opened = std::function<void(HResult)>;

    /// A session whose Render gives up after `openTimeoutMs`; null with
    /// *result set when playbin is missing.
    static std::unique_ptr<PlaybinSession> Create(int openTimeoutMs, EventQueue &events, HResult *result);
    ~PlaybinSession();
    PlaybinSession(const PlaybinSession &) = delete;
    PlaybinSession &operator=(const PlaybinSession &) = delete;

    /// Sets the listener (all its functions must be set).
    void SetListener(Listener listener) { listener_ = std::move(listener); }
    /// Gives playbin its video sink.
    void SetVideoSink(GstElement *sink) { g_object_set(pipeline_.get(), "video-sink", sink, nullptr); }
    /// Gives playbin its text sink (before the first medium).
    void SetTextSink(GstElement *sink) { g_object_set(pipeline_.get(), "text-sink", sink, nullptr); }
    /// Starts opening `uri` without waiting; VFW_E_WRONG_STATE once a medium was begun.
    HResult Begin(const std::string &uri);
    /// Opens `uri` (or goes on with the same one begun) and returns at once:
    /// S_OK when the open goes on, then `done` is told once, later, from the
    /// event loop (never from inside Render): S_OK with the medium ready and
    /// paused, or a failure with the session empty. A failure returned means
    /// nothing began and `done` is never told. Destroying the session while it
    /// opens tells nobody.
    HResult Render(const std::string &uri, Opened done);
    /// An open waits for its medium.
    bool Opening() const { return static_cast<bool>(opened_); }
    /// A medium is open (playing, or stopped by an error).
    bool HasMedium() const { return load_ == Load::Loaded || load_ == Load::Broken; }
    /// The medium is open and playable: a change of its picture's size is news.
    bool Loaded() const { return load_ == Load::Loaded; }

    /// State_Stopped, State_Paused or State_Running; a medium stopped by an
    /// error starts over on Running or Paused.
    HResult SetDesiredState(int32_t state);
    int32_t DesiredState() const { return desiredState_; }
    /// The stream moves: playing and not refilling.
    bool Playing() const { return reached_ == GST_STATE_PLAYING && !buffering_; }

    /// The position: the newest seek target until the seeks settle.
    bool PositionNs(int64_t *ns);
    bool DurationNs(int64_t *ns);
    /// Whether the medium can be repositioned.
    bool Seekable() const { return seeks_->Seekable(); }
    /// A seek to `ns` (clamped to the medium) at the current rate, landing
    /// as asked. While a seek is in flight only the newest target is kept,
    /// and sent when that one completes.
    HResult SeekTo(int64_t ns, SeekLanding landing = SeekLanding::Exact);
    /// Plays on from here at `rate` (> 0).
    HResult SetRate(double rate);
    double Rate() const { return rate_; }
    /// Shows the next picture: a step of one buffer in the video sink, once the
    /// pipeline is paused. Only the picture moves; the next Run first seeks to
    /// where it stands, so that the sound follows.
    HResult StepVideoFrame();
    /// Linear loudness, 0 silent to 1 full.
    void SetVolume(double linear);
    /// A picture decoded apart from the stream shows, or is about to, for
    /// `ns`: the position reads `ns` until the stream moves, and the next Run
    /// first seeks there, so that the stream follows the picture.
    /// VFW_E_WRONG_STATE unless the stream stands still or comes to a stop.
    HResult StandAt(int64_t ns);
    /// The position is that of a picture decoded apart (see StandAt).
    bool Standing() const { return standingNs_.has_value(); }
    /// The stream stands still: open, paused and no seek under way.
    bool StandsStill() const;
    /// The stream was paused while it played and has not stopped yet.
    bool ComesToAStop() const;
    /// Who is told when the stream moves (a seek, a Run, a step, a stop by an
    /// error) and when it has come to a stop after playing.
    struct MoveWatcher {
        std::function<void()> moved;
        std::function<void()> stopped;
    };
    void SetMoveWatcher(MoveWatcher watcher) { moveWatcher_ = std::move(watcher); }
    /// The medium the session was last started on, and whether it is a local file.
    const std::string &Uri() const { return startedUri_; }
    bool Local() const { return local_; }

    /// The playbin.
    GstElement *Pipeline() const { return pipeline_.get(); }

private:
    /// Where the session stands with its medium.
    enum class Load {
        Empty,      ///< nothing rendered yet
        Prerolling, ///< the open waits for the first data (a live source plays meanwhile)
        Prerolled,  ///< the first data arrived; the open checks what the medium holds
        Loaded,     ///< ready: running, paused or stopped as asked
        Broken,     ///< an error ended playback; Run or Pause starts the medium over
    };
    PlaybinSession(int openTimeoutMs, EventQueue &events);
    void Start(const std::string &uri);
    GstStateChangeReturn ResolveStart();
    HResult CheckStreams(const std::string &uri);
    int StreamCount() const;
    /// Watches the medium begun; one that does not answer gets openError_ set.
    void WatchPreroll();
    void GiveUpOpen(MediumWatch::End why);
    /// Ends the open from the event loop: the one told may destroy the session.
    void EndOpenSoon() { endOpen_.start(); }
    void EndOpen();
    void OnBusMessage(GstMessage *message);
    void OnAsyncDone();
    void OnError(GstMessage *message);
    void StopOnError(HResult error);
    void OnBuffering(GstMessage *message);
    /// Looks whether a stream from an address still comes; stops it when not.
    void WatchStall();
    /// Whether the stream's position moved since the last look.
    bool Moved();
    /// After a start over: goes on from where a stall stopped the stream.
    void ResumeAfterStall();
    void OnStateChanged(GstMessage *message);
    GstStateChangeReturn ApplyState();
    HResult Seek(int64_t ns, double rate, SeekLanding landing = SeekLanding::Exact);
    void ClockChanged();
    /// The stream moves: the position is its own again, and the watcher is told.
    void StreamMoves();

    const int openTimeoutMs_;
    EventQueue &events_;
    Listener listener_{[](int64_t) {}, [] {}, [] {}, [](GstMessage *) {}};
    GstElementPtr pipeline_;
    GstElementPtr volume_; ///< the volume element in the audio filter
    std::unique_ptr<GstBusBridge> bridge_;
    Opened opened_;                       ///< told when the open ends; null while none goes on
    MediumWatch openWatch_;               ///< gives up on a medium that does not answer
    QTimer endOpen_;                      ///< ends the open from the event loop
    Load load_ = Load::Empty;
    HResult openError_ = S_OK;            ///< why the open failed, while it goes on
    std::string startedUri_;              ///< the medium the pipeline was last started on
    GstStateChangeReturn startReturn_ = GST_STATE_CHANGE_FAILURE; ///< its first answer to PAUSED
    bool local_ = false;                  ///< the medium is a local file
    std::atomic<uint64_t> sourceReads_{0}; ///< buffers the source has handed on (counted on GStreamer's threads)
    bool live_ = false;                   ///< the source is live: it cannot preroll and does not buffer
    bool buffering_ = false;              ///< a network source refills; playback waits
    int32_t desiredState_ = State_Stopped; ///< what the user asked for
    GstState reached_ = GST_STATE_NULL;   ///< what the pipeline last reported reaching
    std::unique_ptr<SeekQueue> seeks_;
    int64_t lastPositionNs_ = 0;
    int64_t durationNs_ = -1;
    double rate_ = 1.0;
    bool stepped_ = false; ///< the picture was stepped ahead of the sound
    std::optional<int64_t> standingNs_; ///< the position of a picture decoded apart (see StandAt)
    MoveWatcher moveWatcher_;
    bool ended_ = false;   ///< the stream reached its end (until a seek or a start over)
    StallWatch stall_;
    QTimer stallTimer_;    ///< looks at stall_ while an address is open
    int64_t watchedPositionNs_ = -1;    ///< the position at the last look
    std::optional<int64_t> resumeAtNs_; ///< where a seekable address stalled, until it goes on from there
};

} // namespace velmo
