// Addresses on loopback: a server that honours ranges, one that does not, a
// closed port and a server that never answers.

#include "engine/MediaGraph.h"
#include "engine/MessageBox.h"
#include "EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmo;
using velmo::test::FixtureServer;
using velmo::test::WaitUntil;

namespace {

double Position(MediaGraph &graph)
{
    double s = -1;
    graph.position->get_CurrentPosition(&s);
    return s;
}

TEST(Address, RangeServerOpensSeeksAndPlaysToTheEnd)
{
    FixtureServer server;
    ASSERT_GT(server.port(), 0);
    QWidget window;
    test::NotifyCounter counter(&window);
    MediaGraph graph;
    MessageBoxCapture boxes;
    ASSERT_EQ(graph.Open(&window, server.Url("long.mkv")), S_OK);
    EXPECT_EQ(graph.videoWidth, 320);
    EXPECT_EQ(graph.mediaPath, server.Url("long.mkv"));

    ASSERT_EQ(graph.position->put_CurrentPosition(2.0), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Position(graph) > 2.05; }));
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 0; }, 15000));
    EXPECT_EQ(test::Drain(*graph.events).at(0).code, EC_COMPLETE);
    EXPECT_TRUE(boxes.messages.empty());
    graph.Close();
}

TEST(Address, ServerWithoutRangeSupportPlaysAndASeekDoesNotBreakThePlayer)
{
    FixtureServer server(QStringLiteral("norange"));
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph;
    MessageBoxCapture boxes;
    ASSERT_EQ(graph.Open(&window, server.Url("clip.mkv")), S_OK);
    graph.SeekBy(10'000'000, true); // may fail; must not hang or crash
    graph.position->put_CurrentPosition(0.5);
    int32_t state = -1;
    EXPECT_EQ(graph.control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    // The player keeps answering, and closes cleanly.
    EXPECT_EQ(graph.control->Pause(), S_OK);
    EXPECT_EQ(graph.Close(), S_OK);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(Address, ClosedPortAndMissingFileFailFastWithTheCodecMessage)
{
    // Take a free port, then close it again.
    int port = 0;
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
        socklen_t len = sizeof addr;
        getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
        port = ntohs(addr.sin_port);
        close(fd);
    }
    FixtureServer server;
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(60000));
    MessageBoxCapture boxes;
    for (const std::string &address :
         {"http://127.0.0.1:" + std::to_string(port) + "/clip.mkv", server.Url("no-such-file.mkv")}) {
        SCOPED_TRACE(address);
        boxes.messages.clear();
        QElapsedTimer clock;
        clock.start();
        EXPECT_LT(graph.Open(&window, address), 0);
        // Well before the open's own time limit.
        EXPECT_LT(clock.elapsed(), 20000);
        EXPECT_EQ(boxes.messages.size(), 1u);
        EXPECT_FALSE(graph.graph);
    }
}

TEST(Address, SilentServerTimesOutAndTheWindowKeepsPainting)
{
    FixtureServer server(QStringLiteral("silent"));
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(1500));
    MessageBoxCapture boxes;
    // A timer of the window still fires while the open waits.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    EXPECT_EQ(graph.Open(&window, server.Url("clip.mkv")), VFW_E_TIMEOUT);
    EXPECT_GT(ticks, 3);
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_FALSE(graph.graph);
}

} // namespace
