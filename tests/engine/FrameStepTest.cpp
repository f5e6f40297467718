// Steps back through a group of pictures: the pictures decoded on the way by
// the first step are kept, and every later step shows what an exact seek to
// the same time shows, with the same position, without moving the stream.

#include "GraphFixture.h"

#include <QImage>

#include <vector>

namespace velmo::test {
namespace {

class FrameStepTest : public RealGraphTest {
protected:
    /// What the graph shows: the position it reports, the picture and its time.
    struct Shown {
        int64_t positionNs = -1;
        int64_t pictureMs = -1;
        QImage picture;
    };

    Shown Look()
    {
        Shown shown;
        int64_t units = 0;
        if (Succeeded(graph.seeking->GetCurrentPosition(&units)))
            shown.positionNs = units * 100;
        graph.frames->GrabPicture(&shown.picture, &shown.pictureMs);
        return shown;
    }
    /// The stream's own position, apart from any picture shown from elsewhere.
    int64_t StreamNs()
    {
        gint64 ns = -1;
        return gst_element_query_position(Pipeline(), GST_FORMAT_TIME, &ns) ? ns : -1;
    }
    bool Settled() { return gst_element_get_state(Pipeline(), nullptr, nullptr, 0) == GST_STATE_CHANGE_SUCCESS; }
    /// Waits until the picture of `ms` shows and the stream has settled.
    bool WaitForPicture(int64_t ms)
    {
        return WaitUntil([&] { return Look().pictureMs == ms && Settled(); });
    }
    HResult SeekExactly(int64_t ns)
    {
        int64_t units = ns / 100;
        return graph.seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    }
};

constexpr int64_t kFrameMs = 40; // the clip's 25 pictures a second

TEST_F(FrameStepTest, StepsBackShowWhatAnExactSeekShowsAndStepsForwardRetraceThem)
{
    // One keyframe, at the start: every step back decodes from there.
    ASSERT_EQ(Open(FixturePath("one_group.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    ASSERT_EQ(SeekExactly(2 * GST_SECOND), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Settled() && StreamNs() == 2 * GST_SECOND; }));
    const Shown start = Look();
    ASSERT_FALSE(start.picture.isNull());

    // The steps show pictures decoded apart and leave the stream where it stands.
    constexpr int kSteps = 8;
    std::vector<Shown> back;
    for (int i = 1; i <= kSteps; ++i) {
        ASSERT_EQ(graph.frames->StepBack(), S_OK) << i;
        ASSERT_TRUE(WaitForPicture(start.pictureMs - i * kFrameMs)) << i << ": " << Look().pictureMs;
        back.push_back(Look());
        EXPECT_NE(back.back().picture, i == 1 ? start.picture : back[i - 2].picture) << i;
        EXPECT_EQ(StreamNs(), 2 * GST_SECOND) << i;
    }

    // Forward again over the same pictures; the last step is the stream's own.
    for (int i = kSteps - 1; i >= 0; --i) {
        const QImage &expected = i ? back[i - 1].picture : start.picture;
        ASSERT_EQ(graph.frames->StepForward(), S_OK) << i;
        EXPECT_TRUE(WaitUntil([&] { return Settled() && Look().picture == expected; })) << i;
    }

    // Each step back against an exact seek to the position it reported.
    for (int i = 0; i < kSteps; ++i) {
        ASSERT_EQ(SeekExactly(back[i].positionNs), S_OK);
        ASSERT_TRUE(WaitUntil([&] { return Settled() && StreamNs() == back[i].positionNs; })) << i;
        const Shown exact = Look();
        EXPECT_EQ(exact.positionNs, back[i].positionNs) << i;
        EXPECT_EQ(exact.picture, back[i].picture) << i;
    }
}

TEST_F(FrameStepTest, ASeekForgetsTheKeptPicturesAndPlayGoesOnFromTheOneShown)
{
    ASSERT_EQ(Open(FixturePath("one_group.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    ASSERT_EQ(SeekExactly(2 * GST_SECOND), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Settled() && StreamNs() == 2 * GST_SECOND; }));
    const int64_t startMs = Look().pictureMs;
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(graph.frames->StepBack(), S_OK);
        ASSERT_TRUE(WaitForPicture(startMs - i * kFrameMs)) << i;
    }
    const int64_t stood = Look().positionNs;
    ASSERT_LT(stood, StreamNs());

    // A seek elsewhere forgets them; a step back while the stream still
    // seeks seeks the stream too, and the next one shows a kept picture.
    ASSERT_EQ(SeekExactly(stood + GST_SECOND / 2), S_OK);
    ASSERT_EQ(graph.frames->StepBack(), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Settled() && StreamNs() < stood + GST_SECOND / 2; }));
    const Shown sought = Look();
    ASSERT_EQ(graph.frames->StepBack(), S_OK);
    ASSERT_TRUE(WaitForPicture(sought.pictureMs - kFrameMs));
    EXPECT_EQ(StreamNs(), sought.positionNs);
    const Shown kept = Look();

    // Play goes on from the picture shown, not from where the stream stood.
    ASSERT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(Look().positionNs, kept.positionNs);
    ASSERT_TRUE(WaitUntil([&] { return Look().positionNs > kept.positionNs + 2 * kFrameMs * GST_MSECOND; }));

    // A step back as it pauses (as the player does) lets the stream stop and
    // leaves it there, showing what an exact seek shows.
    ASSERT_EQ(graph.control->Pause(), S_OK);
    ASSERT_EQ(graph.frames->StepBack(), S_OK);
    const int64_t wanted = Look().positionNs;
    ASSERT_TRUE(WaitUntil([&] { return Settled() && Look().pictureMs < wanted / GST_MSECOND; }));
    const Shown stopped = Look();
    EXPECT_EQ(stopped.positionNs, wanted);
    EXPECT_NE(StreamNs(), wanted); // not sought there
    ASSERT_EQ(SeekExactly(wanted), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Settled() && StreamNs() == wanted; }));
    EXPECT_EQ(Look().picture, stopped.picture);
}

} // namespace
} // namespace velmo::test
