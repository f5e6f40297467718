// The video screen as a real widget, offscreen: the skin background rules,
// frames, the caption layer, input forwarding, and frames from a real pipeline.

#include "engine/EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"
#include "screen/ScreenFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::WaitUntil;

namespace {

class VideoScreenTest : public ::testing::Test, protected test::ScreenOnFakeGraph {
protected:
    VideoScreenTest()
    {
        SetImage(skin.screenLeft, "left.png", QSize(6, 300), Qt::red);
        SetImage(skin.screenRight, "right.png", QSize(8, 300), Qt::blue);
        SetImage(skin.screenBack, "back.png", QSize(4, 4), Qt::green);
        SetImage(skin.logo, "logo.png", QSize(20, 10), Qt::yellow);
        window.resize(200, 100);
        screen->setGeometry(0, 0, 200, 100);
        window.show();
    }
    void SetImage(SkinImage &image, const std::string &name, QSize size, Qt::GlobalColor colour)
    {
        QImage pixels(size, QImage::Format_RGB32);
        pixels.fill(colour);
        pixels.save(QString::fromStdString(dir.path(name)));
        ASSERT_TRUE(image.bitmap.Load(dir.path(name)));
        image.width = size.width();
        image.height = size.height();
    }
    QColor At(int x, int y) { return screen->grab().toImage().pixelColor(x, y); }
};

TEST_F(VideoScreenTest, WithoutAPictureTheSkinBackgroundAndLogoArePainted)
{
    EXPECT_EQ(At(0, 50), QColor(Qt::red));
    EXPECT_EQ(At(5, 99), QColor(Qt::red)); // the strip runs the whole height
    EXPECT_EQ(At(6, 50), QColor(Qt::green));
    EXPECT_EQ(At(191, 50), QColor(Qt::green));
    EXPECT_EQ(At(192, 50), QColor(Qt::blue));
    EXPECT_EQ(At(199, 0), QColor(Qt::blue));
    // Logo centred: x = 200/2 - 20/2, y = 100/2 - 10/2.
    EXPECT_EQ(At(90, 45), QColor(Qt::yellow));
    EXPECT_EQ(At(109, 54), QColor(Qt::yellow));
    EXPECT_EQ(At(89, 45), QColor(Qt::green));
    EXPECT_EQ(At(110, 54), QColor(Qt::green));
    // A resize repaints the same rules at the new size.
    screen->setGeometry(0, 0, 101, 61);
    EXPECT_EQ(At(100, 30), QColor(Qt::blue));
    EXPECT_EQ(At(40, 25), QColor(Qt::yellow)); // 101/2 - 10 = 40, 61/2 - 5 = 25
    EXPECT_EQ(At(39, 25), QColor(Qt::green));
}

TEST_F(VideoScreenTest, APictureSuppressesBackgroundAndLogoWhileMediaIsOpen)
{
    backend->AddMedia("song.mp3", {5.0, 0, 0});
    backend->AddMedia("film.avi", {5.0, 320, 240});
    ASSERT_EQ(Open("song.mp3"), S_OK);
    EXPECT_EQ(At(100, 50), QColor(Qt::yellow)); // no picture: as without media

    ASSERT_EQ(Open("film.avi"), S_OK);
    EXPECT_EQ(At(0, 50), QColor(Qt::red));
    EXPECT_EQ(At(100, 50), QColor(Qt::black));
    EXPECT_EQ(At(30, 50), QColor(Qt::black));

    Close();
    EXPECT_EQ(At(100, 50), QColor(Qt::yellow));
    // A picture counts only while media is open.
    screen->SetMedium(false, true);
    EXPECT_EQ(At(100, 50), QColor(Qt::yellow));
}

TEST_F(VideoScreenTest, ThePictureFillsTheScreensAreaFromTheOpenAndAfterEachResize)
{
    backend->AddMedia("film.avi");
    ASSERT_EQ(Open("film.avi"), S_OK);
    EXPECT_EQ(backend->LastGraph()->windowRect, QRect(0, 0, 200, 100));
    EXPECT_EQ(screen->clientRect, QRect(0, 0, 200, 100));

    QSignalSpy areas(screen, &VideoScreen::AreaChanged);
    screen->setGeometry(10, 20, 150, 80);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas.at(0).at(0).toRect(), QRect(0, 0, 150, 80)); // in the screen's own coordinates
    EXPECT_EQ(screen->clientRect, QRect(0, 0, 150, 80));
    EXPECT_EQ(backend->LastGraph()->windowRect, QRect(0, 0, 150, 80));
    // A move alone leaves the area as it is.
    screen->move(0, 0);
    EXPECT_EQ(areas.size(), 1);
}

TEST_F(VideoScreenTest, FramesArePaintedInTheirPictureRectangleWithBlackBars)
{
    backend->AddMedia("film.avi");
    ASSERT_EQ(Open("film.avi"), S_OK);
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    screen->ShowFrame({picture, QRect(0, 0, 200, 100), QRect(50, 0, 100, 100), nullptr});
    EXPECT_EQ(At(50, 0), QColor(Qt::magenta));
    EXPECT_EQ(At(149, 99), QColor(Qt::magenta));
    EXPECT_EQ(At(49, 50), QColor(Qt::black));
    EXPECT_EQ(At(150, 50), QColor(Qt::black));
    // A frame of another size is scaled into the rectangle.
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(Qt::cyan);
    screen->ShowFrame({small, QRect(0, 0, 200, 100), QRect(0, 0, 200, 100), nullptr});
    EXPECT_EQ(At(0, 0), QColor(Qt::cyan));
    EXPECT_EQ(At(199, 99), QColor(Qt::cyan));
    screen->ClearFrame();
    EXPECT_FALSE(screen->HasPicture());
    EXPECT_EQ(At(100, 50), QColor(Qt::black));
}

TEST_F(VideoScreenTest, TypesetCaptionsAreAskedForEachFramesTimeAndDrawnAtThePicturesPlace)
{
    backend->AddMedia("film.avi");
    ASSERT_EQ(Open("film.avi"), S_OK);
    std::vector<std::pair<int64_t, QSize>> asked;
    bool changed = true;
    QImage sign(10, 10, QImage::Format_ARGB32_Premultiplied);
    sign.fill(Qt::yellow);
    screen->SetTypesetSource([&](int64_t ms, const QSize &pixels, TypesetLayer *layer) {
        asked.emplace_back(ms, pixels);
        if (changed)
            *layer = ms < 2000 ? TypesetLayer{sign, QPoint(80, 5)} : TypesetLayer();
        return changed;
    });
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    VideoFrame frame{picture, QRect(0, 0, 200, 100), QRect(50, 0, 100, 100), nullptr};
    screen->ShowFrame(frame); // no time: nothing asked
    EXPECT_TRUE(asked.empty());
    frame.timeMs = 1000;
    screen->ShowFrame(frame);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(int64_t(1000), QSize(100, 100)));
    EXPECT_EQ(At(50 + 80, 5), QColor(Qt::yellow)) << "at its place in the picture, not the screen";
    EXPECT_EQ(At(50 + 79, 5), QColor(Qt::magenta));
    changed = false; // unchanged: the layer stays
    screen->ShowFrame(frame);
    EXPECT_EQ(At(50 + 85, 10), QColor(Qt::yellow));
    changed = true;
    frame.timeMs = 2500;
    screen->ShowFrame(frame);
    EXPECT_EQ(At(50 + 85, 10), QColor(Qt::magenta)) << "gone when nothing shows";
}

TEST_F(VideoScreenTest, TheCaptionLayerIsKeptUntilAnErasingInvalidation)
{
    const ShownCaption hello(QStringLiteral("Hello"));
    style.Color = 0x00FFFFFF;
    style.Position = 10;
    screen->DrawSubtitle(hello); // no media: nothing
    EXPECT_FALSE(screen->HasSubtitleLayer());

    backend->AddMedia("film.avi");
    ASSERT_EQ(Open("film.avi"), S_OK);
    screen->DrawSubtitle(hello);
    ASSERT_TRUE(screen->HasSubtitleLayer());
    const QRect r = screen->SubtitleRect();
    // Near the bottom, inside the screen.
    EXPECT_LT(r.bottom(), 100);
    EXPECT_GT(r.top(), 40);
    const QImage shot = screen->grab().toImage();
    // Over the black picture area, the caption is the only light thing.
    int light = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            light += shot.pixelColor(x, y).lightness() > 128;
    EXPECT_GT(light, 10);

    // A new frame does not touch the layer; an erasing invalidation does.
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    screen->ShowFrame({picture, QRect(0, 0, 200, 100), QRect(0, 0, 200, 100), nullptr});
    EXPECT_TRUE(screen->HasSubtitleLayer());
    screen->Invalidate(true);
    EXPECT_FALSE(screen->HasSubtitleLayer());
    screen->DrawSubtitle(hello);
    EXPECT_TRUE(screen->HasSubtitleLayer());
    screen->RedrawErase();
    EXPECT_FALSE(screen->HasSubtitleLayer());

    // A caption of white space draws nothing; a resize clears the layer.
    screen->DrawSubtitle(hello);
    screen->DrawSubtitle(ShownCaption(QStringLiteral(" ")));
    EXPECT_FALSE(screen->HasSubtitleLayer());
    screen->DrawSubtitle(ShownCaption(QStringLiteral("Again")));
    ASSERT_TRUE(screen->HasSubtitleLayer());
    screen->setGeometry(0, 0, 150, 80);
    EXPECT_FALSE(screen->HasSubtitleLayer());
    // Once the medium is closed the layer is cleared and no caption is drawn.
    screen->DrawSubtitle(hello);
    Close();
    EXPECT_FALSE(screen->HasSubtitleLayer());
    screen->DrawSubtitle(hello);
    EXPECT_FALSE(screen->HasSubtitleLayer());
}

TEST_F(VideoScreenTest, AMessageShowsAtTheTopLeftBesideTheCaptionAndGoes)
{
    style.Color = 0x00FFFFFF;
    style.Position = 10;
    backend->AddMedia("film.avi");
    ASSERT_EQ(Open("film.avi"), S_OK);
    screen->DrawSubtitle(ShownCaption(QStringLiteral("Caption")));
    const QRect caption = screen->SubtitleRect();
    const auto lightIn = [this](const QRect &r) {
        const QImage shot = screen->grab().toImage();
        int light = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                light += shot.pixelColor(x, y).lightness() > 128;
        return light;
    };
    const QRect topLeft(0, 0, screen->width() / 2, caption.top() - 1);
    EXPECT_EQ(lightIn(topLeft), 0);
    screen->ShowMessage(QStringLiteral("자막 싱크 -0.5초"));
    EXPECT_GT(lightIn(topLeft), 10);
    EXPECT_GT(lightIn(caption), 10);
    QTRY_COMPARE_WITH_TIMEOUT(lightIn(topLeft), 0, 3 * VideoScreen::kMessageMs);
    EXPECT_GT(lightIn(caption), 10);
}

TEST_F(VideoScreenTest, InputOverThePictureReachesTheMainWindowOnceWithScreenCoordinates)
{
    screen->setGeometry(10, 20, 180, 70);
    test::InputRecorder recorder(&window);
    QTest::mouseDClick(screen, Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));
    QTest::mouseMove(screen, QPoint(30, 40));
    QTest::keyClick(screen, Qt::Key_A);
    ASSERT_TRUE(WaitUntil([&] { return recorder.Count(QEvent::KeyRelease) > 0; }));
    EXPECT_EQ(recorder.Count(QEvent::MouseButtonDblClick), 1);
    EXPECT_EQ(recorder.Count(QEvent::KeyPress), 1);
    EXPECT_EQ(recorder.Count(QEvent::KeyRelease), 1);
    for (const auto &[type, pos] : recorder.events) {
        if (type == QEvent::MouseButtonDblClick) {
            EXPECT_EQ(pos, QPointF(7, 9));
        }
    }
}

/// A video screen on the real GStreamer graph, with no skin images.
class VideoScreenPipeline : public ::testing::Test, protected test::ScreenOnGraph {
protected:
    VideoScreenPipeline() : ScreenOnGraph(nullptr) { window.show(); }
    void SetUp() override
    {
        VELMO_SKIP_UNLESS_PLAYBACK();
        ASSERT_TRUE(test::EnsureFixtures());
    }
};

TEST_F(VideoScreenPipeline, RealFramesAreScaledToThePictureRectangle)
{
    screen->setGeometry(0, 0, 640, 360);
    ASSERT_EQ(Open(test::FixturePath("long.mkv")), S_OK);
    ASSERT_EQ(graph.control->Pause(), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return screen->HasPicture(); }));
    EXPECT_EQ(screen->CurrentFrame().picture, QRect(80, 0, 480, 360));
    ASSERT_EQ(graph.control->Run(), S_OK);
    // Once the scaler follows the screen, frames come at the size shown.
    ASSERT_TRUE(WaitUntil([&] { return screen->CurrentFrame().image.size() == QSize(480, 360); }));

    screen->setGeometry(0, 0, 320, 320);
    EXPECT_EQ(screen->CurrentFrame().picture, QRect(0, 40, 320, 240));
    ASSERT_EQ(graph.mixerPinConfig->SetAspectRatioMode(AM_ARMODE_STRETCHED), S_OK);
    EXPECT_EQ(screen->CurrentFrame().picture, QRect(0, 0, 320, 320));
    ASSERT_TRUE(WaitUntil([&] { return screen->CurrentFrame().image.size() == QSize(320, 320); }));

    // The picture is really drawn: the test pattern is not all black.
    const QImage shot = screen->grab().toImage();
    int lit = 0;
    for (int x = 0; x < 320; x += 8)
        lit += shot.pixelColor(x, 160).lightness() > 40;
    EXPECT_GT(lit, 5);

    Close();
    EXPECT_FALSE(screen->HasPicture());
}


TEST_F(VideoScreenPipeline, ResizingWhilePlayingNeverStopsTheStream)
{
    screen->setGeometry(0, 0, 320, 240);
    test::NotifyCounter counter(&window);
    ASSERT_EQ(Open(test::FixturePath("clip.mkv")), S_OK);
    // Every size change renegotiates the scaler while frames of the old size
    // are still on their way; none of them may stop the stream.
    int step = 0;
    while (counter.count == 0 && step < 400) {
        screen->setGeometry(0, 0, 200 + (step * 37) % 300, 150 + (step * 53) % 200);
        QTest::qWait(5);
        ++step;
    }
    ASSERT_TRUE(WaitUntil([&] { return counter.count > 0; }, 15000)) << "the clip never ended";
    const auto events = test::Drain(*graph.events);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].code, EC_COMPLETE);
    graph.Close();
}

} // namespace
