// The picture window on a real X server (its own Xvfb): what the server shows
// must be exactly what the video screen paints itself, for frames in the
// scaler's memory and elsewhere, at the picture's size and another, with and
// without a caption; input over it reaches the main window as over the screen.

#include "engine/EngineTestUtil.h"
#include "screen/PictureWindow.h"
#include "screen/ScreenFixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstring>
#include <csignal>
#include <sys/resource.h>

using namespace velmo;
using velmo::test::WaitUntil;

namespace {

constexpr QSize kScreen(320, 200);

/// A top-level window at `at` holding a video screen with a film to open on the fake graph.
struct Side : test::ScreenOnFakeGraph {
    Side(const QPoint &at, bool painted) : ScreenOnFakeGraph(painted)
    {
        backend->AddMedia("film.avi", {5.0, 320, 240});
        window.setGeometry(QRect(at, kScreen));
        screen->setGeometry(QRect(QPoint(0, 0), kScreen));
        window.show();
    }
    /// The screen's pixels as the X server has them.
    QImage Seen() const
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, window.x(), window.y(), kScreen.width(),
                                                            kScreen.height()).toImage().convertToFormat(
            QImage::Format_RGB32);
    }
    /// The screen's picture window; null when the screen paints its pictures.
    PictureWindow *Window() const { return screen->findChild<PictureWindow *>(); }
};

/// A frame whose every pixel differs from its neighbours', in a pixel block or
/// not; `logical` is its size at a device pixel ratio of 1, and it holds that
/// many device pixels, as the video output makes them.
VideoFrame Frame(const QSize &logical, const QRect &picture, bool inBlock)
{
    const QSize size = logical * qGuiApp->devicePixelRatio();
    VideoFrame frame;
    const int stride = (size.width() * 4 + 63) / 64 * 64;
    if (inBlock) {
        frame.pixels = PixelBlock::Allocate(size_t(stride) * size_t(size.height()));
        frame.image = QImage(frame.pixels->Data(), size.width(), size.height(), stride, QImage::Format_RGB32);
    } else {
        frame.image = QImage(size, QImage::Format_RGB32);
    }
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            frame.image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x * 7 + y * 3) & 255));
    frame.area = QRect(QPoint(0, 0), kScreen);
    frame.picture = picture;
    return frame;
}

/// Where two pictures first differ, or "" when they are the same.
std::string FirstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("at %1,%2: %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 6, 16)
                    .arg(b.pixel(x, y), 6, 16)
                    .toStdString();
    return {};
}

/// Whether the X server offers shared memory (Xvfb -extension MIT-SHM takes it away).
bool ServerHasSharedMemory()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const xcb_query_extension_reply_t *shm = x11 ? xcb_get_extension_data(x11->connection(), &xcb_shm_id) : nullptr;
    return shm && shm->present;
}

class PictureWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run through tests/support/under_xvfb.sh)";
        if (!ServerHasSharedMemory())
            GTEST_SKIP() << "the X server has no shared memory";
        ASSERT_EQ(direct.Open("film.avi"), S_OK);
        ASSERT_EQ(painted.Open("film.avi"), S_OK);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&direct.window));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&painted.window));
    }
    void ShowOnBoth(const VideoFrame &frame)
    {
        direct.screen->ShowFrame(frame);
        painted.screen->ShowFrame(frame);
    }

    Side direct{QPoint(0, 0), false};
    Side painted{QPoint(400, 0), true};
};

} // namespace

TEST_F(PictureWindowTest, TheServerShowsWhatTheScreenWouldPaint)
{
    struct Case {
        const char *name;
        QSize frame;
        QRect picture;
        bool inBlock;
        const char *caption; ///< null: none
    };
    const Case cases[] = {
        {"letter-boxed, in the scaler's memory", {266, 200}, {27, 0, 266, 200}, true, nullptr},
        {"with a caption over picture and bars", {320, 150}, {0, 25, 320, 150}, true, "자막이 보입니다"},
        {"a frame mapped from elsewhere", {320, 200}, {0, 0, 320, 200}, false, "Caption"},
        {"a frame of another size, scaled", {160, 100}, {0, 0, 320, 200}, true, "Caption"},
        {"a narrow picture, the caption wider", {100, 200}, {110, 0, 100, 200}, true, "A long caption line"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int before = direct.Window() ? direct.Window()->FramesDone() : 0;
        ShowOnBoth(Frame(c.frame, c.picture, c.inBlock));
        for (Side *side : {&direct, &painted}) {
            side->screen->DrawSubtitle(ShownCaption(QString::fromUtf8(c.caption ? c.caption : " ")));
        }
        painted.screen->repaint();
        PictureWindow *picture = direct.Window();
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(painted.Window(), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return picture->FramesDone() > before; }));
        EXPECT_EQ(direct.screen->HasSubtitleLayer(), c.caption != nullptr);

        // The bars a moved picture uncovers are the screen's own to paint,
        // on its next paint, which may come after the server's word.
        const QImage wanted = painted.Seen();
        QImage seen;
        WaitUntil([&] {
            seen = direct.Seen();
            return FirstDifference(seen, wanted).empty();
        });
        // Not two black screens: the picture's middle is the frame's.
        const QPoint middle = c.picture.center() * qGuiApp->devicePixelRatio();
        EXPECT_NE(seen.pixel(middle), qRgb(0, 0, 0));
        EXPECT_EQ(FirstDifference(seen, wanted), "");
    }
    // Frames faster than the server takes them: the newest is what stays.
    for (int shade = 0; shade < 4; ++shade) {
        VideoFrame frame = Frame({320, 200}, {0, 0, 320, 200}, true);
        frame.image.fill(qRgb(40 * shade, 200, 40));
        ShowOnBoth(frame);
    }
    painted.screen->repaint();
    ASSERT_TRUE(WaitUntil([&] { return direct.Seen().pixel(10, 10) == qRgb(120, 200, 40); }));
    EXPECT_EQ(FirstDifference(direct.Seen(), painted.Seen()), "");

    // A frame with nowhere to go, or none: the window goes and the screen
    // shows its own black, as the painting screen does.
    for (const bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "cleared" : "empty picture rectangle");
        ShowOnBoth(Frame({320, 200}, {0, 0, 320, 200}, true));
        ASSERT_FALSE(direct.Window()->isHidden());
        if (clear) {
            direct.screen->ClearFrame();
            painted.screen->ClearFrame();
        } else {
            ShowOnBoth(Frame({320, 200}, {}, true));
        }
        EXPECT_TRUE(direct.Window()->isHidden());
        direct.screen->repaint();
        painted.screen->repaint();
        EXPECT_EQ(direct.Seen().pixel(QPoint(160, 100) * qGuiApp->devicePixelRatio()), qRgb(0, 0, 0));
        EXPECT_EQ(FirstDifference(direct.Seen(), painted.Seen()), "");
    }
}

namespace {

/// The picture memory this process has mapped: frames and composed pictures.
int PictureMappings()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    return int(maps.readAll().count("memfd:velmo-picture"));
}

} // namespace

// A picture scaled to the window is composed whole; once the frames fit the
// window again, that whole picture's memory goes.
TEST_F(PictureWindowTest, AWholeComposedPictureGoesOnceTheFramesFit)
{
    const int before = PictureMappings();
    ASSERT_GE(before, 0);
    int done = direct.Window() ? direct.Window()->FramesDone() : 0;
    ShowOnBoth(Frame({160, 100}, {0, 0, 320, 200}, true));
    ASSERT_TRUE(WaitUntil([&] { return direct.Window() && direct.Window()->FramesDone() > done; }));
    EXPECT_EQ(PictureMappings(), before + 2); // the frame and the composed picture

    done = direct.Window()->FramesDone();
    ShowOnBoth(Frame({320, 200}, {0, 0, 320, 200}, true));
    ASSERT_TRUE(WaitUntil([&] { return direct.Window()->FramesDone() > done; }));
    EXPECT_EQ(PictureMappings(), before + 1); // the frame alone
}

namespace {

/// Keeps this process from making memory files of any use: none may grow
/// beyond a page, as where a file size limit is set.
class FileSizeLimited {
public:
    FileSizeLimited()
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit low = saved_;
        low.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &low);
        // Growing past the limit fails with EFBIG instead of ending the process.
        previous_ = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimited()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

} // namespace

// When no memory of ours can reach the server any more (none can be made, or
// the server will not map it), the screen paints the picture itself instead
// of leaving it black.
TEST_F(PictureWindowTest, WhenTheServerCannotBeGivenThePictureTheScreenPaintsIt)
{
    // In the scaler's memory with no caption: put straight, nothing composed yet.
    ShowOnBoth(Frame({266, 200}, {27, 0, 266, 200}, true));
    PictureWindow *picture = direct.Window();
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return picture->FramesDone() > 0; }));
    {
        FileSizeLimited limited;
        // Memory from elsewhere must go through a composed picture of our own,
        // which needs a new memory file.
        ShowOnBoth(Frame({320, 200}, {0, 0, 320, 200}, false));
        // Put now, or once the server is done with the put before.
        EXPECT_TRUE(WaitUntil([&] { return direct.Window() == nullptr; }, 3000));
    }
    direct.screen->repaint();
    painted.screen->repaint();
    const QImage seen = direct.Seen();
    EXPECT_NE(seen.pixel(160, 100), qRgb(0, 0, 0));
    EXPECT_EQ(FirstDifference(seen, painted.Seen()), "");
    // And so it stays, caption and all.
    for (Side *side : {&direct, &painted}) {
        side->screen->DrawSubtitle(ShownCaption(QStringLiteral("자막")));
        side->screen->repaint();
    }
    EXPECT_EQ(FirstDifference(direct.Seen(), painted.Seen()), "");
}

TEST_F(PictureWindowTest, InputOverThePictureReachesTheMainWindowAsOverTheScreen)
{
    direct.screen->ShowFrame(Frame({266, 200}, {27, 0, 266, 200}, true));
    PictureWindow *picture = direct.Window();
    ASSERT_NE(picture, nullptr);
    test::InputRecorder recorder(&direct.window);
    QTest::mouseDClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, QPoint(10, 190));
    ASSERT_TRUE(WaitUntil([&] { return recorder.Count(QEvent::MouseButtonRelease) > 0; }));
    for (const auto &[type, position] : recorder.events) {
        if (type == QEvent::MouseButtonDblClick) {
            EXPECT_EQ(position, QPointF(32, 6));
        }
        if (type == QEvent::MouseButtonRelease && position.y() > 100) {
            EXPECT_EQ(position, QPointF(37, 190));
        }
    }
    EXPECT_EQ(recorder.Count(QEvent::MouseButtonDblClick), 1);
}

TEST(PictureWindowFallback, WithoutSharedMemoryTheScreenPaintsThePicture)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (run through tests/support/under_xvfb.sh)";
    if (ServerHasSharedMemory())
        GTEST_SKIP() << "the X server has shared memory";
    Side side(QPoint(0, 0), false);
    ASSERT_EQ(side.Open("film.avi"), S_OK);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&side.window));
    const VideoFrame frame = Frame({266, 200}, {27, 0, 266, 200}, true);
    side.screen->ShowFrame(frame);
    side.screen->repaint();
    EXPECT_EQ(side.Window(), nullptr);
    EXPECT_EQ(side.Seen().pixel(100, 50), frame.image.pixel(100 - 27, 50));
    EXPECT_EQ(side.Seen().pixel(10, 50), qRgb(0, 0, 0));
}
