// Addresses on loopback: a server that honours ranges, one that does not, one
// that drops the connection, a closed port, a server that never answers, and
// live RTSP and UDP addresses.

#include "engine/GstHandles.h"
#include "engine/MediaGraph.h"
#include "EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"
#include "support/OpenAndWait.h"

#include <QLoggingCategory>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmo;
using velmo::test::FixtureServer;
using velmo::test::WaitUntil;

namespace {

// A loopback port that nothing listens on (taken free, then closed again).
int ClosedPort(int type = SOCK_STREAM)
{
    const int fd = socket(AF_INET, type, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        close(fd);
        return 0;
    }
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

// Collects the warnings of the engine's GStreamer category while it lives.
class GstLog {
public:
    GstLog() { previous_ = qInstallMessageHandler(&GstLog::Handle); }
    ~GstLog() { qInstallMessageHandler(previous_); }
    static inline QStringList lines;

private:
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtWarningMsg && context.category && QByteArray(context.category) == "velmo.engine.gst")
            lines << text;
    }
    QtMessageHandler previous_ = nullptr;
};

// Addresses need the clips, a loopback server and the HTTP source.
#define SKIP_UNLESS_HTTP()                                                                                            \
    VELMO_SKIP_UNLESS_PLAYBACK();                                                                                     \
    VELMO_SKIP_UNLESS_PRESENT({"souphttpsrc"}, {"python3"})

// The end an open of `address` is told, or none when it does not end by itself within `withinMs`.
std::optional<HResult> EndOfOpen(MediaGraph &graph, QObject *window, const std::string &address, int withinMs)
{
    std::optional<HResult> end;
    const HResult begun = graph.BeginOpen(window, address, nullptr, [&end](HResult hr) { end = hr; });
    if (Failed(begun))
        return begun;
    if (!WaitUntil([&end] { return end.has_value(); }, withinMs))
        graph.Close(); // `end` goes with this frame: the open must not outlive it
    return end;
}

double Position(MediaGraph &graph)
{
    double s = -1;
    graph.position->get_CurrentPosition(&s);
    return s;
}

TEST(Address, RangeServerOpensSeeksAndPlaysToTheEnd)
{
    SKIP_UNLESS_HTTP();
    FixtureServer server;
    ASSERT_GT(server.port(), 0);
    QWidget window;
    test::NotifyCounter counter(&window);
    MediaGraph graph;
    ASSERT_EQ(test::OpenAndWait(graph, &window, server.Url("long.mkv")), S_OK);
    EXPECT_EQ(graph.videoWidth, 320);
    EXPECT_EQ(graph.mediaPath, server.Url("long.mkv"));

    ASSERT_EQ(graph.position->put_CurrentPosition(2.0), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return Position(graph) > 2.05; }));
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 0; }, 15000));
    EXPECT_EQ(test::Drain(*graph.events).at(0).code, EC_COMPLETE);
    graph.Close();
}

TEST(Address, ServerWithoutRangeSupportPlaysAndASeekDoesNotBreakThePlayer)
{
    SKIP_UNLESS_HTTP();
    FixtureServer server(QStringLiteral("norange"));
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph;
    ASSERT_EQ(test::OpenAndWait(graph, &window, server.Url("clip.mkv")), S_OK);
    graph.SeekBy(10'000'000, true); // may fail; must not hang or crash
    graph.position->put_CurrentPosition(0.5);
    int32_t state = -1;
    EXPECT_EQ(graph.control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    // The player keeps answering, and closes cleanly.
    EXPECT_EQ(graph.control->Pause(), S_OK);
    EXPECT_EQ(graph.Close(), S_OK);
}

TEST(Address, ClosedPortAndMissingFileFailFast)
{
    SKIP_UNLESS_HTTP();
    const int port = ClosedPort();
    ASSERT_GT(port, 0);
    FixtureServer server;
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(60000));
    for (const std::string &address :
         {"http://127.0.0.1:" + std::to_string(port) + "/clip.mkv", server.Url("no-such-file.mkv")}) {
        SCOPED_TRACE(address);
        // Told well before the open's own time limit of a minute.
        const std::optional<HResult> end = EndOfOpen(graph, &window, address, 20000);
        ASSERT_TRUE(end.has_value()) << "not given up on";
        EXPECT_LT(*end, 0);
        EXPECT_FALSE(graph.graph);
    }
}

TEST(Address, ASilentServerIsGivenUpOnAtTheDeadlineWhileTheProgramGoesOn)
{
    SKIP_UNLESS_HTTP();
    FixtureServer server(QStringLiteral("silent"));
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(1500));
    std::optional<HResult> end;
    ASSERT_EQ(graph.BeginOpen(&window, server.Url("clip.mkv"), nullptr, [&](HResult hr) { end = hr; }), S_OK);
    EXPECT_FALSE(end.has_value());
    EXPECT_TRUE(graph.Opening());
    ASSERT_TRUE(WaitUntil([&] { return end.has_value(); }));
    EXPECT_EQ(*end, VFW_E_TIMEOUT);
    EXPECT_FALSE(graph.graph);
}

TEST(Address, LiveAddressesThatDeliverNothingFail)
{
    VELMO_SKIP_UNLESS_PLAYBACK();
    VELMO_SKIP_UNLESS_PRESENT({"rtspsrc", "udpsrc"}, {"python3"});
    FixtureServer silent(QStringLiteral("silent"));
    ASSERT_GT(silent.port(), 0);
    const int closedTcp = ClosedPort();
    const int closedUdp = ClosedPort(SOCK_DGRAM);
    ASSERT_GT(closedTcp, 0);
    ASSERT_GT(closedUdp, 0);
    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(1500));
    const std::string addresses[] = {
        "rtsp://127.0.0.1:" + std::to_string(closedTcp) + "/stream",     // refused at once
        "rtsp://127.0.0.1:" + std::to_string(silent.port()) + "/stream", // accepted, never answered
        "udp://127.0.0.1:" + std::to_string(closedUdp),                  // nobody sends
    };
    for (const std::string &address : addresses) {
        SCOPED_TRACE(address);
        const std::optional<HResult> end = EndOfOpen(graph, &window, address, 15000);
        ASSERT_TRUE(end.has_value()) << "not given up on";
        EXPECT_LT(*end, 0);
        EXPECT_FALSE(graph.graph);
    }
}

TEST(Address, ALiveStreamOpensOnItsFirstPictureWithItsSize)
{
    VELMO_SKIP_UNLESS_PLAYBACK();
    VELMO_SKIP_UNLESS_PRESENT({"udpsrc", "udpsink", "videotestsrc", "mpegtsmux", "tsdemux"});
    const int port = ClosedPort(SOCK_DGRAM);
    ASSERT_GT(port, 0);
    // A broadcast of our own on loopback: a live picture with a key frame
    // every fifth frame, so a receiver that joins late soon has one.
    const std::string description =
        "videotestsrc is-live=true ! video/x-raw,width=176,height=144,framerate=25/1 ! videoconvert ! "
        "video/x-raw,format=I420 ! x264enc tune=zerolatency speed-preset=ultrafast key-int-max=5 ! mpegtsmux ! "
        "udpsink host=127.0.0.1 port=" + std::to_string(port);
    GstElementPtr sender(gst_parse_launch(description.c_str(), nullptr));
    ASSERT_TRUE(sender);
    gst_object_ref_sink(sender.get());
    ASSERT_NE(gst_element_set_state(sender.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);

    QWidget window;
    MediaGraph graph(CreateGstMediaBackend(10000));
    EXPECT_EQ(test::OpenAndWait(graph, &window, "udp://127.0.0.1:" + std::to_string(port)), S_OK);
    EXPECT_EQ(graph.videoWidth, 176);
    EXPECT_EQ(graph.videoHeight, 144);
    graph.Close();
    gst_element_set_state(sender.get(), GST_STATE_NULL);
}

TEST(Address, AConnectionDroppedInMidPlayEndsPlaybackWithAnErrorEvent)
{
    SKIP_UNLESS_HTTP();
    FixtureServer server(QStringLiteral("drop"));
    ASSERT_GT(server.port(), 0);
    QWidget window;
    MediaGraph graph;
    GstLog log;
    GstLog::lines.clear();
    ASSERT_EQ(test::OpenAndWait(graph, &window, server.Url("long.mkv")), S_OK);

    std::vector<test::DrainedEvent> events;
    ASSERT_TRUE(WaitUntil([&] {
        for (const test::DrainedEvent &e : test::Drain(*graph.events))
            events.push_back(e);
        return !events.empty();
    }));
    EXPECT_EQ(events[0].code, EC_ERRORABORT);
    EXPECT_LT(events[0].value, 0);
    int32_t state = -1;
    EXPECT_EQ(graph.control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    // The log names the element and the error.
    EXPECT_TRUE(GstLog::lines.filter(QStringLiteral("source")).size() > 0) << GstLog::lines.join('\n').toStdString();
    // Still open: playing again starts the medium over, on a new connection
    // (which this server drops again).
    ASSERT_TRUE(graph.graph);
    EXPECT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(graph.control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_TRUE(WaitUntil([&] {
        for (const test::DrainedEvent &e : test::Drain(*graph.events))
            events.push_back(e);
        return std::count_if(events.begin(), events.end(), [](auto &e) { return e.code == EC_ERRORABORT; }) == 2;
    }));
    graph.Close();
}

} // namespace
