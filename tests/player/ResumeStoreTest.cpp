// The records on disk: named so that the path shows nowhere, replaced whole
// however a write is cut short, and bounded.

#include "player/ResumeStore.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

QStringList FilesIn(const std::string &folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden);
}

TEST(ResumeStore, ThePathShowsNowhereOnlyItsHashAndTheRecentList)
{
    TempDir dir;
    ResumeStore store(ResumeStore::FolderBeside(dir.path("velmo_init.ini")));
    EXPECT_EQ(store.Folder(), dir.path("resume"));
    const std::string film = dir.path("secret film.mkv");
    ASSERT_TRUE(store.Save(film, ResumeRecord{180'000, 360'000, 0, {}, -1}));
    // Relative and absolute spellings of one file are one medium.
    const std::string relative = fs::relative(film).string();
    EXPECT_EQ(store.Load(relative)->positionMs, 180'000);
    EXPECT_EQ(ResumeStore::RecordName(film).size(), 64u);
    EXPECT_EQ(ResumeStore::MediumName("rtsp://127.0.0.1/a/../b"), "rtsp://127.0.0.1/a/../b");

    for (const QString &name : FilesIn(store.Folder())) {
        QFile file(QString::fromStdString(store.Folder()) + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("secret")) << name.toStdString();
        EXPECT_FALSE(name.contains("secret"));
    }
    store.Forget(film);
    EXPECT_FALSE(store.Load(film));
}

TEST(ResumeStore, TheLeastRecentlyWrittenRecordsGoAndClearTakesAll)
{
    TempDir dir;
    ResumeStore store(dir.path("resume"), 3);
    RecentFiles recent;
    recent.Add("/m/a");
    ASSERT_TRUE(store.SaveRecent(recent));
    const auto now = fs::file_time_type::clock::now();
    const char *order[] = {"/m/old", "/m/newest", "/m/middle"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(store.Save(order[i], ResumeRecord{1000 * (i + 1), 0, 0, {}, -1}));
        fs::last_write_time(dir.path("resume/" + ResumeStore::RecordName(order[i])),
                            now - std::chrono::hours(i == 0 ? 30 : i == 1 ? 10 : 20));
    }
    store.Save("/m/newest", ResumeRecord{9000, 0, 0, {}, -1}); // rewriting adds nothing
    EXPECT_TRUE(store.Load("/m/old"));
    ASSERT_TRUE(store.Save("/m/new", ResumeRecord{4000, 0, 0, {}, -1}));
    EXPECT_FALSE(store.Load("/m/old"));
    EXPECT_TRUE(store.Load("/m/middle") && store.Load("/m/newest") && store.Load("/m/new"));
    EXPECT_EQ(store.LoadRecent().Entries().size(), 1u) << "the list is no record";

    store.Clear();
    EXPECT_TRUE(FilesIn(store.Folder()).isEmpty()) << FilesIn(store.Folder()).join(' ').toStdString();
    EXPECT_TRUE(store.LoadRecent().Entries().empty());
}

// The records and the recent list, each killed at any moment of its writes,
// read back as the last whole version or the one before, never as garbage or
// as nothing, and leave at most the one temporary file that the next write
// takes over. The child writes two versions of different lengths in turn, so
// that a half-written one shows.
TEST(ResumeStore, KilledWritesLeaveAWholeVersionAndNoTemporaryFile)
{
    const std::string film = "/m/film.mkv";
    const ResumeRecord records[] = {{1000, 400'000, 0, {}, -1}, {2'000'000, 400'000, -2500, QString(300, 'l'), 3}};
    RecentFiles lists[2];
    lists[0].Add("/m/one.avi");
    for (int i = 0; i < 10; ++i)
        lists[1].Add("/media/a rather long folder name/film number " + std::to_string(i) + ".mkv");
    struct Case {
        const char *store;
        std::function<bool(ResumeStore &, int)> save; // writes version 0 or 1
        std::function<int(const ResumeStore &)> read; // the version read back; -1: neither
    };
    const Case cases[] = {
        {"resume record", [&](ResumeStore &s, int v) { return s.Save(film, records[v]); },
         [&](const ResumeStore &s) {
             const std::optional<ResumeRecord> now = s.Load(film);
             return !now ? -1 : *now == records[0] ? 0 : *now == records[1] ? 1 : -1;
         }},
        {"recent list", [&](ResumeStore &s, int v) { return s.SaveRecent(lists[v]); },
         [&](const ResumeStore &s) {
             const std::vector<std::string> now = s.LoadRecent().Entries();
             return now == lists[0].Entries() ? 0 : now == lists[1].Entries() ? 1 : -1;
         }},
    };
    // VELMO_STORE_KILLS sets how many kills each store takes (400 by default).
    const int kills = qEnvironmentVariableIsSet("VELMO_STORE_KILLS") ? qEnvironmentVariableIntValue("VELMO_STORE_KILLS")
                                                                     : 400;
    for (const Case &c : cases) {
        TempDir dir;
        ResumeStore store(dir.path("resume"));
        ASSERT_TRUE(c.save(store, 0));
        std::mt19937 random(20240612); // seeded: a failing moment comes back
        std::uniform_int_distribution<int> moment(0, 3000);
        for (int kill = 0; kill < kills; ++kill) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int i = 0;; i ^= 1)
                    c.save(store, i);
            }
            const int us = moment(random);
            usleep(useconds_t(us));
            ::kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            ASSERT_NE(c.read(store), -1) << c.store << ": kill " << kill << " after " << us << " us";
            ASSERT_LE(FilesIn(store.Folder()).size(), 2) << c.store << ": kill " << kill;
        }
        ASSERT_TRUE(c.save(store, 1));
        EXPECT_EQ(c.read(store), 1) << c.store;
        EXPECT_EQ(FilesIn(store.Folder()).size(), 1) << c.store << ": " << FilesIn(store.Folder()).join(' ').toStdString();
    }
}

} // namespace
} // namespace velmo::test
