// The title bar and the control panel on a screen of twice the pixels
// (QT_SCALE_FACTOR=2, set by this binary's own main before Qt starts): every
// skin picture must reach the screen as its @2x file, pixel for pixel.

#include "controls/BitmapButton.h"
#include "controls/ControlPanel.h"
#include "controls/TimeDisplay.h"
#include "controls/TitleBar.h"
#include "engine/MediaGraph.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

using namespace velmo;

namespace {

const QString kSkinFolder = QStringLiteral(VELMO_SOURCE_DIR "/skin/default/");

// How many pixels of `shown` at device position `at` differ from `picture`'s
// first frame (its left `frameWidth` columns); magenta is see-through and
// skipped.
int Differences(const QImage &shown, QPoint at, const QImage &picture, int frameWidth)
{
    int differ = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const QRgb want = picture.pixel(x, y);
            if ((want & 0xffffff) == 0xff00ff)
                continue;
            differ += shown.pixel(at.x() + x, at.y() + y) != want;
        }
    }
    return differ;
}

struct Placed {
    const char *file;  ///< the @2x picture
    QWidget *widget;   ///< where it is drawn: a button shows its first of three frames
    bool button;
};

class HiDpiTest : public ::testing::Test {
protected:
    HiDpiTest()
    {
        owner.resize(800, 600);
        owner.show();
    }

    // Every picture in `placed`, compared with what `panel` shows at device pixels.
    void ExpectCrisp(QWidget &panel, const std::vector<Placed> &placed)
    {
        const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.devicePixelRatio(), 2.0);
        for (const Placed &p : placed) {
            SCOPED_TRACE(p.file);
            const QImage picture =
                QImage(kSkinFolder + QString::fromUtf8(p.file)).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(picture.isNull());
            const QPoint at = p.widget == &panel ? QPoint(0, 0) : p.widget->mapTo(&panel, QPoint(0, 0)) * 2;
            const int frameWidth = p.button ? picture.width() / 3 : picture.width();
            EXPECT_EQ(Differences(shown, at, picture, frameWidth), 0) << "at " << at.x() << "," << at.y();
        }
    }

    test::TempDir dir;
    SkinSet skin{VELMO_SOURCE_DIR "/skin/default/skin.ini"};
    MediaGraph graph{std::make_shared<FakeMediaBackend>()};
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    Player player{graph, settings, look};
    QWidget owner;
};

TEST_F(HiDpiTest, TitleBarDrawsTheDoubledPictures)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    TitleBar bar(skin, &owner);
    bar.resize(400, skin.topPanel.height);
    ASSERT_EQ(skin.topPanel.bitmap.image().height(), 2 * skin.topPanel.height)
        << "the layout stays in the plain pictures' pixels";
    ExpectCrisp(bar, {{"toppanel_left@2x.bmp", &bar, false},
                      {"title_ico@2x.bmp", bar.iconButton, true},
                      {"title_str@2x.bmp", bar.titleStringButton, true},
                      {"minimize@2x.bmp", bar.minimizeButton, true},
                      {"close@2x.bmp", bar.closeButton, true}});
}

TEST_F(HiDpiTest, ControlPanelDrawsTheDoubledPictures)
{
    ControlPanel panel(skin, player, &owner);
    panel.resize(500, skin.controlPanel.height);
    ExpectCrisp(panel, {{"controlpanel_left@2x.bmp", &panel, false},
                        {"play@2x.bmp", panel.playButton, true},
                        {"stop@2x.bmp", panel.stopButton, true},
                        {"open@2x.bmp", panel.openButton, true},
                        {"controlPanel_full@2x.bmp", panel.fullScreenButton, true}});
}

// The time text is drawn by the widget's own painter, so at the device's
// resolution: some 2x2 block of device pixels that the text touches is not
// one colour, which a text drawn at 1 and doubled could not give.
TEST_F(HiDpiTest, TimeTextHasDetailFinerThanItsCoordinates)
{
    TimeDisplay display(skin.time, &owner);
    display.resize(130, LayoutSize(skin.time.back.image()).height());
    const auto shown = [&](const QString &text) {
        display.SetText(text);
        return display.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage blank = shown(QString());
    const QImage text = shown(QStringLiteral("01:23:45 / 02:00:00"));
    ASSERT_EQ(text.size(), display.size() * 2);
    int split = 0;
    for (int y = 0; y + 1 < text.height(); y += 2) {
        for (int x = 0; x + 1 < text.width(); x += 2) {
            const QRgb p[4] = {text.pixel(x, y), text.pixel(x + 1, y), text.pixel(x, y + 1), text.pixel(x + 1, y + 1)};
            const bool touched = p[0] != blank.pixel(x, y) || p[1] != blank.pixel(x + 1, y) ||
                                 p[2] != blank.pixel(x, y + 1) || p[3] != blank.pixel(x + 1, y + 1);
            split += touched && (p[1] != p[0] || p[2] != p[0] || p[3] != p[0]);
        }
    }
    EXPECT_GT(split, 20);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before the application exists: the screens take their ratio from it.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    InstallKoreanFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
