// The rules behind the folder playlist, the speed keys, the A-B loop and the
// screenshot's file name.

#include "player/AbRepeat.h"
#include "player/FolderPlaylist.h"
#include "player/PlaybackRate.h"
#include "player/Screenshot.h"
#include "resources/CommandIds.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velmo::test {
namespace {

TEST(FolderPlaylist, NamesPlayInNaturalOrder)
{
    std::vector<std::string> names = {"ep10.mkv", "Ep3.mkv", "ep2.mkv", "ep02.mkv", "나.mp4", "가10.avi",
                                      "가9.avi", "ep1b.mkv", "ep1.mkv", "\xb0\xa1.mkv", "a.mkv"};
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return NaturalCompare(a, b) < 0;
    });
    // "ep02" and "ep2" are equal in value and fall back to their bytes; a
    // CP949 name sorts by its bytes, which are no UTF-8 and come after.
    const std::vector<std::string> expected = {"a.mkv",   "ep1.mkv",  "ep1b.mkv", "ep02.mkv",     "ep2.mkv",  "Ep3.mkv",
                                               "ep10.mkv", "\xb0\xa1.mkv", "가9.avi", "가10.avi", "나.mp4"};
    EXPECT_EQ(names, expected);
}

TEST(FolderPlaylist, MediaByExtension)
{
    const std::pair<const char *, bool> cases[] = {
        {"a.mkv", true},  {"A.MKV", true},  {"b.Mp4", true},   {"c.wma", true},  {"d.m2ts", true},
        {"e.lst", false}, {"f.asx", false}, {"g.smi", false},  {"h.srt", false}, {".mkv", false},
        {"mkv", false},   {"i.mkv.part", false}, {"j.", false}, {"k.flac", true},
    };
    for (const auto &[name, media] : cases)
        EXPECT_EQ(IsMediaFileName(name), media) << name;
}

TEST(PlaybackRate, StepsOfATenthWithinTheBounds)
{
    struct Case {
        int id;
        int from;
        int to;
    } cases[] = {
        {ID_SPEED_UP, 100, 110},   {ID_SPEED_UP, 390, 400},   {ID_SPEED_UP, 400, 400},  {ID_SPEED_UP, 25, 30},
        {ID_SPEED_DOWN, 100, 90},  {ID_SPEED_DOWN, 30, 25},   {ID_SPEED_DOWN, 25, 25},  {ID_SPEED_DOWN, 50, 40},
        {ID_SPEED_RESET, 250, 100}, {ID_SPEED_UP, 55, 60},    {ID_SPEED_DOWN, 55, 50},  {ID_STOP, 120, 120},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RateAfter(c.id, c.from), c.to) << c.id << " from " << c.from;
    // Twenty steps up and back land where they began: no drift.
    int rate = RateHundredths(1.0);
    for (int i = 0; i < 20; ++i)
        rate = RateAfter(ID_SPEED_UP, RateHundredths(rate / 100.0));
    for (int i = 0; i < 20; ++i)
        rate = RateAfter(ID_SPEED_DOWN, RateHundredths(rate / 100.0));
    EXPECT_EQ(rate, 100);
    EXPECT_EQ(RateMessage(120), QStringLiteral("속도 1.2배"));
    EXPECT_EQ(RateMessage(100), QStringLiteral("속도 1.0배"));
    EXPECT_EQ(RateMessage(25), QStringLiteral("속도 0.25배"));
}

TEST(AbRepeat, PressesAndTicks)
{
    AbRepeat ab;
    EXPECT_FALSE(ab.Passed(0, 100));
    EXPECT_EQ(ab.Press(85'000), QStringLiteral("A-B 반복 시작"));
    EXPECT_FALSE(ab.Passed(84'900, 200'000)) << "nothing loops before B";
    EXPECT_EQ(ab.Press(70'400), QStringLiteral("A-B 반복: 00:01:10 ~ 00:01:25")) << "B before A swaps them";
    EXPECT_EQ(ab.state(), AbRepeat::State::Looping);
    struct Tick {
        int64_t from, to;
        bool passed;
    } ticks[] = {
        {84'950, 85'000, true},   // playback reaches B
        {84'900, 85'300, true},   // at 4x, past B within a tick
        {80'000, 84'999, false},  // a seek within the range
        {85'000, 85'100, false},  // beyond B already (a seek took it there)
        {84'000, 90'000, false},  // a seek across B is not playback
        {60'000, 60'100, false},  // before A
    };
    for (const Tick &t : ticks)
        EXPECT_EQ(ab.Passed(t.from, t.to), t.passed) << t.from << " -> " << t.to;
    EXPECT_EQ(ab.Press(1), QStringLiteral("A-B 반복 해제"));
    EXPECT_FALSE(ab.Passed(84'950, 85'000));
    ab.Press(5'000);
    EXPECT_EQ(ab.Press(5'000), QStringLiteral("A-B 반복 시작")) << "a B at A marks A again";
    EXPECT_EQ(ab.state(), AbRepeat::State::MarkedA);
}

TEST(Screenshot, FileNames)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/films/에피소드 2.mkv", "에피소드 2_01-02-03.456.png"},
        {"/films/\xb0\xa1.avi", "\xb0\xa1_01-02-03.456.png"},
        {"/films/no extension", "no extension_01-02-03.456.png"},
        {"/films/.hidden", ".hidden_01-02-03.456.png"},
        {"http://host/dir/show.mp4?token=a/b#t", "show_01-02-03.456.png"},
        {"rtsp://camera/", "camera_01-02-03.456.png"},
        {"", "Velmo_01-02-03.456.png"},
    };
    for (const auto &[media, name] : cases)
        EXPECT_EQ(ScreenshotName(media, 3'723'456), name) << media;
}

// A name too long for the file system loses the end of its name part, at a
// character boundary, and keeps its time; the whole name fits 255 bytes.
TEST(Screenshot, LongNamesAreShortenedToFit)
{
    const std::string suffix = "_01-02-03.456.png"; // 17 bytes
    const auto times = [](const std::string &piece, int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += piece;
        return s;
    };
    const std::string hangul = "가"; // 3 bytes in UTF-8
    const std::string cp949 = "\xb0\xa1"; // 2 bytes, its trail byte in UTF-8's continuation range
    struct Case {
        std::string medium;
        std::string name;
    };
    const Case cases[] = {
        {"/f/" + std::string(238, 'a') + ".mkv", std::string(238, 'a') + suffix}, // exactly 255
        {"/f/" + std::string(239, 'a') + ".mkv", std::string(238, 'a') + suffix},
        {"/f/" + std::string(250, 'a') + ".mkv", std::string(238, 'a') + suffix},
        // 79 Hangul syllables are 237 bytes; the 80th would not fit whole.
        {"/f/" + times(hangul, 83) + ".mp4", times(hangul, 79) + suffix},
        {"/f/a" + times(cp949, 125) + ".avi", "a" + times(cp949, 118) + suffix},
    };
    for (const Case &c : cases) {
        const std::string name = ScreenshotName(c.medium, 3'723'456);
        EXPECT_EQ(name, c.name) << c.medium;
        EXPECT_LE(name.size(), 255u);
    }
}

/// Puts an environment variable back as it was.
struct EnvGuard {
    explicit EnvGuard(const char *name) : name(name), had(std::getenv(name) != nullptr), value(had ? std::getenv(name) : "") {}
    ~EnvGuard() { had ? setenv(name, value.c_str(), 1) : unsetenv(name); }
    const char *name;
    bool had;
    std::string value;
};

TEST(Screenshot, PicturesFolderAndWriting)
{
    TempDir dir;
    const EnvGuard home("HOME"), config("XDG_CONFIG_HOME"), pictures("XDG_PICTURES_DIR");
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.path("config").c_str(), 1);
    unsetenv("XDG_PICTURES_DIR");
    EXPECT_EQ(PicturesFolder(), dir.path() + "/Pictures");
    dir.write("config/user-dirs.dirs", "# made by hand\nXDG_PICTURES_DIR=\"$HOME/사진\"\n");
    EXPECT_EQ(PicturesFolder(), dir.path() + "/사진");
    setenv("XDG_PICTURES_DIR", "/elsewhere", 1);
    EXPECT_EQ(PicturesFolder(), "/elsewhere");
    unsetenv("XDG_PICTURES_DIR");

    int error = 0;
    const std::string target = dir.path("사진/Velmo/a.png");
    ASSERT_TRUE(WritePictureFile(target, "PNG bytes", &error)) << error;
    EXPECT_EQ(dir.read("사진/Velmo/a.png"), "PNG bytes");
    // The longest name the file system takes is written, and leaves nothing beside it.
    const std::string longest = ScreenshotName("/f/" + std::string(300, 'x') + ".mkv", 0);
    ASSERT_EQ(longest.size(), 255u);
    ASSERT_TRUE(WritePictureFile(dir.path("사진/Velmo/" + longest), "PNG", &error)) << std::strerror(error);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path("사진/Velmo"))).entryList(QDir::Files | QDir::Hidden).size(), 2);
    // A folder that cannot be made: a failure with the reason, nothing written.
    dir.write("blocked", "a file where the folder would go");
    EXPECT_FALSE(WritePictureFile(dir.path("blocked/Velmo/b.png"), "x", &error));
    EXPECT_EQ(error, ENOTDIR);
}

} // namespace
} // namespace velmo::test
