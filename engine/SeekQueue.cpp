#include "engine/SeekQueue.h"

#include "engine/GstSupport.h"

#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcSeek, "velmo.engine.seek")

bool SeekQueue::Request(int64_t ns, double rate)
{
    Q_ASSERT(OnUiThread());
    if (target_)
        waiting_ = Pending{ns, rate};
    else if (!Send({ns, rate}))
        return false;
    target_ = ns;
    return true;
}

bool SeekQueue::Completed()
{
    if (!target_)
        return true;
    if (waiting_ && Send(*std::exchange(waiting_, std::nullopt)))
        return false;
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
    target_.reset();
    waiting_.reset();
}

bool SeekQueue::Send(const Pending &seek)
{
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (gst_element_seek(pipeline_, seek.rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, seek.ns, GST_SEEK_TYPE_NONE,
                         GST_CLOCK_TIME_NONE))
        return true;
    qCInfo(lcSeek, "seek to %lld ns at rate %g refused", static_cast<long long>(seek.ns), seek.rate);
    return false;
}

} // namespace velmo
