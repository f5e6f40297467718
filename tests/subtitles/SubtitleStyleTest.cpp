#include "subtitles/SubtitleStyle.h"

#include "text/Cp949.h"
#include "support/TempDir.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include <limits>

using namespace velmo;
using velmo::test::TempDir;
using velmo::test::WorkingDir;

TEST(SubtitleStyle, WithoutASettingsFileTheInitialValuesStand)
{
    TempDir dir;
    WorkingDir cwd(dir.path());
    SubtitleStyle style;
    EXPECT_TRUE(style.subtitleVisible);
    EXPECT_EQ(style.Size, 0);
    EXPECT_EQ(style.Color, 0u);
    EXPECT_FALSE(style.Outline_Use);
    EXPECT_FALSE(style.font.has_value());
    EXPECT_EQ(style.settingsFile.fileName(), "./velmo_init.ini");
}

TEST(SubtitleStyle, AbsentFlagsReadTrue)
{
    TempDir dir;
    dir.write("velmo_init.ini", "[Sami]\r\nSize=30\r\n");
    WorkingDir cwd(dir.path());
    SubtitleStyle style;
    EXPECT_EQ(style.Size, 30);
    EXPECT_EQ(style.Style, 0);
    EXPECT_TRUE(style.Outline_Use && style.Outline_Deep && style.Shadow_Use && style.Shadow_Deep);
    EXPECT_TRUE(style.subtitleVisible);
    EXPECT_TRUE(style.Quality);
    EXPECT_EQ(style.fontQuality, 4);
    EXPECT_EQ(style.Font, "");
    EXPECT_EQ(style.Color, 0u);
    ASSERT_TRUE(style.font.has_value());
    EXPECT_EQ(QFontMetrics(*style.font).height(), 30);
}

TEST(SubtitleStyle, LoadsEveryKeyAndBuildsTheFont)
{
    TempDir dir;
    const QByteArray face = toCp949(QString::fromUtf8("굴림"));
    dir.write("velmo_init.ini", "[SAMI]\nattribute=false\nFont=" + face
                                    + "\nSize=24\nOutline_Use=0\nOutline_Deep=1\nShadow_Use=False\n"
                                      "Shadow_Deep=True\nQuality=0\nStyle=700\nPosition=15\n"
                                      "Color = 255,255,0\nOutline=10,20,30\nShadow=300,0,0\n");
    WorkingDir cwd(dir.path());
    SubtitleStyle style;
    EXPECT_FALSE(style.subtitleVisible);
    EXPECT_EQ(style.Font, face.toStdString());
    EXPECT_FALSE(style.Outline_Use);
    EXPECT_TRUE(style.Outline_Deep);
    EXPECT_FALSE(style.Shadow_Use);
    EXPECT_TRUE(style.Shadow_Deep);
    EXPECT_FALSE(style.Quality);
    EXPECT_EQ(style.fontQuality, 0);
    EXPECT_EQ(style.Position, 15);
    EXPECT_EQ(style.Color, 0x00FFFFu);
    EXPECT_EQ(style.Outline, 30u * 65536 + 20 * 256 + 10);
    EXPECT_EQ(style.Shadow, 44u);
    ASSERT_TRUE(style.font.has_value());
    EXPECT_EQ(style.font->family(), QString::fromUtf8("굴림"));
    EXPECT_EQ(style.font->weight(), QFont::Bold);
    EXPECT_EQ(QFontMetrics(*style.font).height(), 24);
    EXPECT_EQ(style.font->styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

TEST(SubtitleStyle, SaveWritesTheThirteenKeysAndKeepsOtherEntries)
{
    TempDir dir;
    dir.write("velmo_init.ini", "[Other]\nKeep=me\n[Sami]\nSize=30\nUnknown=x\n");
    WorkingDir cwd(dir.path());
    SubtitleStyle style;
    style.Size = 22;
    style.Style = 400;
    style.Position = 5;
    style.Outline_Use = false;
    style.Color = ParseColorText("255,128,0");
    ASSERT_TRUE(style.SaveSettings());
    EXPECT_EQ(dir.read("velmo_init.ini"),
              QByteArray("[Other]\nKeep=me\n\n\n[Sami]\n"
                         "Attribute=True\nColor=255,128,0\nFont=\nOutline=0,0,0\n"
                         "Outline_Deep=True\nOutline_Use=False\nPosition=5\nQuality=True\n"
                         "Shadow=0,0,0\nShadow_Deep=True\nShadow_Use=True\nSize=22\nStyle=400\nUnknown=x\n\n\n"));

    SubtitleStyle reloaded;
    EXPECT_EQ(reloaded.Size, 22);
    EXPECT_EQ(reloaded.Color, style.Color);
    EXPECT_FALSE(reloaded.Outline_Use);
}

TEST(SubtitleStyle, FirstSaveCreatesTheFile)
{
    TempDir dir;
    WorkingDir cwd(dir.path());
    SubtitleStyle style;
    style.Size = 18;
    ASSERT_TRUE(style.SaveSettings());
    SubtitleStyle reloaded;
    EXPECT_EQ(reloaded.Size, 18);
    EXPECT_TRUE(reloaded.subtitleVisible);
}

TEST(SubtitleStyle, WeightsMapToTheNearestFontWeight)
{
    EXPECT_EQ(MakeSubtitleFont(20, 400, 0, "").weight(), QFont::Normal);
    EXPECT_EQ(MakeSubtitleFont(20, 700, 4, "").weight(), QFont::Bold);
    EXPECT_EQ(MakeSubtitleFont(20, 650, 4, "").weight(), QFont::DemiBold);
    EXPECT_EQ(MakeSubtitleFont(20, 830, 4, "").weight(), QFont::ExtraBold);
    EXPECT_TRUE(MakeSubtitleFont(20, 400, 4, "").styleStrategy() & QFont::PreferAntialias);
}

// Size is the caption's line height (ascent + descent), as a positive font
// height means; a negative one is the em. Faces: the shipped Korean one (through
// its substitute) and a Latin one.
TEST(SubtitleStyle, SizeIsTheLineHeightOfTheCaptionFont)
{
    InstallKoreanFontSubstitutes();
    const std::string gulim = toCp949(QString::fromUtf8("굴림")).toStdString();
    struct Case {
        std::string face;
        QString family; // what the face resolves to
        int32_t size;
        int32_t weight;
    };
    const Case cases[] = {
        {gulim, "NanumGothic", 20, 700}, {gulim, "NanumGothic", 40, 400}, {gulim, "NanumGothic", 10, 400},
        {gulim, "NanumGothic", 80, 700}, {"DejaVu Sans", "DejaVu Sans", 20, 400}, {"DejaVu Sans", "DejaVu Sans", 40, 700},
    };
    QImage layer(64, 64, QImage::Format_ARGB32_Premultiplied); // the overlay measures on its layer
    for (const Case &c : cases) {
        SCOPED_TRACE(c.face + " " + std::to_string(c.size));
        const QFont font = MakeSubtitleFont(c.size, c.weight, 4, c.face);
        ASSERT_EQ(QFontInfo(font).family().toStdString(), c.family.toStdString());
        const int height = QFontMetrics(font, &layer).height();
        EXPECT_LE(height, c.size);
        EXPECT_GE(height, c.size - 1);
    }
    EXPECT_EQ(MakeSubtitleFont(-20, 400, 4, "DejaVu Sans").pixelSize(), 20);
    // Values no screen can show, from a hand-edited file, make a large font, not an overflow.
    for (int32_t hostile : {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
        EXPECT_LE(MakeSubtitleFont(hostile, 400, 4, "DejaVu Sans").pixelSize(), 1000) << hostile;
}

TEST(SubtitleStyle, ShippedFirstRunSettingsAreReadable)
{
    SubtitleStyle style(VELMO_SOURCE_DIR "/resources/velmo_init.ini");
    EXPECT_TRUE(style.subtitleVisible);
    EXPECT_EQ(fromCp949(QByteArray::fromStdString(style.Font)), QString::fromUtf8("굴림"));
    EXPECT_EQ(style.Color, ParseColorText("255,255,255"));
    EXPECT_EQ(style.Outline, 0u);
    EXPECT_TRUE(style.Outline_Use);
    EXPECT_FALSE(style.Outline_Deep);
    EXPECT_GE(style.Size, 10);
    EXPECT_LE(style.Size, 80);
    EXPECT_EQ(style.Style, 700);
    EXPECT_EQ(style.fontQuality, 4);
}

