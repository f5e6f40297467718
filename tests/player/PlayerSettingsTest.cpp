#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace velmo {
namespace {

using test::TempDir;

QByteArray Read(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PlayerSettings, OptionsOfOurOwnStartOffUnlessTheFileTurnsThemOn)
{
    const struct {
        const char *file;
        bool markup, continuous;
        const char *audio = "ko";    // the languages preferred: Korean unless the file says otherwise
        const char *subtitle = "ko";
    } cases[] = {
        {"[Sami]\nSize=30\n", false, false},
        {"[Velmo]\nCaption_Markup=\nContinuous_Play=yes\nAudio_Language=\n", false, false},
        {"[Velmo]\nCaption_Markup=TRUE\nContinuous_Play=1\nAudio_Language=ja,en\nSubtitle_Language=en\n", true,
         true, "ja,en", "en"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const std::string path = dir.write("velmo_init.ini", c.file);
        SubtitleStyle look(path);
        const PlayerSettings settings(look.settingsFile);
        EXPECT_EQ(settings.captionMarkup, c.markup) << c.file;
        EXPECT_EQ(settings.continuousPlay, c.continuous) << c.file;
        EXPECT_EQ(settings.audioLanguages, c.audio) << c.file;
        EXPECT_EQ(settings.subtitleLanguages, c.subtitle) << c.file;
    }
}

TEST(PlayerSettings, TypesetAssIsOnUnlessTheFileTurnsItOff)
{
    const struct {
        const char *file;
        bool styled;
    } cases[] = {
        {"[Sami]\nSize=30\n", true},   {"[Velmo]\nAss_Styled=\n", true}, {"[Velmo]\nAss_Styled=yes\n", true},
        {"[Velmo]\nAss_Styled=False\n", false}, {"[Velmo]\nAss_Styled=0\n", false},
    };
    for (const auto &c : cases) {
        TempDir dir;
        SubtitleStyle look(dir.write("velmo_init.ini", c.file));
        EXPECT_EQ(PlayerSettings(look.settingsFile).assStyled, c.styled) << c.file;
    }
}

// The look and the options share one file: each save keeps what the other
// saved, and what neither changed stays as the file held it.
TEST(PlayerSettings, TheLookAndTheOptionsSaveIntoOneFileWithoutLosingEachOther)
{
    TempDir dir;
    const std::string path = dir.write("velmo_init.ini", "[Sami]\nSize=30\nColor=255,255,255\n[Other]\nKeep=1\n");
    SubtitleStyle look(path);
    PlayerSettings settings(look.settingsFile);

    look.Size = 12; // changed by a key, not saved: the options' save leaves it
    settings.continuousPlay = true;
    settings.subtitleLanguages = "en,ko";
    ASSERT_TRUE(settings.SaveOptions());
    SubtitleStyle reloaded(path);
    EXPECT_EQ(reloaded.Size, 30);
    EXPECT_TRUE(PlayerSettings(reloaded.settingsFile).continuousPlay);

    look.Size = 40;
    ASSERT_TRUE(look.SaveSettings());
    SubtitleStyle again(path);
    EXPECT_EQ(again.Size, 40);
    EXPECT_TRUE(PlayerSettings(again.settingsFile).continuousPlay) << "the look's save keeps the options";
    EXPECT_EQ(PlayerSettings(again.settingsFile).subtitleLanguages, "en,ko");
    EXPECT_TRUE(Read(path).contains("[Other]\r\nKeep=1") || Read(path).contains("[Other]\nKeep=1")) << Read(path).toStdString();
}

TEST(PlayerSettings, TheVolumeSliderScale)
{
    const struct {
        int position;
        int32_t level;
    } cases[] = {{0, -10000}, {1, -9900}, {63, -3700}, {100, 0}, {-5, -10000}, {130, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(VolumeLevelAt(c.position), c.level) << c.position;
        if (c.position >= 0 && c.position <= 100) {
            EXPECT_EQ(VolumePositionOf(c.level), c.position) << c.level;
        }
    }
    EXPECT_EQ(VolumePositionOf(-20000), 0);
}

} // namespace
} // namespace velmo
