// Pictures turned as they are shown: the eight orientations and how they
// compose, and phone clips tagged with a turn coming out upright through real
// pipelines, in the frames shown, the picture grabbed, the pictures kept for
// steps back and the size reported.

#include "engine/GstVideoOutput.h"
#include "engine/Orientation.h"
#include "FrameRecorder.h"
#include "GraphFixture.h"

#include <gtest/gtest.h>

namespace velmo::test {
namespace {

TEST(Orientation, TagsNameEightTurnsAndAnythingElseIsUpright)
{
    // Where the top-left pixel of a 4x2 picture lands, and the size it becomes.
    const struct {
        const char *tag;
        QPoint topLeft;
        QSize size;
    } cases[] = {
        {"rotate-0", {0, 0}, {4, 2}},        {"rotate-90", {1, 0}, {2, 4}},
        {"rotate-180", {3, 1}, {4, 2}},      {"rotate-270", {0, 3}, {2, 4}},
        {"flip-rotate-0", {3, 0}, {4, 2}},   {"flip-rotate-90", {0, 0}, {2, 4}},
        {"flip-rotate-180", {0, 1}, {4, 2}}, {"flip-rotate-270", {1, 3}, {2, 4}},
        {"rotate-45", {0, 0}, {4, 2}},       {"ROTATE-90", {0, 0}, {4, 2}},
        {"rotate-90 ", {0, 0}, {4, 2}},      {"", {0, 0}, {4, 2}},
        {nullptr, {0, 0}, {4, 2}},
    };
    for (const auto &c : cases) {
        const Orientation turn = Orientation::FromTag(c.tag);
        EXPECT_EQ(turn.Map({0, 0}, {4, 2}), c.topLeft) << (c.tag ? c.tag : "null");
        EXPECT_EQ(turn.Turned({4, 2}), c.size) << (c.tag ? c.tag : "null");
    }
    // The user's turn and flips are among them.
    EXPECT_EQ(kQuarterTurn, Orientation::FromTag("rotate-90"));
    EXPECT_EQ(kMirrorLeftRight, Orientation::FromTag("flip-rotate-0"));
    EXPECT_EQ(kMirrorTopBottom, Orientation::FromTag("flip-rotate-180"));
}

TEST(Orientation, OneThenAnotherMovesEveryPixelAsTheTwoInTurn)
{
    const QSize size(4, 2);
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            const Orientation first(a % 4, a >= 4);
            const Orientation second(b % 4, b >= 4);
            const Orientation both = first.Then(second);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    ASSERT_EQ(both.Map({x, y}, size), second.Map(first.Map({x, y}, size), first.Turned(size)))
                        << a << " then " << b << " at " << x << "," << y;
        }
    }
    // A phone's quarter turn, then the user's: upside down; three more: upright.
    EXPECT_EQ(kQuarterTurn.Then(kQuarterTurn), Orientation::FromTag("rotate-180"));
    EXPECT_TRUE(Orientation::FromTag("rotate-270").Then(kQuarterTurn).Upright());
}

/// Which quarter of a fixture's picture is red, the other three blue: 0 top
/// left, 1 top right, 2 bottom left, 3 bottom right; -1 for any other picture.
int RedQuarter(const QImage &image)
{
    int red = -1;
    for (int q = 0; q < 4; ++q) {
        const QRgb c = image.pixel((q % 2 * 2 + 1) * image.width() / 4, (q / 2 * 2 + 1) * image.height() / 4);
        const bool isRed = qRed(c) > 180 && qBlue(c) < 80;
        if (!isRed && !(qBlue(c) > 180 && qRed(c) < 80))
            return -1;
        if (isRed && std::exchange(red, q) >= 0)
            return -1;
    }
    return red;
}

constexpr int kTopLeft = 0;
constexpr int kTopRight = 1;

class TurnedClips : public RealGraphTest {
protected:
    void SetUp() override
    {
        RealGraphTest::SetUp();
        screen = &recorder;
        recorder.resize(320, 240);
    }
    QSize VideoSize()
    {
        int32_t width = 0;
        int32_t height = 0;
        return Succeeded(graph.basicVideo->GetVideoSize(&width, &height)) ? QSize(width, height) : QSize();
    }
    QImage Grabbed()
    {
        QImage picture;
        int64_t ms = 0;
        return Succeeded(graph.frames->GrabPicture(&picture, &ms)) ? picture : QImage();
    }

    FrameRecorder recorder;
};

TEST_F(TurnedClips, EachTaggedClipShowsUprightAtItsTurnedSize)
{
    for (const char *clip : {"turn_upright.mp4", "turn_90.mp4", "turn_180.mp4", "turn_270.mp4"}) {
        SCOPED_TRACE(clip);
        ASSERT_EQ(Open(FixturePath(clip)), S_OK);
        // Known at the open, so the window is fitted before the first picture.
        EXPECT_EQ(VideoSize(), QSize(240, 320));
        graph.SetVideoRect(0, 0, 320, 240);
        // Scaled to its place, 3:4 letter-boxed in 320x240, and turned.
        ASSERT_TRUE(WaitUntil([&] { return recorder.last.image.size() == QSize(180, 240); }));
        EXPECT_EQ(recorder.last.picture, QRect(70, 0, 180, 240));
        EXPECT_EQ(RedQuarter(recorder.last.image), kTopLeft);
        const QImage grabbed = Grabbed();
        EXPECT_EQ(grabbed.size(), QSize(240, 320));
        EXPECT_EQ(RedQuarter(grabbed), kTopLeft);
        graph.Close();
        recorder.shown = 0;
    }
}

TEST_F(TurnedClips, KeptPicturesAndTheUsersTurnFollowTheTag)
{
    ASSERT_EQ(Open(FixturePath("turn_90.mp4")), S_OK);
    graph.SetVideoRect(0, 0, 320, 240);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    int64_t units = 6'000'000; // 0.6 s
    ASSERT_EQ(graph.seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_TRUE(WaitUntil([&] { return gst_element_get_state(Pipeline(), nullptr, nullptr, 0) == GST_STATE_CHANGE_SUCCESS; }));
    for (int step = 0; step < 3; ++step) {
        const int before = recorder.shown;
        ASSERT_EQ(graph.frames->StepBack(), S_OK);
        ASSERT_TRUE(WaitUntil([&] { return recorder.shown > before; })) << step;
        EXPECT_EQ(recorder.last.image.size(), QSize(180, 240)) << step;
        EXPECT_EQ(RedQuarter(recorder.last.image), kTopLeft) << step;
    }
    // The user's quarter turn after the phone's: on its side, the other way.
    auto output = std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer);
    output->SetUserTurn(kQuarterTurn);
    EXPECT_EQ(VideoSize(), QSize(320, 240));
    EXPECT_EQ(recorder.last.picture, QRect(0, 0, 320, 240));
    EXPECT_EQ(RedQuarter(recorder.last.image), kTopRight);
    EXPECT_EQ(RedQuarter(Grabbed()), kTopRight);
}

TEST(TurnedOutput, TagsNoDemuxerCarriesTurnTheirClipsAndUnknownOnesLeaveThemAsStored)
{
    VELMO_SKIP_UNLESS_PLAYBACK();
    VELMO_SKIP_UNLESS_PRESENT({"taginject", "uridecodebin"});
    // The mirrored clip is stored mirrored; the upright one is tagged with a
    // turn no picture takes, as a hostile file may be.
    const struct {
        const char *clip;
        const char *tag;
    } cases[] = {{"turn_mirrored.mkv", "flip-rotate-0"}, {"turn_upright.mp4", "rotate-45"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clip);
        HResult result = E_FAIL;
        auto output = GstVideoOutput::Create(&result);
        ASSERT_TRUE(output);
        FrameRecorder owner;
        owner.resize(240, 320);
        output->SetOwner(&owner);
        const std::string description = "uridecodebin uri=file://" + FixturePath(c.clip) +
                                        " ! taginject tags=\"image-orientation=" + c.tag + "\" ! identity name=last";
        GError *error = nullptr;
        GstElementPtr pipeline(gst_parse_launch(description.c_str(), &error));
        GErrorPtr failure(error);
        ASSERT_TRUE(pipeline);
        GstElementPtr last(gst_bin_get_by_name(GST_BIN(pipeline.get()), "last"));
        gst_bin_add(GST_BIN(pipeline.get()), output->Bin());
        ASSERT_TRUE(gst_element_link(last.get(), output->Bin()));
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        const bool shown = WaitUntil([&] { return owner.shown >= 2; });
        QSize size;
        EXPECT_TRUE(output->NegotiatedSize(&size));
        const QImage native = output->NativePicture();
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        ASSERT_TRUE(shown);
        EXPECT_EQ(size, QSize(240, 320));
        EXPECT_EQ(RedQuarter(owner.last.image), kTopLeft);
        EXPECT_EQ(RedQuarter(native), kTopLeft);
        output->SetOwner(nullptr);
    }
}

} // namespace
} // namespace velmo::test
