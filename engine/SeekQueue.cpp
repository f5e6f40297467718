#include "engine/SeekQueue.h"

#include "engine/GstSupport.h"

#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcSeek, "velmo.engine.seek")

SeekQueue::SeekQueue(GstElement *pipeline, std::function<void()> settled)
    : pipeline_(pipeline), settled_(std::move(settled))
{
    settle_.setSingleShot(true);
    settle_.callOnTimeout([this] {
        if (inFlight_ || !exactLanding_ || SendExactLanding())
            return;
        target_.reset();
        settled_();
    });
}

bool SeekQueue::Request(int64_t ns, double rate, SeekLanding landing)
{
    Q_ASSERT(OnUiThread());
    sinceAsk_.start();
    settle_.stop();
    const Pending seek{ns, rate, landing};
    exactLanding_.reset();
    // An exact landing in flight only refines a target the user has left:
    // a new ask replaces it at once.
    const bool refining =
        inFlight_ && inFlight_->landing == SeekLanding::Exact && landing == SeekLanding::KeyframeFirst;
    if (inFlight_ && !refining)
        waiting_ = seek;
    else if (!Send(seek))
        return false;
    target_ = ns;
    return true;
}

bool SeekQueue::Completed()
{
    if (!target_)
        return true;
    if (!inFlight_ && exactLanding_)
        return false; // a pause's ASYNC_DONE while the exact landing waits for quiet
    const std::optional<Pending> done = std::exchange(inFlight_, std::nullopt);
    if (waiting_ && Send(*std::exchange(waiting_, std::nullopt)))
        return false;
    if (done && done->landing == SeekLanding::KeyframeFirst) {
        exactLanding_ = Pending{done->ns, done->rate, SeekLanding::Exact};
        const qint64 quiet = sinceAsk_.elapsed();
        if (quiet < kSettleMs) {
            settle_.start(int(kSettleMs - quiet));
            return false;
        }
        if (SendExactLanding())
            return false;
    }
    target_.reset();
    return true;
}

bool SeekQueue::SendExactLanding()
{
    const Pending exact = *std::exchange(exactLanding_, std::nullopt);
    // A keyframe on the target (the start, say) is the exact landing already,
    // and a film that has played on from the keyframe to the target or past it
    // needs none (going back would repeat what was just shown).
    gint64 at = -1;
    constexpr int64_t kSameNs = GST_MSECOND;
    if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &at) && at >= exact.ns - kSameNs)
        return false;
    return Send(exact);
}

bool SeekQueue::KeepKeyframeLanding()
{
    if (!exactLanding_ || inFlight_)
        return false;
    settle_.stop();
    exactLanding_.reset();
    target_.reset();
    return true;
}

bool SeekQueue::Seekable() const
{
    GstQueryPtr query(gst_query_new_seeking(GST_FORMAT_TIME));
    gboolean seekable = FALSE;
    if (gst_element_query(pipeline_, query.get()))
        gst_query_parse_seeking(query.get(), nullptr, &seekable, nullptr, nullptr);
    return seekable;
}

void SeekQueue::Clear()
{
    settle_.stop();
    target_.reset();
    waiting_.reset();
    inFlight_.reset();
    exactLanding_.reset();
}

bool SeekQueue::Send(const Pending &seek)
{
    const auto landing = seek.landing == SeekLanding::Exact
                             ? GST_SEEK_FLAG_ACCURATE
                             : GstSeekFlags(GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE);
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | landing);
    // A demuxer snaps every stream to its own keyframe and starts at the
    // earliest. The picture's keyframe before the target is that one, since
    // every sound frame is a keyframe; only a keyframe exactly on the target
    // (the end jump of a film whose length is a whole number of groups) lets
    // the sound frame just before it pull the start before the keyframe, so
    // that the decoder would begin a whole group earlier. Aiming past the
    // longest sound frame (46 ms) keeps the keyframe the earliest.
    constexpr int64_t kPastSoundFrameNs = 50 * GST_MSECOND;
    const int64_t aim = seek.landing == SeekLanding::Exact ? seek.ns : seek.ns + kPastSoundFrameNs;
    if (gst_element_seek(pipeline_, seek.rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, aim, GST_SEEK_TYPE_NONE,
                         GST_CLOCK_TIME_NONE)) {
        inFlight_ = seek;
        return true;
    }
    qCInfo(lcSeek, "seek to %lld ns at rate %g refused", static_cast<long long>(seek.ns), seek.rate);
    return false;
}

} // namespace velmo
