// The pictures kept for steps back: which one shows at a time, which one
// follows, and which go when the byte cap is reached.

#include "engine/KeptPictures.h"

#include <gst/gst.h>
#include <gst/video/video.h>

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

constexpr int64_t kMs = GST_MSECOND;

/// A decoded picture of a 25-pictures-a-second stream starting at `ms`, `bytes` large.
GstSamplePtr Picture(int64_t ms, size_t bytes = 1000)
{
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    GST_BUFFER_PTS(buffer) = ms * kMs;
    GST_BUFFER_DURATION(buffer) = 40 * kMs;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "I420", "width", G_TYPE_INT, 32,
                                        "height", G_TYPE_INT, 16, "framerate", GST_TYPE_FRACTION, 25, 1, nullptr);
    GstSegment segment;
    gst_segment_init(&segment, GST_FORMAT_TIME);
    GstSamplePtr sample(gst_sample_new(buffer, caps, &segment, nullptr));
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    return sample;
}

KeptPictures Kept(const std::vector<int64_t> &starts, size_t cap = 1 << 20)
{
    KeptPictures kept(cap);
    for (int64_t ms : starts)
        kept.Add(Picture(ms));
    return kept;
}

TEST(KeptPicturesTest, ThePictureShownAtATimeIsTheLastToStartByThen)
{
    const KeptPictures kept = Kept({1000, 1040, 1080});
    struct Case {
        int64_t ns;
        int64_t expectedMs; // -1: none kept
    };
    const Case cases[] = {
        {999 * kMs, -1},          // before the first
        {1000 * kMs, 1000},       // on a start
        {1039 * kMs + 999999, 1000},
        {1040 * kMs, 1040},       // the next start belongs to the next picture
        {1060 * kMs, 1040},       // the middle, where a step back aims
        {1119 * kMs, 1080},       // within the newest one's span
        {1120 * kMs, -1},         // past it: decoded apart, not kept
    };
    for (const Case &c : cases) {
        const KeptPictures::Picture picture = kept.At(c.ns);
        EXPECT_EQ(picture.sample ? picture.startNs / kMs : -1, c.expectedMs) << c.ns;
    }
}

TEST(KeptPicturesTest, ThePictureAfterOneIsTheNextKept)
{
    const KeptPictures kept = Kept({1000, 1040, 1080});
    const std::pair<int64_t, int64_t> cases[] = {{1000, 1040}, {1020, 1040}, {1040, 1080}, {1080, -1}, {0, 1000}};
    for (const auto &[fromMs, expectedMs] : cases) {
        const KeptPictures::Picture next = kept.After(fromMs * kMs);
        EXPECT_EQ(next.sample ? next.startNs / kMs : -1, expectedMs) << fromMs;
    }
}

TEST(KeptPicturesTest, TheOldestGoWhenTheBytesPassTheCapAndRepeatsAreNotKept)
{
    struct Case {
        const char *what;
        std::vector<int64_t> added;
        size_t cap;
        size_t count;
        int64_t firstMs;
    };
    const Case cases[] = {
        {"within the cap", {0, 40, 80}, 3000, 3, 0},
        {"one over", {0, 40, 80, 120}, 3000, 3, 40},
        {"a cap smaller than one picture keeps the newest", {0, 40}, 10, 1, 40},
        {"the same picture twice", {0, 40, 40}, 3000, 2, 0},
        {"an older picture after a newer one", {40, 0, 80}, 3000, 2, 40},
    };
    for (const Case &c : cases) {
        const KeptPictures kept = Kept(c.added, c.cap);
        EXPECT_EQ(kept.Count(), c.count) << c.what;
        EXPECT_EQ(kept.Bytes(), c.count * 1000) << c.what;
        EXPECT_EQ(kept.After(-1).startNs / kMs, c.firstMs) << c.what;
    }
}

} // namespace
} // namespace velmo
