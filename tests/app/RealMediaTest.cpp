// The whole player on a real clip: the command line, GStreamer, the window and
// the end of the media, run through PlayerApp::Run as a user would start it.

#include "MainWindowSeam.h"
#include "app/MainWindow.h"
#include "app/PlayerApp.h"
#include "app/WindowGeometry.h"
#include "engine/GstFilterGraph.h"
#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "app/MessageBox.h"
#include "screen/VideoScreen.h"
#include "fixtures/MediaFixtures.h"
#include "resources/CommandIds.h"
#include "support/LiveObjects.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <gst/gst.h>

#include <functional>

namespace velmo::test {
namespace {

MainWindow *TheMainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<MainWindow *>(widget))
            return window;
    }
    return nullptr;
}

// Polls `step` every 50 ms inside the player's own loop until it returns true.
void Every50ms(QObject *owner, std::function<bool()> step)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (step())
            timer->stop();
    });
    timer->start(50);
}

// The GStreamer backend, counting the graphs it builds (each open builds one).
class CountingBackend : public MediaBackend {
public:
    std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) override
    {
        ++graphs;
        return real_->CreateFilterGraph(result);
    }
    std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) override
    {
        return real_->CreateOverlayMixer(result);
    }
    int graphs = 0;

private:
    std::shared_ptr<MediaBackend> real_ = CreateGstMediaBackend();
};

// The GStreamer backend, watching the pipeline of every graph it builds.
class WatchingBackend : public MediaBackend {
public:
    std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) override
    {
        std::shared_ptr<GraphBuilder> graph = real_->CreateFilterGraph(result);
        if (auto gst = std::dynamic_pointer_cast<GstFilterGraph>(graph)) {
            pipelines.Watch(gst->Pipeline());
            ++graphs;
        }
        return graph;
    }
    std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) override
    {
        return real_->CreateOverlayMixer(result);
    }
    LiveObjects pipelines;
    int graphs = 0;

private:
    std::shared_ptr<MediaBackend> real_ = CreateGstMediaBackend();
};

// The options of a player with the shipped skin, its settings in `dir` and its graphs made on `backend`.
PlayerAppOptions OptionsFor(const TempDir &dir, std::shared_ptr<MediaBackend> backend)
{
    PlayerAppOptions options;
    options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
    options.settingsFile = dir.path("velmo_init.ini");
    options.mediaBackend = std::move(backend);
    return options;
}

TEST(RealMedia, RepeatingAClipThirtyTimesHoldsNoMorePipelinesOrDescriptors)
{
    const std::string clip = FixturePath("short.mkv");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(clip))) << "the test clips could not be made";
    TempDir dir;
    auto backend = std::make_shared<WatchingBackend>();
    PlayerAppOptions options = OptionsFor(dir, backend);
    MessageBoxCapture messages;
    PlayerApp app(options);
    MainWindow window(app);
    window.OnInitDialog();
    window.show();
    QTest::keyClick(MainWindowSeam::Screen(window), Qt::Key_R);
    ASSERT_TRUE(app.playerSettings.repeatMode);

    window.OpenMedia(clip);
    // The first rounds load what every process loads once (plugins, the sound
    // and picture outputs); count from the third.
    ASSERT_TRUE(QTest::qWaitFor([&] { return backend->graphs >= 3; }, 10000));
    const int descriptors = OpenDescriptorCount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return backend->graphs >= 33; }, 90000)) << backend->graphs;
    // One pipeline plays; the one before it may still be on its way out.
    EXPECT_LE(backend->pipelines.Count(), 2u);
    EXPECT_LE(OpenDescriptorCount(), descriptors + 2);

    window.OnCommand(ID_CLOSE_MEDIA);
    EXPECT_TRUE(QTest::qWaitFor([&] { return backend->pipelines.Count() == 0; }, 5000))
        << backend->pipelines.Count() << " pipelines outlive the close";
    EXPECT_TRUE(messages.messages.empty());
}

// The command line's medium is begun before the window; once the user closes
// it, nothing of it may stay behind (a stalled address would go on waiting).
TEST(RealMedia, AMediumBegunEarlyGoesWithItsClose)
{
    const std::string clip = FixturePath("clip.mkv");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(clip))) << "the test clips could not be made";
    TempDir dir;
    auto backend = std::make_shared<WatchingBackend>();
    PlayerAppOptions options = OptionsFor(dir, backend);
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr)); // as the command line's prefetch does
    options.startupMedia = PrefetchMedia(*backend, clip);
    ASSERT_EQ(backend->graphs, 1);
    MessageBoxCapture messages;
    PlayerApp app(std::move(options));
    MainWindow window(app);
    window.OnInitDialog();
    window.OpenMedia(clip);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.player.HasMedium(); }, 10000));
    EXPECT_EQ(backend->graphs, 1) << "the open took the graph begun early";
    window.OnCommand(ID_CLOSE_MEDIA);
    EXPECT_TRUE(QTest::qWaitFor([&] { return backend->pipelines.Count() == 0; }, 5000))
        << backend->pipelines.Count() << " pipelines outlive the close";
}

TEST(RealMedia, StartsWithAClipOnTheCommandLineAndRepeatsItAtTheEnd)
{
    const std::string clip = FixturePath("clip.mkv");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(clip))) << "the test clips could not be made";
    TempDir dir;
    auto backend = std::make_shared<CountingBackend>();
    PlayerAppOptions options = OptionsFor(dir, backend);
    MessageBoxCapture messages;
    PlayerApp app(options);
    std::vector<int> exits;
    // The exit path ends the player's loop instead of the test process.
    const auto previous = PlayerApp::SetExitFunction([&](int code) {
        exits.push_back(code);
        QCoreApplication::exit(code);
    });
    app.playerSettings.repeatMode = true;
    int ends = 0; // ends without a repeat
    QObject::connect(&app.player, &Player::ended, [&] { ++ends; });

    QObject driver;
    bool started = false;
    bool repeated = false;
    bool endedWithoutRepeat = false;
    QSize windowSize;
    double lastPosition = 0.0;
    int ticksAtEnd = 0;
    // The driver starts once the window is shown with its media.
    Every50ms(&driver, [&] {
        MainWindow *window = TheMainWindow();
        if (!window || !window->isVisible())
            return false;
        if (!started) {
            started = backend->graphs == 1 && app.player.HasMedium();
            windowSize = window->size();
            return false;
        }
        if (!repeated) {
            if (backend->graphs == 2 && app.player.HasMedium()) {
                repeated = true;
                app.playerSettings.repeatMode = false;
            }
            return false;
        }
        // Repeat off: the media plays to its end once more and stays there.
        const double position = app.player.Position();
        ticksAtEnd = (ends == 1 && position > 1.5 && position == lastPosition) ? ticksAtEnd + 1 : 0;
        lastPosition = position;
        if (ticksAtEnd < 10)
            return false;
        endedWithoutRepeat = app.player.HasMedium() && backend->graphs == 2;
        window->close(); // the window manager's close is the exit command
        return true;
    });
    QTimer::singleShot(20000, &driver, [] { QCoreApplication::exit(2); });

    const int code = app.Run({"velmo", "\"" + clip + "\""});
    PlayerApp::SetExitFunction(previous);

    EXPECT_EQ(code, 1);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(app.playerSettings.startupPath, clip);
    EXPECT_TRUE(started);
    EXPECT_EQ(windowSize, FittedWindowSize(320, 240, SkinMetrics::From(app.skinSet)).expandedTo(kMinimumWindowSize));
    EXPECT_TRUE(repeated);
    EXPECT_TRUE(endedWithoutRepeat);
    EXPECT_EQ(exits, std::vector<int>{1});
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(app.player.HasMedium()); // the exit command closed it
}

} // namespace
} // namespace velmo::test
