// MediaGraph on real GStreamer pipelines, with media made by tests/fixtures.

#include "engine/DecoderThreads.h"
#include "GraphFixture.h"
#include "fixtures/MediaFixtures.h"
#include "support/TempDir.h"

#include <gst/audio/streamvolume.h>

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>

using namespace velmo;
using velmo::test::FixturePath;
using velmo::test::WaitUntil;

namespace {

class GstMediaGraph : public test::RealGraphTest {
protected:
    void SetUp() override
    {
        RealGraphTest::SetUp();
        graph.SetVolumeLevelSource(&volumeLevel);
    }

    double Position()
    {
        double s = -1;
        EXPECT_EQ(graph.position->get_CurrentPosition(&s), S_OK);
        return s;
    }
    double Duration()
    {
        double s = -1;
        EXPECT_EQ(graph.position->get_Duration(&s), S_OK);
        return s;
    }
    int32_t State()
    {
        int32_t s = -1;
        EXPECT_EQ(graph.control->GetState(0, &s), S_OK);
        return s;
    }

    int32_t volumeLevel = 0;
};

TEST_F(GstMediaGraph, EachFormatOpensWithItsSizeAndDurationThenCloses)
{
    struct Case {
        const char *file;
        int width, height;
        double duration;
    };
    const Case cases[] = {
        {"clip.avi", 320, 240, 2.0},      {"clip.mkv", 320, 240, 2.0},     {"clip.mp4", 320, 240, 2.0},
        {"clip.wmv", 320, 240, 2.0},      {"gst_video.mkv", 160, 120, 2.0}, {"wide_pixels.mkv", 640, 240, 2.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Open(FixturePath(c.file)), S_OK);
        ASSERT_TRUE(graph.graph);
        EXPECT_EQ(graph.videoWidth, c.width);
        EXPECT_EQ(graph.videoHeight, c.height);
        EXPECT_NEAR(Duration(), c.duration, 0.15);
        EXPECT_EQ(State(), State_Running);
        EXPECT_EQ(graph.Close(), S_OK);
        EXPECT_FALSE(graph.graph || graph.control || graph.position);
    }
}

TEST_F(GstMediaGraph, AudioOnlyMediaKeepsThePreviousVideoSize)
{
    ASSERT_EQ(Open(FixturePath("audio.mp3")), S_OK);
    EXPECT_EQ(graph.videoWidth, 0);
    int32_t w = 7, h = 9;
    EXPECT_LT(graph.basicVideo->GetVideoSize(&w, &h), 0);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 9);
    ASSERT_EQ(Open(FixturePath("gst_video.mkv")), S_OK);
    ASSERT_EQ(Open(FixturePath("audio.wav")), S_OK);
    EXPECT_EQ(graph.videoWidth, 160);
    EXPECT_EQ(graph.videoHeight, 120);
    EXPECT_NEAR(Duration(), 2.0, 0.1);
}

TEST_F(GstMediaGraph, BrokenFilesFailAndLeaveNoGraph)
{
    for (const char *file : {"missing.avi", "empty.avi", "random.avi", "text.avi", "truncated.mp4", "lyrics.avi"}) {
        SCOPED_TRACE(file);
        EXPECT_LT(Open(FixturePath(file)), 0);
        EXPECT_FALSE(graph.graph);
        EXPECT_FALSE(graph.events);
    }
    // Still usable afterwards.
    EXPECT_EQ(Open(FixturePath("clip.mkv")), S_OK);
}

// A medium begun before its open (the command line's, while the window is
// made) is taken by the open of the same path; anything else starts over.
TEST_F(GstMediaGraph, AMediumBegunEarlyIsTakenOnlyByTheOpenOfItsPath)
{
    struct Case {
        const char *begun;
        const char *opened;
        bool taken;
        bool opens;
    } cases[] = {
        {"clip.mkv", "clip.mkv", true, true},
        {"clip.mkv", "clip.mp4", false, true},
        {"audio.mp3", "audio.mp3", true, true},
        {"random.avi", "random.avi", false, false},
        {"missing.avi", "missing.avi", false, false},
    };
    std::shared_ptr<MediaBackend> backend = CreateGstMediaBackend();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.begun) + " then " + c.opened);
        PrefetchedMedia early = PrefetchMedia(*backend, FixturePath(c.begun));
        std::weak_ptr<GraphBuilder> begun = early.graph;
        graph.AdoptPrefetch(std::move(early));
        const HResult opened = Open(FixturePath(c.opened));
        EXPECT_EQ(opened == S_OK, c.opens);
        EXPECT_EQ(graph.graph && graph.graph == begun.lock(), c.taken);
        if (c.opens) {
            EXPECT_TRUE(WaitUntil([&] { return State() == State_Running; }));
            EXPECT_GT(Duration(), 1.5);
        }
        graph.Close();
        // Nothing begun outlives the open that did not take it.
        EXPECT_TRUE(begun.expired());
    }
    // A Close discards what was begun.
    PrefetchedMedia early = PrefetchMedia(*backend, FixturePath("clip.mkv"));
    std::weak_ptr<GraphBuilder> begun = early.graph;
    ASSERT_FALSE(begun.expired());
    graph.AdoptPrefetch(std::move(early));
    graph.Close();
    EXPECT_TRUE(begun.expired());
}

TEST(DecoderThreads, FrameThreadsOnlyWhereOneCoreMayNotKeepUp)
{
    struct Case {
        const char *type;
        int width, height, rateNum, rateDen;
        bool frames;
    } cases[] = {
        {"video/x-h264", 1920, 1080, 30, 1, false},  // 1080p30: one core
        {"video/x-h264", 1920, 1088, 30, 1, false},  // as coded: still one core
        {"video/x-h264", 1920, 1080, 30000, 1001, false},
        {"video/x-h264", 1920, 1080, 60, 1, true},   // twice the rate
        {"video/x-h264", 3840, 2160, 24, 1, true},   // 4K at any rate
        {"video/x-h264", 1920, 1080, 0, 1, false},   // rate unknown: taken as 30
        {"video/x-h264", 2560, 1440, 0, 1, true},
        {"video/mpeg", 640, 360, 30, 1, false},
        {"video/x-h265", 640, 360, 30, 1, true},     // heavy codecs keep frame threads
        {"video/x-vp9", 320, 240, 25, 1, true},
        {"video/x-av1", 320, 240, 25, 1, true},
        {"video/x-h264", 0, 0, 25, 1, true},         // no size: libav's own choice
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.width) + "x" + std::to_string(c.height) + "@" +
                     std::to_string(c.rateNum) + "/" + std::to_string(c.rateDen));
        EXPECT_EQ(WantsFrameThreads(c.type, c.width, c.height, c.rateNum, c.rateDen), c.frames);
    }
}

namespace {

// The thread-type flags of the pipeline's libav video decoder; -1 without one.
int DecoderThreadType(GstElement *pipeline)
{
    int found = -1;
    GstIteratorPtr it(gst_bin_iterate_recurse(GST_BIN(pipeline)));
    GValue item = G_VALUE_INIT;
    while (found < 0 && gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        GstElement *element = GST_ELEMENT(g_value_get_object(&item));
        if (g_str_has_prefix(GST_OBJECT_NAME(element), "avdec_h264")) {
            guint flags = 0;
            g_object_get(element, "thread-type", &flags, nullptr);
            found = int(flags);
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return found;
}

// Encodes a few pictures of the size and rate given to H.264 in Matroska.
bool MakeH264Clip(const std::string &path, int width, int height, int rate)
{
    const std::string line = "videotestsrc num-buffers=3 ! video/x-raw,format=I420,width=" + std::to_string(width) +
                             ",height=" + std::to_string(height) + ",framerate=" + std::to_string(rate) +
                             "/1 ! x264enc speed-preset=ultrafast ! matroskamux ! filesink location=\"" + path + "\"";
    GstElementPtr pipeline(gst_parse_launch(line.c_str(), nullptr));
    if (!pipeline)
        return false;
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    GstMessagePtr end(gst_bus_timed_pop_filtered(bus.get(), 20 * GST_SECOND,
                                                 GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS;
}

} // namespace

// The decoder is told its threads from the stream it gets: slice threads for
// a small picture (no picture held per thread), libav's own choice for one
// above 1080p30.
TEST_F(GstMediaGraph, TheDecoderGetsFrameThreadsOnlyForLargePictures)
{
    test::TempDir dir;
    const std::string large = dir.path("large.mkv");
    ASSERT_TRUE(MakeH264Clip(large, 2560, 1440, 30));
    const struct {
        std::string file;
        int threadType;
    } cases[] = {{FixturePath("clip.mkv"), 2 /* slice */}, {large, 0 /* auto */}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Open(c.file), S_OK);
        EXPECT_EQ(DecoderThreadType(Pipeline()), c.threadType);
        graph.Close();
    }
}

TEST_F(GstMediaGraph, APictureThatGrowsInMidStreamIsReportedAsASizeChange)
{
    ASSERT_EQ(Open(FixturePath("size_change.ts")), S_OK);
    EXPECT_EQ(graph.videoWidth, 160);
    EXPECT_EQ(graph.videoHeight, 120);
    std::vector<test::DrainedEvent> sizes;
    ASSERT_TRUE(WaitUntil([&] {
        for (const test::DrainedEvent &e : test::Drain(*graph.events))
            if (e.code == EC_VIDEO_SIZE_CHANGED)
                sizes.push_back(e);
        return !sizes.empty();
    }));
    // The width in the low word, the height in the high word.
    EXPECT_EQ(sizes[0].value, 320 | (240 << 16));
    EXPECT_TRUE(graph.RefreshVideoSize());
    EXPECT_EQ(graph.videoWidth, 320);
    EXPECT_EQ(graph.videoHeight, 240);
    EXPECT_FALSE(graph.RefreshVideoSize());
}

TEST_F(GstMediaGraph, StateChangesAreReportedAtOnce)
{
    ASSERT_EQ(Open(FixturePath("long.mkv")), S_OK);
    EXPECT_EQ(State(), State_Running);
    EXPECT_EQ(graph.control->Pause(), S_OK);
    EXPECT_EQ(State(), State_Paused);
    EXPECT_EQ(graph.control->Stop(), S_OK);
    EXPECT_EQ(State(), State_Stopped);
    // Stopped keeps the position and still seeks.
    EXPECT_EQ(graph.position->put_CurrentPosition(1.5), S_OK);
    EXPECT_NEAR(Position(), 1.5, 0.05);
    EXPECT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(State(), State_Running);
    ASSERT_TRUE(WaitUntil([&] { return Position() > 1.6; }));
}

TEST_F(GstMediaGraph, SeeksAreAccurateAndSeekByClampsAtBothEnds)
{
    ASSERT_EQ(Open(FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    const double duration = Duration();

    EXPECT_EQ(graph.position->put_CurrentPosition(1.0), S_OK);
    EXPECT_NEAR(Position(), 1.0, 0.01);
    ASSERT_TRUE(WaitUntil([&] {
        int64_t p = 0;
        graph.seeking->GetCurrentPosition(&p);
        return std::abs(p - 10'000'000) < 400'000;
    }));

    // Back 5 s from 1 s lands at 0.
    EXPECT_EQ(graph.SeekBy(50'000'000, false), S_OK);
    EXPECT_NEAR(Position(), 0.0, 0.01);
    // Forward 30 s lands exactly at the duration.
    EXPECT_EQ(graph.SeekBy(300'000'000, true), S_OK);
    EXPECT_NEAR(Position(), duration, 0.01);
    // And forward 1 s from 0.5 s lands at 1.5 s.
    EXPECT_EQ(graph.position->put_CurrentPosition(0.5), S_OK);
    EXPECT_EQ(graph.SeekBy(10'000'000, true), S_OK);
    EXPECT_NEAR(Position(), 1.5, 0.01);
    ASSERT_TRUE(WaitUntil([&] { return std::abs(Position() - 1.5) < 0.05; }));
}

// A dragged timeline asks for a position at every step: the seeks that reach
// the pipeline are far fewer than the asks, and the last one asked is where
// the pipeline ends. Meanwhile the position read is the newest asked.
TEST_F(GstMediaGraph, ABurstOfSeeksEndsAtTheLastAndSendsFarFewer)
{
    ASSERT_EQ(Open(FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    GstElement *output = std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer)->Bin();
    GstPadPtr pad(gst_element_get_static_pad(output, "sink"));
    std::atomic<int> seeks{0};
    const gulong probe = gst_pad_add_probe(
        pad.get(), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM,
        [](GstPad *, GstPadProbeInfo *info, gpointer count) {
            if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_SEEK)
                ++*static_cast<std::atomic<int> *>(count);
            return GST_PAD_PROBE_OK;
        },
        &seeks, nullptr);

    double last = 0;
    for (int i = 1; i <= 50; ++i) {
        last = 0.05 * i;
        ASSERT_EQ(graph.position->put_CurrentPosition(last), S_OK);
        EXPECT_NEAR(Position(), last, 1e-6);
        QCoreApplication::processEvents(); // what a drag lets run between steps
    }
    ASSERT_TRUE(WaitUntil([&] {
        gint64 ns = -1;
        return gst_element_query_position(Pipeline(), GST_FORMAT_TIME, &ns) &&
               std::abs(double(ns) / GST_SECOND - last) < 0.05;
    }));
    EXPECT_NEAR(Position(), last, 0.05);
    EXPECT_GE(seeks.load(), 1);
    EXPECT_LT(seeks.load(), 25);
    gst_pad_remove_probe(pad.get(), probe);
}

// A jump shows the keyframe's picture before the target first, then, once
// the asks have stopped, the picture at the position asked for; a seek
// without the keyframe flag lands exactly at once.
TEST_F(GstMediaGraph, AJumpShowsTheKeyframeBeforeThenLandsExactly)
{
    // A keyframe every 0.2 s from 0.023 s (the sound's priming delays the start).
    ASSERT_EQ(Open(FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    auto output = std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer);
    GstPadPtr pad(gst_element_get_static_pad(output->Bin(), "sink"));
    struct Seeks {
        std::atomic<int> keyframe{0}, exact{0};
    } seeks;
    const gulong probe = gst_pad_add_probe(
        pad.get(), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM,
        [](GstPad *, GstPadProbeInfo *info, gpointer data) {
            GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
            if (GST_EVENT_TYPE(event) != GST_EVENT_SEEK)
                return GST_PAD_PROBE_OK;
            GstSeekFlags flags{};
            gst_event_parse_seek(event, nullptr, nullptr, &flags, nullptr, nullptr, nullptr, nullptr);
            auto *count = static_cast<Seeks *>(data);
            ++((flags & GST_SEEK_FLAG_KEY_UNIT) ? count->keyframe : count->exact);
            return GST_PAD_PROBE_OK;
        },
        &seeks, nullptr);
    const auto shownNear = [&](double seconds) {
        int64_t ns = -1, duration = 0;
        return output->FrameTime(&ns, &duration) && std::abs(double(ns) / GST_SECOND - seconds) < 0.015;
    };
    const auto setPositions = [&](double seconds, uint32_t flags) {
        int64_t units = std::llround(seconds * 1e7);
        return graph.seeking->SetPositions(&units, flags, nullptr, AM_SEEKING_NoPositioning);
    };
    struct Case {
        const char *how;
        std::function<HResult()> seek;
        double target, keyframe; ///< keyframe < 0: none shown first
    };
    const Case cases[] = {
        {"the timeline", [&] { return graph.position->put_CurrentPosition(2.46); }, 2.46, 2.423},
        {"a key", [&] { return setPositions(1.46, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame); },
         1.46, 1.423},
        {"the A-B loop", [&] { return setPositions(0.86, AM_SEEKING_AbsolutePositioning); }, 0.86, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        seeks.keyframe = 0;
        seeks.exact = 0;
        ASSERT_EQ(c.seek(), S_OK);
        EXPECT_NEAR(Position(), c.target, 1e-6);
        if (c.keyframe >= 0) {
            EXPECT_TRUE(WaitUntil([&] { return shownNear(c.keyframe); }));
        }
        EXPECT_TRUE(WaitUntil([&] { return shownNear(c.target); }));
        EXPECT_EQ(seeks.keyframe.load(), c.keyframe >= 0 ? 1 : 0);
        EXPECT_EQ(seeks.exact.load(), 1);
        EXPECT_NEAR(Position(), c.target, 0.02);
    }
    gst_pad_remove_probe(pad.get(), probe);
}

TEST_F(GstMediaGraph, RateChangesKeepPlayingAndTheRateSticksAcrossSeeks)
{
    ASSERT_EQ(Open(FixturePath("long.mkv")), S_OK);
    test::NotifyCounter counter(&window);
    for (double rate : {0.5, 2.0, 1.0, 2.0}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(graph.seeking->SetRate(rate), S_OK);
        double now = 0;
        EXPECT_EQ(graph.seeking->GetRate(&now), S_OK);
        EXPECT_EQ(now, rate);
        EXPECT_EQ(State(), State_Running);
    }
    EXPECT_LT(graph.seeking->SetRate(0.0), 0);
    EXPECT_EQ(graph.position->put_CurrentPosition(1.0), S_OK);
    double rate = 0;
    graph.seeking->GetRate(&rate);
    EXPECT_EQ(rate, 2.0);
    // At double speed the remaining 2 s of media play out.
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 0; }, 15000));
    EXPECT_NEAR(Position(), Duration(), 0.1);
}

TEST_F(GstMediaGraph, VolumeIsHundredthsOfADecibelAndTheFloorIsSilence)
{
    volumeLevel = -600;
    ASSERT_EQ(Open(FixturePath("audio.wav")), S_OK);
    GstElementPtr element(gst_bin_get_by_name(GST_BIN(Pipeline()), GstFilterGraph::kVolumeName));
    ASSERT_TRUE(element);
    auto *volume = GST_STREAM_VOLUME(element.get());
    // Open applied the saved level.
    EXPECT_NEAR(gst_stream_volume_get_volume(volume, GST_STREAM_VOLUME_FORMAT_DB), -6.0, 0.01);
    EXPECT_EQ(graph.basicAudio->put_Volume(0), S_OK);
    EXPECT_NEAR(gst_stream_volume_get_volume(volume, GST_STREAM_VOLUME_FORMAT_LINEAR), 1.0, 1e-6);
    EXPECT_EQ(graph.basicAudio->put_Volume(-2000), S_OK);
    EXPECT_NEAR(gst_stream_volume_get_volume(volume, GST_STREAM_VOLUME_FORMAT_LINEAR), 0.1, 1e-6);
    EXPECT_EQ(graph.basicAudio->put_Volume(-10000), S_OK);
    EXPECT_EQ(gst_stream_volume_get_volume(volume, GST_STREAM_VOLUME_FORMAT_LINEAR), 0.0);
    EXPECT_LT(graph.basicAudio->put_Volume(-10001), 0);
    EXPECT_LT(graph.basicAudio->put_Volume(1), 0);
    int32_t v = 1;
    EXPECT_EQ(graph.basicAudio->get_Volume(&v), S_OK);
    EXPECT_EQ(v, -10000);
}

// Every element of a played graph goes with it: a repeat builds a graph per
// loop, so one element left behind (as playbin's software volume was) grows
// the player for as long as it repeats.
TEST_F(GstMediaGraph, EveryElementOfAGraphGoesWithIt)
{
    ASSERT_EQ(Open(FixturePath("clip.mkv")), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Position() > 0.2; }, 10000));
    std::vector<gpointer> alive;
    alive.reserve(256);
    GstIteratorPtr it(gst_bin_iterate_recurse(GST_BIN(Pipeline())));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        alive.push_back(g_value_get_object(&item));
        g_object_add_weak_pointer(G_OBJECT(alive.back()), &alive.back());
        g_value_reset(&item);
    }
    g_value_unset(&item);
    it.reset();
    ASSERT_GT(alive.size(), 10u);
    graph.Close();
    const auto left = [&] { return std::count_if(alive.begin(), alive.end(), [](gpointer p) { return p != nullptr; }); };
    EXPECT_TRUE(WaitUntil([&] { return left() == 0; }, 5000));
    for (gpointer p : alive) {
        if (p)
            ADD_FAILURE() << GST_OBJECT_NAME(p) << " outlived its graph";
    }
}

TEST_F(GstMediaGraph, EndOfStreamReachesTheNotifyWindowAsComplete)
{
    test::NotifyCounter counter(&window);
    ASSERT_EQ(Open(FixturePath("truncated.mkv")), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 0; }, 15000));
    const auto events = test::Drain(*graph.events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, EC_COMPLETE);
    // Still open and still running at the end; seeking back plays again.
    EXPECT_EQ(State(), State_Running);
    EXPECT_EQ(graph.position->put_CurrentPosition(0.0), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 1; }, 15000));
    EXPECT_EQ(test::Drain(*graph.events).size(), 1u);
}

TEST_F(GstMediaGraph, PathsLongerThanTheOldLimitOpen)
{
    test::TempDir dir;
    std::string folder = dir.path();
    while (folder.size() < 300)
        folder += "/" + std::string(40, 'd') + "_폴더";
    QDir().mkpath(QString::fromStdString(folder));
    const std::string path = folder + "/영상 clip #1.mkv";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(FixturePath("clip.mkv")), QString::fromStdString(path)));
    ASSERT_GT(path.size(), 259u);
    EXPECT_EQ(Open(path), S_OK);
    EXPECT_EQ(graph.mediaPath, path);
    EXPECT_EQ(graph.videoWidth, 320);
}

} // namespace
