#include "engine/KeptPictures.h"

#include "engine/DecodedPicture.h"

#include <algorithm>

namespace velmo {

void KeptPictures::Add(GstSamplePtr sample)
{
    int64_t start = 0;
    int64_t duration = 0;
    if (!sample || !SampleFrameTime(sample.get(), &start, &duration))
        return;
    if (!pictures_.empty() && start <= pictures_.back().startNs)
        return;
    const size_t bytes = gst_buffer_get_size(gst_sample_get_buffer(sample.get()));
    pictures_.push_back({std::move(sample), start, duration, bytes});
    bytes_ += bytes;
    while (bytes_ > byteCap_ && pictures_.size() > 1) {
        bytes_ -= pictures_.front().bytes;
        pictures_.pop_front();
    }
}

KeptPictures::Picture KeptPictures::At(int64_t ns) const
{
    const auto after = std::upper_bound(pictures_.begin(), pictures_.end(), ns,
                                        [](int64_t t, const Entry &e) { return t < e.startNs; });
    if (after == pictures_.begin())
        return {};
    const Entry &entry = *std::prev(after);
    // Between two kept pictures the earlier one shows; past the newest only within its span.
    if (after == pictures_.end() && ns >= entry.startNs + std::max<int64_t>(entry.durationNs, 1))
        return {};
    return Copy(entry);
}

KeptPictures::Picture KeptPictures::After(int64_t startNs) const
{
    const auto next = std::upper_bound(pictures_.begin(), pictures_.end(), startNs,
                                       [](int64_t t, const Entry &e) { return t < e.startNs; });
    return next == pictures_.end() ? Picture{} : Copy(*next);
}

void KeptPictures::Clear()
{
    pictures_.clear();
    bytes_ = 0;
}

// A copy of its own: a decoder's pool frees its pictures only once every one
// has come back, so one picture kept by the screen would keep them all.
KeptPictures::Picture KeptPictures::Copy(const Entry &entry)
{
    GstSample *sample = entry.sample.get();
    GstBuffer *copy = gst_buffer_copy_deep(gst_sample_get_buffer(sample));
    GstSamplePtr own(gst_sample_new(copy, gst_sample_get_caps(sample), gst_sample_get_segment(sample), nullptr));
    gst_buffer_unref(copy);
    return {std::move(own), entry.startNs};
}

} // namespace velmo
