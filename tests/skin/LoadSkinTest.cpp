#include "skin/SkinSet.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <string>
#include <vector>

using namespace velmo;
using velmo::test::TempDir;
using velmo::test::WorkingDir;

namespace {

// Every picture file of a skin folder, in the loader's order.
const std::vector<std::string> kPictureFiles = {
    "controlpanel.bmp", "controlpanel_left.bmp", "controlpanel_right.bmp", "toppanel.bmp",
    "toppanel_left.bmp", "toppanel_right.bmp", "screen_back.bmp", "screen_right.bmp",
    "screen_left.bmp", "play.bmp", "pause.bmp", "stop.bmp",
    "next.bmp", "prev.bmp", "open.bmp", "controlPanel_full.bmp",
    "sound_on.bmp", "sound_off.bmp", "maximize.bmp", "close.bmp",
    "title_ico.bmp", "title_str.bmp", "minimize.bmp", "logo.bmp",
    "mainslider.bmp", "mainslider_ball.bmp", "mainslider_sel.bmp", "soundslider.bmp",
    "soundslider_ball.bmp", "soundslider_sel.bmp", "time_infor_left.bmp", "time_infor_back.bmp",
    "time_infor_right.bmp",
};

// Each file gets its own size, so a member loaded from the wrong file shows.
QSize sizeOf(const std::string &file)
{
    for (size_t i = 0; i < kPictureFiles.size(); ++i) {
        if (kPictureFiles[i] == file)
            return {static_cast<int>(3 * (i + 5)), static_cast<int>(i + 2)};
    }
    return {};
}

QByteArray picture(QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray bmp(QSize size) { return picture(size, "BMP"); }

// A skin folder: the description `ini` and every picture but `skip`.
std::string writeSkin(const TempDir &dir, const QByteArray &ini, const std::vector<std::string> &skip = {})
{
    for (const std::string &file : kPictureFiles) {
        if (std::find(skip.begin(), skip.end(), file) == skip.end())
            dir.write("skin/default/" + file, bmp(sizeOf(file)));
    }
    return dir.write("skin/default/skin.ini", ini);
}

void expectSize(const SkinImage &image, const std::string &file)
{
    const QSize size = sizeOf(file);
    EXPECT_EQ(image.width, size.width()) << file;
    EXPECT_EQ(image.height, size.height()) << file;
    EXPECT_EQ(image.info.width, size.width()) << file;
    EXPECT_EQ(image.info.height, size.height()) << file;
    EXPECT_FALSE(image.bitmap.isNull()) << file;
}

} // namespace

TEST(LoadSkin, EveryMemberTakesItsOwnFile)
{
    TempDir dir;
    const SkinSet skin(writeSkin(dir, "[Play]\nAttribute=1\n"));
    expectSize(skin.controlPanel, "controlpanel.bmp");
    expectSize(skin.controlPanelLeft, "controlpanel_left.bmp");
    expectSize(skin.controlPanelRight, "controlpanel_right.bmp");
    expectSize(skin.topPanel, "toppanel.bmp");
    expectSize(skin.topPanelLeft, "toppanel_left.bmp");
    expectSize(skin.topPanelRight, "toppanel_right.bmp");
    expectSize(skin.logo, "logo.bmp");
    expectSize(skin.screenBack, "screen_back.bmp");
    expectSize(skin.screenLeft, "screen_left.bmp");
    expectSize(skin.screenRight, "screen_right.bmp");
    expectSize(skin.play, "play.bmp");
    expectSize(skin.pause, "pause.bmp");
    expectSize(skin.stop, "stop.bmp");
    expectSize(skin.open, "open.bmp");
    expectSize(skin.prev, "prev.bmp");
    expectSize(skin.next, "next.bmp");
    expectSize(skin.soundOn, "sound_on.bmp");
    expectSize(skin.soundOff, "sound_off.bmp");
    expectSize(skin.maximize, "maximize.bmp");
    expectSize(skin.minimize, "minimize.bmp");
    expectSize(skin.close, "close.bmp");
    expectSize(skin.titleIcon, "title_ico.bmp");
    expectSize(skin.titleString, "title_str.bmp");
    expectSize(skin.controlPanelFull, "controlPanel_full.bmp");

    EXPECT_EQ(skin.timeline.width, sizeOf("mainslider.bmp").width());
    EXPECT_EQ(skin.timeline.height, sizeOf("mainslider.bmp").height());
    EXPECT_EQ(skin.timeline.trackInfo.width, sizeOf("mainslider.bmp").width());
    EXPECT_EQ(skin.timeline.thumb.image().size(), sizeOf("mainslider_ball.bmp"));
    EXPECT_EQ(skin.timeline.heldThumb.image().size(), sizeOf("mainslider_sel.bmp"));
    EXPECT_EQ(skin.soundSlider.width, sizeOf("soundslider.bmp").width());
    EXPECT_EQ(skin.soundSlider.thumb.image().size(), sizeOf("soundslider_ball.bmp"));
    EXPECT_EQ(skin.soundSlider.heldThumb.image().size(), sizeOf("soundslider_sel.bmp"));
    EXPECT_EQ(skin.time.leftCapInfo.width, sizeOf("time_infor_left.bmp").width());
    EXPECT_EQ(skin.time.backInfo.height, sizeOf("time_infor_back.bmp").height());
    EXPECT_EQ(skin.time.rightCapInfo.width, sizeOf("time_infor_right.bmp").width());
    EXPECT_EQ(skin.time.rightCap.image().size(), sizeOf("time_infor_right.bmp"));

    // The description keeps at least size, row length and depth.
    const BitmapInfo &info = skin.play.info;
    EXPECT_EQ(info.planes, 1);
    EXPECT_GT(info.bitsPerPixel, 0);
    EXPECT_GE(info.bytesPerRow, info.width * info.bitsPerPixel / 8);
}

TEST(LoadSkin, AFolderWhoseNameIsNotUtf8)
{
    TempDir dir;
    const std::string folder = dir.path() + "/\xBD\xBA\xC5\xB2"; // "스킨" in CP949
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_TRUE(velmo::test::WriteAtBytePath(folder + "/skin.ini", "[Play]\nAttribute=1\n"));
    ASSERT_TRUE(velmo::test::WriteAtBytePath(folder + "/play.bmp", bmp(sizeOf("play.bmp"))));
    const SkinSet skin(folder + "/skin.ini");
    EXPECT_TRUE(skin.play.shown);
    expectSize(skin.play, "play.bmp");
}

TEST(LoadSkin, MissingDescriptionLeavesTheSetEmpty)
{
    TempDir dir;
    writeSkin(dir, "");
    const std::string missing = dir.path("skin/default/other.ini");
    SkinSet skin(missing);
    EXPECT_FALSE(skin.LoadSkin(missing));
    EXPECT_EQ(skin.skinFile.lastError(), "파일(" + missing + ")을 열 수 없습니다.");
    EXPECT_TRUE(skin.play.bitmap.isNull()) << "no picture is loaded without a description";
    EXPECT_EQ(skin.play.width, 0);
    EXPECT_FALSE(skin.play.shown);
    EXPECT_TRUE(skin.play.align.empty());
    EXPECT_TRUE(skin.controlPanel.bitmap.isNull());
    EXPECT_TRUE(skin.timeline.track.isNull());
    EXPECT_TRUE(skin.time.back.isNull());
    EXPECT_EQ(skin.time.textColor, 0u);
    EXPECT_FALSE(skin.topPanelPlacement.shown);
    EXPECT_FALSE(skin.controlPanelPlacement.shown);
    EXPECT_EQ(skin.topReserved, 0);
    EXPECT_EQ(skin.bottomReserved, 0);
    EXPECT_EQ(skin.mainClientRect.width(), 0);
}

TEST(LoadSkin, DefaultPathIsRelativeToTheWorkingDirectory)
{
    TempDir dir;
    writeSkin(dir, "[Stop]\nPositionX=7\n");
    const WorkingDir cwd(dir.path());
    const SkinSet skin;
    EXPECT_EQ(skin.stop.x, 7);
    expectSize(skin.stop, "stop.bmp");
}

TEST(LoadSkin, SectionsKeysAndDefaults)
{
    TempDir dir;
    const SkinSet skin(writeSkin(dir,
                                 "[play]\nattribute=1\npositionx=-4\nPositionY= 9px\nAlign=Right\n"
                                 "[Stop]\nAttribute=0\nPositionX=30\n"
                                 "[Next]\nAttribute=FALSE\n"
                                 "[Prev]\nAttribute=no\n"
                                 "[Open]\nAttribute=\nPositionX = 12\nAlign=\n"
                                 "[Title_Ico]\nAlign=Right\n"
                                 "[Title_String]\nLeft=Center\n"
                                 "[Timeline]\nPositionX=3\nPositionY=4\nBlank=90\nAlign=Top\n"
                                 "[Sound_Slider]\nPositionX=70\nBlank=5\nAttribute=0\n"
                                 "[Time]\nPositionX=120\nPositionY=6\nBlank=8\n"));
    EXPECT_TRUE(skin.play.shown);
    EXPECT_EQ(skin.play.x, -4);
    EXPECT_EQ(skin.play.y, 9) << "read like atol: leading blanks, digits up to the first other character";
    EXPECT_EQ(skin.play.align, "Right");
    EXPECT_FALSE(skin.stop.shown);
    EXPECT_EQ(skin.stop.x, 30);
    EXPECT_FALSE(skin.next.shown) << "FALSE in any letter case hides";
    EXPECT_TRUE(skin.prev.shown) << "only 0 and false hide";
    EXPECT_TRUE(skin.open.shown) << "an empty value shows";
    EXPECT_EQ(skin.open.x, 0) << "blanks around '=' make another key";
    EXPECT_EQ(skin.open.align, "Left");
    EXPECT_EQ(skin.titleIcon.align, "Left") << "the title pieces read their alignment from key Left";
    EXPECT_EQ(skin.titleString.align, "Center");

    // A section the file lacks: shown, at 0, 0, aligned left.
    EXPECT_TRUE(skin.pause.shown);
    EXPECT_EQ(skin.pause.x, 0);
    EXPECT_EQ(skin.pause.y, 0);
    EXPECT_EQ(skin.pause.align, "Left");

    EXPECT_TRUE(skin.timeline.shown);
    EXPECT_EQ(skin.timeline.x, 3);
    EXPECT_EQ(skin.timeline.y, 4);
    EXPECT_EQ(skin.timeline.blank, 90);
    EXPECT_EQ(skin.timeline.align, "Top");
    EXPECT_FALSE(skin.soundSlider.shown);
    EXPECT_EQ(skin.soundSlider.x, 70);
    EXPECT_EQ(skin.soundSlider.blank, 5);
    EXPECT_EQ(skin.soundSlider.align, "Left");
    EXPECT_TRUE(skin.time.shown);
    EXPECT_EQ(skin.time.x, 120);
    EXPECT_EQ(skin.time.y, 6);
    EXPECT_EQ(skin.time.blank, 8);
}

TEST(LoadSkin, ElementsWithoutASectionUseTheNamelessOne)
{
    TempDir dir;
    {
        const SkinSet skin(writeSkin(dir, "Attribute=0\nPositionX=5\n[Other]\nx=1\n"));
        for (const SkinImage *image : {&skin.controlPanel, &skin.screenLeft, &skin.logo, &skin.soundOff}) {
            EXPECT_TRUE(image->shown) << "keys of the nameless section do not apply";
            EXPECT_EQ(image->x, 0);
            EXPECT_EQ(image->align, "Left");
        }
        EXPECT_EQ(skin.skinFile.GetString("Other", "x"), "1") << "other sections are kept";
    }
    {
        const SkinSet skin(writeSkin(dir, "Left=Center\n[Play]\n"));
        EXPECT_EQ(skin.logo.align, "Center") << "key Left before the first header aligns them";
        EXPECT_EQ(skin.play.align, "Left");
    }
}

TEST(LoadSkin, TimeColoursGoThroughTheProfileReader)
{
    struct Case {
        const char *lines;
        Colour text;
        Colour shadow;
    };
    const Case cases[] = {
        {"Text_Color=255,0,0\nShadow_Color=0,0,255\n", 0x0000FF, 0xFF0000},
        {"Text_Color=255, 0, 0\n", 0x0000FF, 0},
        {"Text_Color=0, 0, 255\n", 0, 0},
        {"Text_Color = 255,0,0\n  SHADOW_COLOR =  10,20,30  \n", 0x0000FF, 0x1E140A},
        {"", 0, 0},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const SkinSet skin(writeSkin(dir, QByteArray("[Time]\n") + c.lines));
        EXPECT_EQ(skin.time.textColor, c.text) << c.lines;
        EXPECT_EQ(skin.time.shadowColor, c.shadow) << c.lines;
    }
}

TEST(LoadSkin, ReservedHeights)
{
    const int title = sizeOf("toppanel.bmp").height();
    const int panel = sizeOf("controlpanel.bmp").height();
    struct Case {
        const char *ini;
        int top;
        int bottom;
    };
    const Case cases[] = {
        {"[Top_Panel]\nAlign=Top\n[Control_Panel]\nAlign=Bottom\n", title, panel},
        {"[Top_Panel]\nAlign=Bottom\n[Control_Panel]\nAlign=Top\n", panel, title},
        {"[Top_Panel]\nAlign=Top\n[Control_Panel]\nAlign=Top\n", panel, 0},
        {"[Top_Panel]\nAlign=Bottom\n[Control_Panel]\nAlign=Bottom\n", 0, panel},
        {"[Top_Panel]\nAlign=Top\n[Control_Panel]\nAlign=top\n", title, 0},
        {"[Top_Panel]\nAttribute=0\nAlign=Top\n[Control_Panel]\nAlign=Bottom\n", 0, panel},
        {"[Top_Panel]\nAlign=Top\n[Control_Panel]\nAttribute=false\nAlign=Bottom\n", title, 0},
        {"", 0, 0},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const SkinSet skin(writeSkin(dir, c.ini));
        EXPECT_EQ(skin.topReserved, c.top) << c.ini;
        EXPECT_EQ(skin.bottomReserved, c.bottom) << c.ini;
    }
    TempDir dir;
    const SkinSet skin(writeSkin(dir, "[Top_Panel]\nAlign=top\n[Control_Panel]\nAttribute=0\n"));
    EXPECT_TRUE(skin.topPanelPlacement.shown);
    EXPECT_EQ(skin.topPanelPlacement.align, "top") << "kept as written";
    EXPECT_FALSE(skin.controlPanelPlacement.shown);
    EXPECT_EQ(skin.controlPanelPlacement.align, "") << "no default";
}

TEST(LoadSkin, MissingOrMisnamedPicturesLeaveOnlyTheirMemberEmpty)
{
    TempDir dir;
    const std::string ini = writeSkin(dir, "[Play]\nPositionX=15\n",
                                      {"play.bmp", "controlPanel_full.bmp", "sound_on.bmp", "sound_off.bmp",
                                       "mainslider_sel.bmp"});
    dir.write("skin/default/controlpanel_full.bmp", bmp({30, 10})); // small p: another file
    dir.write("skin/default/time_infor_back.bmp", "not a picture");
    // Told by content, not by name: a PNG named .bmp is read, a BMP header
    // over nothing is not.
    dir.write("skin/default/stop.bmp", picture(sizeOf("stop.bmp"), "PNG"));
    dir.write("skin/default/pause.bmp", bmp(sizeOf("pause.bmp")).left(40));
    const SkinSet skin(ini);
    EXPECT_TRUE(skin.play.bitmap.isNull());
    EXPECT_EQ(skin.play.width, 0);
    EXPECT_EQ(skin.play.height, 0);
    EXPECT_EQ(skin.play.info.bytesPerRow, 0);
    EXPECT_EQ(skin.play.info.bitsPerPixel, 0);
    EXPECT_TRUE(skin.play.shown) << "the description still applies";
    EXPECT_EQ(skin.play.x, 15);
    EXPECT_TRUE(skin.controlPanelFull.bitmap.isNull());
    EXPECT_EQ(skin.controlPanelFull.width, 0);
    EXPECT_TRUE(skin.soundOn.bitmap.isNull());
    EXPECT_TRUE(skin.timeline.heldThumb.isNull());
    EXPECT_FALSE(skin.timeline.thumb.isNull());
    EXPECT_TRUE(skin.time.back.isNull());
    EXPECT_EQ(skin.time.backInfo.height, 0);
    EXPECT_TRUE(skin.pause.bitmap.isNull());
    expectSize(skin.stop, "stop.bmp");
    expectSize(skin.logo, "logo.bmp");
}
