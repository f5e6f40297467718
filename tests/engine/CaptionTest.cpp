// Captions of SAMI files reaching the event queue: the scheduling on its own
// with a hand-driven clock, then on a real pipeline.

#include "engine/CaptionTrack.h"
#include "engine/CaptionTracks.h"
#include "engine/MediaGraph.h"
#include "EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"
#include "support/OpenAndWait.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::WaitUntil;

namespace {

std::vector<SamiCaption> Captions(std::initializer_list<std::pair<int64_t, const char *>> list)
{
    std::vector<SamiCaption> out;
    for (const auto &[ms, text] : list) {
        SamiCaption c;
        c.startMs = ms;
        c.text = QString::fromUtf8(text);
        out.push_back(c);
    }
    return out;
}

struct HandClock {
    int64_t now = 0;
    bool running = false;
    double rate = 1.0;
    QStringList delivered;
    CaptionTrack::Clock Make()
    {
        CaptionTrack::Clock c;
        c.position = [this](int64_t *ms) {
            *ms = now;
            return true;
        };
        c.rate = [this] { return rate; };
        c.running = [this] { return running; };
        c.deliver = [this](const QString &t) { delivered << t; };
        return c;
    }
};

TEST(CaptionTrack, SeekDeliversTheCurrentCaptionAndResyncDeliversWhatIsDue)
{
    HandClock clock;
    // Out of order on purpose: the track plays them by start, ties stable.
    CaptionTrack track(Captions({{1000, "b"}, {0, "a"}, {2000, "c1"}, {2000, "c2"}, {5000, "d"}}), clock.Make());

    track.Seek(1500); // paused: only the current caption
    EXPECT_EQ(clock.delivered, QStringList({"b"}));
    clock.delivered.clear();

    track.Seek(999);
    EXPECT_EQ(clock.delivered, QStringList({"a"}));
    clock.running = true;
    clock.now = 2100;
    clock.delivered.clear();
    track.Resync();
    EXPECT_EQ(clock.delivered, QStringList({"b", "c1", "c2"}));
    clock.delivered.clear();
    track.Resync(); // nothing new is due
    EXPECT_TRUE(clock.delivered.isEmpty());

    // Before the first caption nothing is current.
    clock.delivered.clear();
    clock.running = false;
    track.Seek(-1);
    EXPECT_TRUE(clock.delivered.isEmpty());
    // ...and from there every caption is still to come.
    clock.running = true;
    clock.now = 5000;
    track.Resync();
    EXPECT_EQ(clock.delivered, QStringList({"a", "b", "c1", "c2", "d"}));
}

TEST(CaptionTrack, TheTimerFollowsTheRate)
{
    HandClock clock;
    clock.running = true;
    clock.rate = 2.0;
    CaptionTrack track(Captions({{400, "x"}}), clock.Make());
    track.Seek(0);
    // At double speed the 400 ms caption is due after 200 ms of wall time; the
    // clock here is moved by hand, so the track must look again by itself.
    QElapsedTimer wall;
    wall.start();
    ASSERT_TRUE(WaitUntil(
        [&] {
            clock.now = wall.elapsed() * 2;
            return !clock.delivered.isEmpty();
        },
        5000));
    EXPECT_EQ(clock.delivered, QStringList({"x"}));
}

class Captions : public ::testing::Test {
protected:
    void SetUp() override
    {
        VELMO_SKIP_UNLESS_PLAYBACK();
        ASSERT_TRUE(test::EnsureFixtures());
        window.installEventFilter(&drainer);
        drainer.graph = &graph;
    }
    void TearDown() override { graph.Close(); }

    std::string WriteSami(const std::string &name, std::initializer_list<std::pair<int, const char *>> captions)
    {
        QByteArray body = "<SAMI>\n<HEAD>\n<STYLE TYPE=\"text/css\"><!--\n"
                          "P { font-size:20pt; }\n.KRCC { Name:Korean; lang:ko-KR; }\n--></STYLE>\n</HEAD>\n<BODY>\n";
        for (const auto &[ms, text] : captions)
            body += "<SYNC Start=" + QByteArray::number(ms) + "><P Class=KRCC>" + QByteArray(text) + "\n";
        body += "</BODY>\n</SAMI>\n";
        return dir.write(name, body);
    }
    double Position()
    {
        double s = 0;
        graph.position->get_CurrentPosition(&s);
        return s;
    }

    // Drains the queue on each notification, as the main window does, noting
    // where playback was.
    struct Drainer : QObject {
        MediaGraph *graph = nullptr;
        std::vector<std::pair<QString, double>> captions;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() != MediaEventType() || !graph->events)
                return false;
            for (const auto &ev : test::Drain(*graph->events)) {
                double pos = 0;
                graph->position->get_CurrentPosition(&pos);
                if (ev.code == EC_OLE_EVENT)
                    captions.emplace_back(ev.text, pos);
            }
            return true;
        }
    };

    test::TempDir dir;
    QWidget window;
    Drainer drainer;
    MediaGraph graph;
};

TEST_F(Captions, EachCaptionArrivesWhenPlaybackReachesItsStart)
{
    const std::string sami = WriteSami("a.smi", {{300, "one"}, {700, "two"}, {1100, "셋"}, {2500, "four"}});
    ASSERT_EQ(test::OpenAndWait(graph, &window, test::FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(sami), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return drainer.captions.size() >= 3; }));
    const double starts[] = {0.3, 0.7, 1.1};
    const char *texts[] = {"one", "two", "셋"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(drainer.captions[i].first.endsWith(QString::fromUtf8(texts[i])));
        EXPECT_TRUE(drainer.captions[i].first.startsWith("<P", Qt::CaseInsensitive));
        // Never early; late by no more than the scheduling allows under load.
        EXPECT_GE(drainer.captions[i].second, starts[i] - 0.01);
        EXPECT_LT(drainer.captions[i].second, starts[i] + 0.25);
    }
}

TEST_F(Captions, SeekQueuesTheCurrentCaptionAtOnceAndPauseStopsTheFlow)
{
    const std::string sami = WriteSami("a.smi", {{100, "one"}, {800, "two"}, {1600, "three"}, {2400, "four"}});
    ASSERT_EQ(test::OpenAndWait(graph, &window, test::FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(sami), S_OK);

    ASSERT_EQ(graph.position->put_CurrentPosition(1.0), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return !drainer.captions.empty(); }));
    ASSERT_EQ(drainer.captions.size(), 1u);
    EXPECT_TRUE(drainer.captions[0].first.endsWith("two"));

    // Paused: "three" is due 0.6 s on and must not come.
    QTest::qWait(900);
    EXPECT_EQ(drainer.captions.size(), 1u);

    ASSERT_EQ(graph.control->Run(), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return drainer.captions.size() >= 2; }));
    EXPECT_TRUE(drainer.captions[1].first.endsWith("three"));
    EXPECT_GE(drainer.captions[1].second, 1.59);
}

TEST_F(Captions, SeveralFilesEachDeliverAndRefusedFilesFail)
{
    const std::string a = WriteSami("a.smi", {{200, "from a"}});
    const std::string b = WriteSami("b.sami", {{400, "from b"}});
    const std::string text = dir.write("c.smi", "just some text, no SAMI here\n");
    ASSERT_EQ(test::OpenAndWait(graph, &window, test::FixturePath("long.mkv")), S_OK);
    EXPECT_LT(graph.AddSubtitleFile(text), 0);
    EXPECT_LT(graph.AddSubtitleFile(dir.path("missing.smi")), 0);
    EXPECT_FALSE(graph.subtitleLoaded);
    ASSERT_EQ(graph.AddSubtitleFile(a), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(b), S_OK);
    EXPECT_TRUE(graph.subtitleLoaded);
    ASSERT_TRUE(WaitUntil([&] { return drainer.captions.size() >= 2; }));
    EXPECT_TRUE(drainer.captions[0].first.endsWith("from a"));
    EXPECT_TRUE(drainer.captions[1].first.endsWith("from b"));
}

TEST_F(Captions, CaptionsFollowTheRate)
{
    const std::string sami = WriteSami("a.smi", {{1200, "late"}});
    ASSERT_EQ(test::OpenAndWait(graph, &window, test::FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(sami), S_OK);
    ASSERT_EQ(graph.seeking->SetRate(2.0), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return !drainer.captions.empty(); }));
    EXPECT_GE(drainer.captions[0].second, 1.19);
    EXPECT_LT(drainer.captions[0].second, 1.2 + 0.4);
}

} // namespace

TEST(CaptionTracks, TheOffsetAndTheLanguageApplyAtOnce)
{
    velmo::test::TempDir dir;
    HandClock clock;
    CaptionTracks tracks(clock.Make());
    const std::string srt = dir.write("a.srt", "00:00:01,000 --> 00:00:02,000\none\n\n00:00:02,000 --> 00:00:03,000\ntwo\n");
    ASSERT_EQ(tracks.Add(srt, 0), S_OK);
    EXPECT_TRUE(tracks.CaptionLanguages().empty());
    // At 1.7 s "one" shows; shown 0.5 s earlier, "two" is due; 1 s later, nothing yet.
    const struct {
        int64_t offsetMs;
        const char *shown;
    } steps[] = {{0, "<SubRip>one"}, {-500, "<SubRip>two"}, {1000, "<P>&nbsp;"}, {0, "<SubRip>one"}};
    clock.now = 1700;
    for (const auto &step : steps) {
        clock.delivered.clear();
        tracks.SetCaptionOffset(step.offsetMs);
        EXPECT_EQ(clock.delivered, QStringList({step.shown})) << step.offsetMs;
    }

    const std::string smi = dir.write("b.smi", "<SAMI><HEAD><STYLE><!-- .KRCC {Name:한국어; lang:ko-KR;} "
                                               ".ENCC {Name:English; lang:en-US;} --></STYLE></HEAD><BODY>"
                                               "<SYNC Start=0><P Class=KRCC>가<SYNC Start=0><P Class=ENCC>a</BODY></SAMI>");
    ASSERT_EQ(tracks.Add(smi, 1700), S_OK);
    ASSERT_EQ(tracks.CaptionLanguages().size(), 2u);
    clock.delivered.clear();
    tracks.SetCaptionLanguage(QStringLiteral("ENCC"));
    EXPECT_EQ(clock.delivered, QStringList({"<SubRip>one", "<P Class=ENCC>a"}));
}
