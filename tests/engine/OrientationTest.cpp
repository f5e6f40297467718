// Pictures turned as they are shown: the eight orientations and how they
// compose, and phone clips tagged with a turn coming out upright through the
// real pipeline: the frames shown and kept, the picture grabbed, the size.

#include "engine/GstVideoOutput.h"
#include "FrameRecorder.h"
#include "GraphFixture.h"

namespace velmo::test {
namespace {

Orientation Tag(const char *value)
{
    return Orientation::FromTag(value);
}

TEST(Orientation, TagsNameEightTurnsThatComposeAndAnythingElseIsUpright)
{
    // Where the top-left pixel of a 4x2 picture lands, and the size it becomes.
    const struct {
        Orientation turn;
        QPoint topLeft;
        QSize size;
    } cases[] = {
        {Tag("rotate-0"), {0, 0}, {4, 2}},        {Tag("rotate-90"), {1, 0}, {2, 4}},
        {Tag("rotate-180"), {3, 1}, {4, 2}},      {Tag("rotate-270"), {0, 3}, {2, 4}},
        {Tag("flip-rotate-0"), {3, 0}, {4, 2}},   {Tag("flip-rotate-90"), {0, 0}, {2, 4}},
        {Tag("flip-rotate-180"), {0, 1}, {4, 2}}, {Tag("flip-rotate-270"), {1, 3}, {2, 4}},
        {Tag("rotate-45"), {0, 0}, {4, 2}},       {Tag("ROTATE-90"), {0, 0}, {4, 2}},
        {Tag(""), {0, 0}, {4, 2}},                {Tag(nullptr), {0, 0}, {4, 2}},
        // A phone's turn, then the user's turns and flips.
        {Tag("rotate-90").Then(kQuarterTurn), {3, 1}, {4, 2}},
        {Tag("rotate-270").Then(kQuarterTurn), {0, 0}, {4, 2}},
        {Tag("rotate-90").Then(kMirrorLeftRight), {0, 0}, {2, 4}},
        {Tag("rotate-90").Then(kMirrorTopBottom), {1, 3}, {2, 4}},
        {kMirrorLeftRight.Then(kQuarterTurn), {1, 3}, {2, 4}},
        {kMirrorTopBottom.Then(kMirrorLeftRight), {3, 1}, {4, 2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].turn.Map({0, 0}, {4, 2}), cases[i].topLeft) << i;
        EXPECT_EQ(cases[i].turn.Turned({4, 2}), cases[i].size) << i;
    }
}

/// Which quarter of a fixture's picture is red, the other three blue: 0 top
/// left, 1 top right, 2 bottom left, 3 bottom right; -1 for any other picture.
int RedQuarter(const QImage &image)
{
    int red = -1;
    for (int q = 0; q < 4; ++q) {
        const QRgb c = image.pixel((q % 2 * 2 + 1) * image.width() / 4, (q / 2 * 2 + 1) * image.height() / 4);
        const bool isRed = qRed(c) > 180 && qBlue(c) < 80;
        if ((!isRed && !(qBlue(c) > 180 && qRed(c) < 80)) || (isRed && std::exchange(red, q) >= 0))
            return -1;
    }
    return red;
}

class TurnedClips : public RealGraphTest {
protected:
    /// Opens `clip` into the recorder's 320x240 and waits for a frame fitted there.
    void OpenFitted(const char *clip, const QSize &fitted)
    {
        screen = &recorder;
        recorder.resize(320, 240);
        ASSERT_EQ(Open(FixturePath(clip)), S_OK);
        graph.SetVideoRect(0, 0, 320, 240);
        ASSERT_TRUE(WaitUntil([&] { return recorder.last.image.size() == fitted; }));
    }
    QSize VideoSize()
    {
        int32_t width = 0;
        int32_t height = 0;
        graph.basicVideo->GetVideoSize(&width, &height);
        return QSize(width, height);
    }
    QImage Grabbed()
    {
        QImage picture;
        int64_t ms = 0;
        graph.frames->GrabPicture(&picture, &ms);
        return picture;
    }
    FrameRecorder recorder;
};

TEST_F(TurnedClips, EachTaggedClipShowsUprightAtItsTurnedSize)
{
    for (const char *clip : {"turn_upright.mp4", "turn_90.mp4", "turn_180.mp4", "turn_270.mp4"}) {
        SCOPED_TRACE(clip);
        OpenFitted(clip, {180, 240}); // 3:4, letter-boxed
        EXPECT_EQ(VideoSize(), QSize(240, 320));
        EXPECT_EQ(recorder.last.picture, QRect(70, 0, 180, 240));
        EXPECT_EQ(RedQuarter(recorder.last.image), 0);
        const QImage grabbed = Grabbed(); // as screenshots take it
        EXPECT_EQ(grabbed.size(), QSize(240, 320));
        EXPECT_EQ(RedQuarter(grabbed), 0);
        graph.Close();
    }
}

TEST_F(TurnedClips, KeptPicturesAndTheUsersTurnFollowTheTag)
{
    OpenFitted("turn_90.mp4", {180, 240});
    ASSERT_EQ(graph.control->Pause(), S_OK);
    int64_t units = 6'000'000; // 0.6 s
    ASSERT_EQ(graph.seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_TRUE(WaitUntil([&] { return gst_element_get_state(Pipeline(), nullptr, nullptr, 0) ==
                                        GST_STATE_CHANGE_SUCCESS; }));
    const int shown = recorder.shown;
    ASSERT_EQ(graph.frames->StepBack(), S_OK); // a picture decoded apart and kept
    ASSERT_TRUE(WaitUntil([&] { return recorder.shown > shown; }));
    EXPECT_EQ(RedQuarter(recorder.last.image), 0);
    // The user's quarter turn after the phone's: the red quarter goes top right.
    std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer)->SetUserTurn(kQuarterTurn);
    EXPECT_EQ(VideoSize(), QSize(320, 240));
    EXPECT_EQ(RedQuarter(recorder.last.image), 1);
    EXPECT_EQ(RedQuarter(Grabbed()), 1);
}

TEST_F(TurnedClips, AClipStoredMirroredShowsUprightMirroredBack)
{
    // No demuxer of GStreamer 1.22 reports a mirroring: the user's flip does the same.
    OpenFitted("turn_mirrored.mkv", {180, 240});
    EXPECT_EQ(RedQuarter(recorder.last.image), 1);
    std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer)->SetUserTurn(kMirrorLeftRight);
    EXPECT_EQ(RedQuarter(recorder.last.image), 0);
    EXPECT_EQ(RedQuarter(Grabbed()), 0);
}

} // namespace
} // namespace velmo::test
