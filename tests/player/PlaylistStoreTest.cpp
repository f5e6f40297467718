// The kept list on disk: replaced whole however a write is cut short.

#include "player/PlaylistStore.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace velmo::test {
namespace {

// A legacy list names its files in CP949: a file whose name was converted
// to UTF-8 is found by the converted name, one never converted by its bytes.
TEST(PlaylistStore, ALegacyListFindsFilesByTheirConvertedNameOrTheirOwnBytes)
{
    TempDir dir;
    const std::string converted = dir.write("가.avi", "x");
    const std::string unconverted = dir.path("") + "/\xB3\xAA.avi"; // "나" in CP949
    ASSERT_TRUE(WriteAtBytePath(unconverted, "x"));
    const std::string list = dir.write("old.m3u", "\xB0\xA1.avi\r\n\xB3\xAA.avi\r\n\xB4\xD9.avi\r\n");
    const std::optional<std::vector<PlaylistItem>> items = LoadPlaylistFile(list);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[0].path, converted);
    EXPECT_EQ((*items)[1].path, unconverted);
    EXPECT_EQ((*items)[2].path, dir.path("다.avi")) << "neither there: the converted name";
    EXPECT_TRUE((*items)[1].pathAsWritten.empty());
    EXPECT_FALSE(LoadPlaylistFile(dir.path("missing.m3u")));
    ::unlink(unconverted.c_str()); // a name Qt cannot spell, so the folder's removal cannot take it
}

// Killed at any moment of its writes, the list reads back as the last whole
// version or the one before, never as a part of one, and leaves at most the
// one temporary file that the next write takes over. The child writes a
// short list and a long one in turn, so that a half-written one shows.
TEST(PlaylistStore, KilledWritesLeaveAWholeListAndNoTemporaryFile)
{
    TempDir dir;
    const std::string file = PlaylistFileBeside(dir.path("velmo_init.ini"));
    std::vector<PlaylistItem> versions[2];
    versions[0].push_back({dir.path("one.avi"), "하나", 60000, {}});
    for (int i = 0; i < 300; ++i)
        versions[1].push_back({dir.path("a rather long folder name/film number " + std::to_string(i) + ".mkv"),
                               "제목 " + std::to_string(i), i * 1000, {}});
    const auto read = [&] {
        const std::optional<std::vector<PlaylistItem>> now = LoadPlaylistFile(file);
        return !now ? -1 : *now == versions[0] ? 0 : *now == versions[1] ? 1 : -1;
    };
    const auto files = [&] { return QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden); };
    ASSERT_TRUE(SavePlaylistFile(file, versions[0]));
    ASSERT_EQ(read(), 0);
    // VELMO_STORE_KILLS sets how many kills the list takes (400 by default).
    const int kills = qEnvironmentVariableIsSet("VELMO_STORE_KILLS") ? qEnvironmentVariableIntValue("VELMO_STORE_KILLS")
                                                                     : 400;
    std::mt19937 random(20261209); // seeded: a failing moment comes back
    std::uniform_int_distribution<int> moment(0, 4000);
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; i ^= 1)
                SavePlaylistFile(file, versions[i]);
        }
        const int us = moment(random);
        usleep(useconds_t(us));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_NE(read(), -1) << "kill " << kill << " after " << us << " us";
        ASSERT_LE(files().size(), 2) << "kill " << kill;
    }
    ASSERT_TRUE(SavePlaylistFile(file, versions[1]));
    EXPECT_EQ(read(), 1);
    EXPECT_EQ(files(), QStringList{"playlist.m3u8"});
}

} // namespace
} // namespace velmo::test
