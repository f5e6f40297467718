// MediaGraph's own logic, driven through the fake graph: what an open leaves
// in place (facets, sizes, the volume), relative seeks, subtitles and the
// filter list. How the open begins, ends and is cancelled has MediaGraphOpenTest.

#include "FakeGraphFixture.h"
#include "support/FakeMediaBackend.h"
#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "EngineTestUtil.h"
#include "support/OpenAndWait.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmo;

namespace {

class MediaGraphFake : public test::FakeGraphTest {
protected:
    MediaGraphFake() : FakeGraphTest(-1500) {}
    HResult Open(const std::string &path, QObject *notify = nullptr)
    {
        return test::OpenAndWait(graph, screen, path, notify);
    }
};

TEST_F(MediaGraphFake, AnOpenKeepsTheMediaOpenWithEveryFacet)
{
    backend->AddMedia("a.avi", {10.0, 640, 360});
    ASSERT_EQ(Open("a.avi", &window), S_OK);
    EXPECT_TRUE(graph.graph && graph.control && graph.events && graph.videoWindow && graph.basicVideo &&
                graph.basicAudio && graph.position && graph.seeking && graph.mixerPinConfig && graph.overlayMixer &&
                graph.mixerInputPin);
    EXPECT_EQ(graph.videoWidth, 640);
    EXPECT_EQ(graph.videoHeight, 360);
    EXPECT_EQ(graph.mediaPath, "a.avi");
    EXPECT_EQ(backend->LastGraph()->state, State_Running);
    // Events go to the notify object given, not to the owner.
    test::NotifyCounter counter(&window);
    backend->LastGraph()->QueueEvent(EC_COMPLETE);
    ASSERT_TRUE(test::WaitUntil([&] { return counter.count == 1; }));
}

// The volume is put once per open, at the level the source holds then; the
// window does not put it again.
TEST_F(MediaGraphFake, EachOpenPutsTheSourcesLevelOnce)
{
    backend->AddMedia("a.avi");
    backend->AddMedia("song.mp3", {5.0, 0, 0});
    struct Case {
        const char *path;
        const int32_t *source;
        int32_t level; ///< what the source holds at the open
        int32_t put;
    };
    const Case cases[] = {
        {"a.avi", &volumeLevel, -1500, -1500},
        {"song.mp3", &volumeLevel, -10000, -10000}, // changed since the last open
        {"a.avi", &volumeLevel, 0, 0},
        {"a.avi", nullptr, -2500, 0}, // no source: full
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " at " << c.level << (c.source ? "" : " without a source"));
        volumeLevel = c.level;
        graph.SetVolumeLevelSource(c.source);
        calls().clear();
        ASSERT_EQ(Open(c.path), S_OK);
        const auto puts = std::count_if(calls().begin(), calls().end(),
                                        [](const std::string &call) { return call.rfind("put_Volume(", 0) == 0; });
        EXPECT_EQ(puts, 1);
        EXPECT_EQ(backend->LastGraph()->volume, c.put);
    }
}

TEST_F(MediaGraphFake, SecondOpenReleasesTheFirstGraphAndClearsSubtitleState)
{
    backend->AddMedia("a.avi");
    backend->AddMedia("b.avi");
    backend->AddSubtitle("a.smi");
    ASSERT_EQ(Open("a.avi"), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile("a.smi"), S_OK);
    EXPECT_TRUE(graph.subtitleLoaded);
    calls().clear();

    ASSERT_EQ(Open("b.avi"), S_OK);
    EXPECT_FALSE(graph.subtitleLoaded);
    EXPECT_EQ(graph.mediaPath, "b.avi");
    EXPECT_EQ(backend->script->graphsAlive, 1);
    // The old graph is hidden, detached and released before the new one renders.
    const auto release = std::find(calls().begin(), calls().end(), "Release");
    const auto render = std::find(calls().begin(), calls().end(), "RenderFile(b.avi)");
    ASSERT_NE(release, calls().end());
    EXPECT_LT(release, render);
    EXPECT_EQ(calls()[0], "put_Visible(0)");
    EXPECT_EQ(calls()[1], "put_Owner(null)");
    EXPECT_EQ(calls()[2], "SetNotifyWindow(null)");
}

TEST_F(MediaGraphFake, CloseWithNothingOpenTouchesNothing)
{
    EXPECT_EQ(graph.Close(), S_OK);
    EXPECT_TRUE(calls().empty());
    backend->AddMedia("a.avi");
    ASSERT_EQ(Open("a.avi"), S_OK);
    ASSERT_EQ(graph.Close(), S_OK);
    calls().clear();
    EXPECT_EQ(graph.Close(), S_OK);
    EXPECT_TRUE(calls().empty());
    // Path, sizes and flags survive a close.
    EXPECT_EQ(graph.mediaPath, "a.avi");
    EXPECT_EQ(graph.videoWidth, 320);
}

TEST_F(MediaGraphFake, MediaWithoutVideoKeepsThePreviousSize)
{
    backend->AddMedia("song.mp3", {5.0, 0, 0});
    backend->AddMedia("film.avi", {5.0, 720, 480});
    ASSERT_EQ(Open("song.mp3"), S_OK);
    EXPECT_EQ(graph.videoWidth, 0);
    EXPECT_EQ(graph.videoHeight, 0);
    ASSERT_EQ(Open("film.avi"), S_OK);
    ASSERT_EQ(Open("song.mp3"), S_OK);
    EXPECT_EQ(graph.videoWidth, 720);
    EXPECT_EQ(graph.videoHeight, 480);
}

TEST_F(MediaGraphFake, SeekByClampsAtBothEnds)
{
    backend->AddMedia("a.avi", {100.0, 320, 240});
    EXPECT_LT(graph.SeekBy(50'000'000, true), 0); // nothing open
    ASSERT_EQ(Open("a.avi"), S_OK);
    auto fake = backend->LastGraph();

    struct Case {
        double from;
        uint64_t delta;
        bool forward;
        double to;
    };
    const Case cases[] = {
        {3.0, 50'000'000, false, 0.0},     // back 5 s from 3 s
        {10.0, 50'000'000, false, 5.0},    // back 5 s from 10 s
        {5.0, 50'000'000, false, 0.0},     // exactly to 0
        {90.0, 300'000'000, true, 100.0},  // forward 30 s from 10 s before the end
        {40.0, 300'000'000, true, 70.0},
        {70.0, 300'000'000, true, 100.0},  // exactly to the end
        {50.0, UINT64_MAX, true, 100.0},   // huge deltas do not wrap
        {50.0, UINT64_MAX, false, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.forward ? " + " : " - ") << c.delta);
        fake->positionSeconds = c.from;
        EXPECT_EQ(graph.SeekBy(c.delta, c.forward), S_OK);
        EXPECT_DOUBLE_EQ(fake->positionSeconds, c.to);
    }
}

TEST_F(MediaGraphFake, SeekByOnAGraphThatCannotSeekFailsHarmlessly)
{
    FakeMediaInfo info;
    info.seekable = false;
    backend->AddMedia("live", info);
    ASSERT_EQ(Open("live"), S_OK);
    backend->LastGraph()->positionSeconds = 4.0;
    EXPECT_LT(graph.SeekBy(50'000'000, true), 0);
    EXPECT_DOUBLE_EQ(backend->LastGraph()->positionSeconds, 4.0);
    EXPECT_TRUE(graph.graph);
}

TEST_F(MediaGraphFake, SubtitleFilesAreAddedOnlyToAnOpenGraph)
{
    backend->AddSubtitle("a.smi");
    backend->AddSubtitle("refused.smi", VFW_E_UNSUPPORTED_STREAM);
    EXPECT_LT(graph.AddSubtitleFile("a.smi"), 0);
    EXPECT_FALSE(graph.subtitleLoaded);

    backend->AddMedia("a.avi");
    ASSERT_EQ(Open("a.avi"), S_OK);
    EXPECT_EQ(graph.AddSubtitleFile("refused.smi"), VFW_E_UNSUPPORTED_STREAM);
    EXPECT_FALSE(graph.subtitleLoaded);
    EXPECT_EQ(graph.AddSubtitleFile("a.smi"), S_OK);
    EXPECT_TRUE(graph.subtitleLoaded);
    // A later refusal leaves the flag as it was.
    EXPECT_LT(graph.AddSubtitleFile("refused.smi"), 0);
    EXPECT_TRUE(graph.subtitleLoaded);
}

TEST_F(MediaGraphFake, FilterNamesStopAtFifteenInEnumerationOrder)
{
    EXPECT_EQ(graph.CollectFilterNames(), E_NOINTERFACE);
    EXPECT_FALSE(graph.FilterPagesOf("source"));

    backend->script->filterNames.clear();
    for (int i = 1; i <= 20; ++i)
        backend->script->filterNames.push_back("filter " + std::to_string(i));
    backend->AddMedia("a.avi");
    ASSERT_EQ(Open("a.avi"), S_OK);
    ASSERT_EQ(graph.CollectFilterNames(), S_OK);
    EXPECT_EQ(graph.filterCount, 15);
    EXPECT_EQ(graph.filterNames[0], "filter 1");
    EXPECT_EQ(graph.filterNames[14], "filter 15");

    backend->script->filterNames = {"source", "decoder", "decoder"};
    ASSERT_EQ(graph.CollectFilterNames(), S_OK);
    EXPECT_EQ(graph.filterCount, 3);
    EXPECT_EQ(graph.filterNames[3], "filter 4"); // stale entries stay, unseen

    // Either "decoder" entry opens the first of the two.
    EXPECT_TRUE(graph.FilterPagesOf(graph.filterNames[2]));
    EXPECT_FALSE(graph.FilterPagesOf("gone"));
    EXPECT_EQ(backend->script->propertyFrames, std::vector<std::string>{"decoder"});
    EXPECT_EQ(backend->script->propertyFramePositions, std::vector<size_t>{1});
}

TEST_F(MediaGraphFake, MixerWithoutInputPinLeavesThePinConfigNull)
{
    backend->mixerHasPin = false;
    backend->AddMedia("a.avi");
    ASSERT_EQ(Open("a.avi"), S_OK);
    EXPECT_FALSE(graph.mixerInputPin);
    EXPECT_FALSE(graph.mixerPinConfig);
}

TEST(EventQueue, EachEventNotifiesOnceAndAnEmptyQueueFailsAtOnce)
{
    QObject window;
    test::NotifyCounter counter(&window);
    EventQueue queue;
    int32_t code = 0;
    EventParam p1, p2;
    EXPECT_LT(queue.GetEvent(&code, &p1, &p2, 0), 0);

    queue.Queue(EC_OLE_EVENT, 0, QStringLiteral("<P>before window"));
    queue.SetNotifyWindow(&window, WM_MEDIA_EVENT, 0);
    queue.Queue(EC_OLE_EVENT, 0, QString::fromUtf8("<P>안녕"));
    queue.Queue(EC_COMPLETE, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return counter.count == 2; }));

    const auto events = test::Drain(queue);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].code, EC_OLE_EVENT);
    EXPECT_EQ(events[1].text, QString::fromUtf8("<P>안녕"));
    EXPECT_EQ(events[2].code, EC_COMPLETE);
    EXPECT_LT(queue.GetEvent(&code, &p1, &p2, 0), 0);

    // A withdrawn window hears nothing more.
    queue.SetNotifyWindow(nullptr, 0, 0);
    queue.Queue(EC_COMPLETE, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.count, 2);
}

} // namespace
