// ASS on real pipelines: a companion file drawn typeset at the picture's
// time and read plainly in the user's look when the switch is off; an
// embedded track of a Matroska file with its attached fonts; the screenshot.

#include "engine/GstFilterGraph.h"
#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleOverlay.h"
#include "subtitles/SubtitleStyle.h"
#include "subtitles/TypesetTrack.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace velmo::test {
namespace {

// A yellow sign at the top right for the whole clip, and a Korean line from 0.5 s.
const char kScript[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 240\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
    "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
    "MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,24,&H0000FFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,0,0,2,10,10,"
    "10,1\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:00.00,0:00:02.00,Default,,0,0,0,,{\\an9\\pos(315,5)}SIGN\n"
    "Dialogue: 0,0:00:00.50,0:00:02.00,Default,,0,0,0,,한국어 자막\n";

class PlayerTypesetRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
        ASSERT_TRUE(EnsureFixtures()) << "the test clips could not be made";
        graph = std::make_unique<MediaGraph>(CreateGstMediaBackend());
        player = std::make_unique<Player>(*graph, settings, look);
    }
    void TearDown() override
    {
        player.reset();
        graph.reset();
    }
    bool OpenAndWait(const std::string &path)
    {
        QSignalSpy opened(player.get(), &Player::opened);
        QSignalSpy failed(player.get(), &Player::failed);
        player->Open(path);
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, 20000) && opened.size() == 1;
    }
    // The typeset layer at `ms` over a 640x480 picture, drawn anew.
    TypesetLayer LayerAt(int64_t ms)
    {
        TypesetLayer layer;
        if (TypesetTrack *track = graph->captions ? graph->captions->Typeset() : nullptr)
            track->Invalidate();
        player->DrawTypeset(ms, {640, 480}, &layer);
        return layer;
    }
    // A film beside its ASS file, as a user keeps them.
    std::string FilmWithCompanion()
    {
        const std::string film = dir.path("film.mkv");
        QFile::copy(QString::fromStdString(FixturePath("clip.mkv")), QString::fromStdString(film));
        dir.write("film.ass", kScript);
        return film;
    }

    TempDir dir;
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    std::unique_ptr<MediaGraph> graph;
    std::unique_ptr<Player> player;
};

TEST_F(PlayerTypesetRealTest, ACompanionAssIsTypesetAtTheShiftedTimeOrPlainInTheUsersLook)
{
    ASSERT_TRUE(settings.assStyled) << "on at first";
    ASSERT_TRUE(OpenAndWait(FilmWithCompanion()));
    ASSERT_TRUE(player->CaptionsTypeset());
    EXPECT_TRUE(player->HasCaptions());
    EXPECT_TRUE(player->Caption().text.isEmpty()) << "the typeset layer draws it";

    const TypesetLayer sign = LayerAt(200);
    ASSERT_FALSE(sign.image.isNull());
    EXPECT_GT(sign.at.x(), 480) << "the sign at its \\pos, at the picture's scale";
    EXPECT_LT(sign.at.y(), 60);
    EXPECT_GT(LayerAt(1000).image.height(), 300) << "the Korean line joins it at the bottom";
    player->ShiftCaptions(ID_CAPTION_LATER); // 0.5 s later: at 1000 ms of the picture, 500 of the file
    EXPECT_GT(LayerAt(1000).image.height(), 300);
    EXPECT_LT(LayerAt(900).image.height(), 100) << "only the sign before the line's shifted start";
    player->ShiftCaptions(ID_CAPTION_SYNC_RESET);

    // Off: the same text plainly, in the user's colour; the typeset layer goes.
    player->SetAssStyled(false);
    EXPECT_FALSE(player->CaptionsTypeset());
    TypesetLayer gone{QImage(1, 1, QImage::Format_ARGB32_Premultiplied), {}};
    EXPECT_TRUE(player->DrawTypeset(1000, {640, 480}, &gone));
    EXPECT_TRUE(gone.image.isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.contains(QStringLiteral("한국어 자막")); }, 5000));
    EXPECT_TRUE(player->Caption().text.contains(QStringLiteral("SIGN")));
    look.Color = 0x00FF00; // green in the settings' own order
    const QImage plain = DrawSubtitleLayer({640, 480}, player->Caption(), look);
    ASSERT_FALSE(plain.isNull());
    int green = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb p = plain.pixel(x, y);
            green += qAlpha(p) > 128 && qGreen(p) > 150 && qRed(p) < 100 && qBlue(p) < 100;
        }
    EXPECT_GT(green, 50);
    EXPECT_FALSE(PlayerSettings(look.settingsFile).assStyled) << "kept in the settings file at once";
}

TEST_F(PlayerTypesetRealTest, TheScreenshotCarriesTheTypesetSignAtTheVideosSize)
{
    const char *saved = std::getenv("XDG_PICTURES_DIR");
    const std::string before = saved ? saved : "";
    setenv("XDG_PICTURES_DIR", dir.path("pictures").c_str(), 1);
    ASSERT_TRUE(OpenAndWait(FilmWithCompanion()));
    player->Pause();
    player->SaveScreenshot();
    before.empty() ? unsetenv("XDG_PICTURES_DIR") : setenv("XDG_PICTURES_DIR", before.c_str(), 1);
    const QDir folder(QString::fromStdString(dir.path("pictures/Velmo")));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QImage shot(folder.filePath(files[0]));
    ASSERT_EQ(shot.size(), QSize(320, 240));
    // The yellow sign in the top right corner, where the test pattern has none.
    int yellow = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 240; x < 320; ++x) {
            const QRgb p = shot.pixel(x, y);
            yellow += qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) < 40;
        }
    EXPECT_GT(yellow, 20);
}

TEST_F(PlayerTypesetRealTest, AnEmbeddedTrackShowsAtItsTimeWithTheFontsTheFileAttaches)
{
    if (QStandardPaths::findExecutable(QStringLiteral("mkvmerge")).isEmpty())
        GTEST_SKIP() << "mkvmerge is not installed";
    const std::string ass = dir.write("track.ass", kScript);
    const std::string notFont = dir.write("broken.ttf", "these bytes only say they are a font");
    QProcess merge;
    merge.start(QStringLiteral("mkvmerge"),
                {QStringLiteral("-q"), QStringLiteral("-o"), QString::fromStdString(dir.path("film.mkv")),
                 QString::fromStdString(FixturePath("clip.mkv")), QStringLiteral("--language"), QStringLiteral("0:kor"),
                 QString::fromStdString(ass), QStringLiteral("--attachment-mime-type"), QStringLiteral("font/ttf"),
                 QStringLiteral("--attach-file"), QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                 QStringLiteral("--attachment-mime-type"), QStringLiteral("font/ttf"), QStringLiteral("--attach-file"),
                 QString::fromStdString(notFont)});
    ASSERT_TRUE(merge.waitForFinished(60000));
    ASSERT_LE(merge.exitCode(), 1) << merge.readAllStandardError().toStdString();

    ASSERT_TRUE(OpenAndWait(dir.path("film.mkv")));
    ASSERT_EQ(player->SubtitleChoice(), 0);
    // The cues come as the stream reaches them; the fonts with its tags.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->CaptionsTypeset() && LayerAt(1000).image.height() > 300; }, 5000));
    TypesetTrack *track = graph->captions->Typeset();
    EXPECT_EQ(track->FontCount(), 1) << "the font, not the bytes that only say they are one";
    EXPECT_TRUE(player->Caption().text.isEmpty());

    player->ChooseSubtitle(kSubtitleNone);
    EXPECT_FALSE(player->CaptionsTypeset());
}

} // namespace
} // namespace velmo::test
