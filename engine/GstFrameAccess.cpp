#include "engine/GstFrameAccess.h"

#include "engine/GstVideoOutput.h"
#include "engine/PlaybinSession.h"

#include <malloc.h>

#include <utility>

namespace velmo {

namespace {

// Streams that do not say how long a frame lasts are taken as 25 frames a second.
constexpr int64_t kGuessedFrameNs = GST_SECOND / 25;
// A step's picture comes just after the sink's answer; a stream that has
// none to give (its end) is given up on after half a second.
constexpr int kStepLookMs = 10;
constexpr int kStepLooks = 50;

} // namespace

GstFrameAccess::GstFrameAccess(PlaybinSession &session, const std::shared_ptr<GstVideoOutput> &output,
                               PictureReached reached)
    : session_(session), output_(output), reached_(std::move(reached))
{
    session_.SetMoveWatcher({[this] { Forget(); }, [this] { OnStopped(); }});
    stepLook_.setSingleShot(true);
    stepLook_.setInterval(kStepLookMs);
    QObject::connect(&stepLook_, &QTimer::timeout, [this] { ReachSteppedPicture(); });
}

HResult GstFrameAccess::StepForward()
{
    if (!output_)
        return E_NOINTERFACE;
    int64_t shown = 0;
    int64_t duration = 0;
    if (wanted_ && output_->FrameTime(&shown, &duration)) {
        // A step back still waits for its picture: the one after it is sought.
        const int64_t step = duration > 0 ? duration : kGuessedFrameNs;
        const int64_t next = *wanted_ + step;
        steppedShows_ = next;
        steppedFrom_ += step;
        const HResult hr = SeekAndKeep(next);
        if (Succeeded(hr))
            reached_(steppedFrom_);
        return hr;
    }
    // Among the kept pictures; the newest is the stream's own, which steps on by itself.
    if (session_.Standing() && output_->FrameTime(&shown, &duration)) {
        KeptPictures::Picture next = kept_.After(shown);
        if (next.sample && Succeeded(session_.StandAt(next.startNs))) {
            const int64_t start = next.startNs;
            output_->ShowDecoded(std::move(next.sample));
            reached_(start);
            return S_OK;
        }
    }
    int64_t left = -1;
    if (!output_->FrameTime(&left, &duration))
        left = -1;
    const HResult hr = session_.StepVideoFrame();
    if (Succeeded(hr)) {
        ++stepsUnanswered_;
        stepLeftNs_ = left;
    }
    return hr;
}

HResult GstFrameAccess::StepBack()
{
    // A step forward still to be answered is overtaken: its answer may come
    // once this step's picture is asked for and before it is shown, and the
    // picture it would name is no longer the one the user stepped to.
    stepsUnanswered_ = 0;
    stepLook_.stop();
    const HResult hr = StepBackTo();
    // The captions follow the picture's start, as a step forward's do, not
    // the seek's target within it.
    if (hr == S_OK)
        reached_(steppedFrom_);
    return hr;
}

HResult GstFrameAccess::StepBackTo()
{
    int64_t shown = 0;
    int64_t duration = 0;
    if (!output_ || !output_->FrameTime(&shown, &duration))
        return E_FAIL;
    if (duration <= 0)
        duration = kGuessedFrameNs;
    // The frame an accurate seek shows carries the seek's target as its time,
    // not its own start: after our own step back that start is known (and
    // while a step back waits for its picture, the one shown is not its own).
    // A kept picture goes on from the same start, so that every step lands
    // where the seek would have.
    const int64_t start = wanted_ || shown == steppedShows_ ? steppedFrom_ : shown;
    if (start - duration / 2 < 0)
        return S_FALSE;
    // The middle of the frame before: an accurate seek shows the frame whose
    // time span holds the target, whatever rounding the timestamps carry.
    const int64_t target = start - duration / 2;
    steppedShows_ = target;
    steppedFrom_ = start - duration;
    // A stream that stands still stays where it is: the picture comes from
    // the kept ones, from those being decoded, or from a decoding up to the
    // stream's own picture (so that the newest kept picture is always the
    // stream's own, and a step forward from it is the stream's step).
    if (session_.StandsStill()) {
        if (ShowKept(target))
            return S_OK;
        if ((decoding_ && target <= decoding_->TargetNs()) || (!session_.Standing() && DecodeGroupBefore(shown))) {
            wanted_ = target;
            return session_.StandAt(target);
        }
    } else if (session_.ComesToAStop() && (awaitingStop_ || !session_.Standing())) {
        // Paused just now: the pictures are decoded up to where the stream stops.
        awaitingStop_ = true;
        wanted_ = target;
        return session_.StandAt(target);
    }
    return SeekAndKeep(target);
}

HResult GstFrameAccess::SeekAndKeep(int64_t ns)
{
    const HResult hr = session_.SeekTo(ns); // forgets the kept pictures
    if (Succeeded(hr))
        DecodeGroupBefore(ns);
    return hr;
}

// Local files only: an address would be fetched a second time.
bool GstFrameAccess::DecodeGroupBefore(int64_t ns)
{
    const GstCapsPtr caps = output_ ? output_->DecodedCaps() : nullptr;
    if (!caps || !session_.Local())
        return false;
    decoding_ = GroupDecoder::Start(session_.Uri(), caps.get(), ns, kKeptBytes,
                                    [this](KeptPictures kept) { OnGroupDecoded(std::move(kept)); });
    return decoding_ != nullptr;
}

void GstFrameAccess::OnGroupDecoded(KeptPictures kept)
{
    decoding_.reset();
    kept_ = std::move(kept);
    if (!wanted_)
        return;
    const int64_t target = *std::exchange(wanted_, std::nullopt);
    // Not kept (before the keyframe decoded, or beyond the byte cap): decoded anew.
    if (!ShowKept(target))
        SeekAndKeep(target);
}

void GstFrameAccess::OnStopped()
{
    if (!std::exchange(awaitingStop_, false) || !wanted_)
        return;
    int64_t shown = 0;
    int64_t duration = 0;
    if (output_ && output_->FrameTime(&shown, &duration) && DecodeGroupBefore(shown))
        return;
    SeekAndKeep(*std::exchange(wanted_, std::nullopt));
}

bool GstFrameAccess::ShowKept(int64_t ns)
{
    KeptPictures::Picture picture = kept_.At(ns);
    if (!picture.sample || Failed(session_.StandAt(ns)))
        return false;
    steppedShows_ = picture.startNs;
    output_->ShowDecoded(std::move(picture.sample));
    // The stand told the captions the seek's target, within the picture;
    // they follow the picture's start, also when the picture comes from a
    // decoding that ended after the step was answered.
    reached_(picture.startNs);
    return true;
}

void GstFrameAccess::Forget()
{
    wanted_.reset();
    awaitingStop_ = false;
    decoding_.reset();
    if (kept_.Empty())
        return;
    kept_.Clear();
#ifdef __GLIBC__
    // Hundreds of MiB freed at once, from the decoder's threads' heaps: the
    // allocator gives back only what lies at a heap's top unless asked.
    malloc_trim(0);
#endif
}

void GstFrameAccess::StepDone()
{
    if (stepsUnanswered_ == 0)
        return;
    --stepsUnanswered_;
    stepLooks_ = kStepLooks;
    ReachSteppedPicture();
}

void GstFrameAccess::ReachSteppedPicture()
{
    int64_t shown = -1;
    int64_t duration = 0;
    if (output_ && output_->FrameTime(&shown, &duration) && shown == stepLeftNs_ && stepLooks_-- > 0) {
        stepLook_.start();
        return;
    }
    int64_t ns = 0;
    if (PictureStartNs(&ns))
        reached_(ns);
}

bool GstFrameAccess::PictureStartNs(int64_t *ns) const
{
    int64_t duration = 0;
    if (!output_ || !output_->FrameTime(ns, &duration))
        return false;
    if (*ns == steppedShows_)
        *ns = steppedFrom_; // the frame's start, as StepBack counts it
    return true;
}

HResult GstFrameAccess::GrabPicture(QImage *image, int64_t *positionMs)
{
    if (!image || !positionMs)
        return E_POINTER;
    if (!output_)
        return E_NOINTERFACE;
    QImage picture = output_->NativePicture();
    if (picture.isNull())
        return E_FAIL;
    int64_t ns = 0;
    if (!PictureStartNs(&ns) && !session_.PositionNs(&ns))
        ns = 0;
    *image = std::move(picture);
    *positionMs = ns / 1'000'000;
    return S_OK;
}

} // namespace velmo
