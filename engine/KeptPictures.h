#pragma once

#include "engine/GstHandles.h"

#include <cstddef>
#include <cstdint>
#include <deque>

namespace velmo {

/// Decoded pictures of one stretch of a stream, in the order of their times,
/// for stepping back without decoding again. Bounded by bytes: the oldest
/// pictures go first, so those nearest the stretch's end stay (the newest
/// one always does). Not thread-safe: one owner at a time.
class KeptPictures {
public:
    /// A copy of one kept picture and where it starts in its medium (stream time, ns).
    struct Picture {
        GstSamplePtr sample;
        int64_t startNs = -1;
    };

    explicit KeptPictures(size_t byteCap) : byteCap_(byteCap) {}

    /// Keeps `sample` when it starts after the newest kept picture (a
    /// picture handed over twice, or out of order, is not kept again).
    void Add(GstSamplePtr sample);
    /// The picture shown at `ns`: the last one starting at or before it,
    /// provided `ns` falls within its time span; empty when none is kept for `ns`.
    Picture At(int64_t ns) const;
    /// The picture after the one starting at `startNs`; empty when it is the newest.
    Picture After(int64_t startNs) const;
    /// Forgets every picture.
    void Clear();
    bool Empty() const { return pictures_.empty(); }
    size_t Count() const { return pictures_.size(); }
    size_t Bytes() const { return bytes_; }

private:
    struct Entry {
        GstSamplePtr sample;
        int64_t startNs;
        int64_t durationNs; ///< by the stream's rate; 0 when unknown
        size_t bytes;
    };
    static Picture Copy(const Entry &entry);

    size_t byteCap_;
    size_t bytes_ = 0;
    std::deque<Entry> pictures_;
};

} // namespace velmo
