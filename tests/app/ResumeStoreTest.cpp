// The records on disk: named so that the path shows nowhere, replaced whole
// however a write is cut short, and bounded.

#include "app/ResumeStore.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
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

// A record killed at any moment of its write reads as the last whole record
// or the one before, never as garbage or as no record.
TEST(ResumeStore, KilledWritesLeaveAWholeRecord)
{
    TempDir dir;
    ResumeStore store(dir.path("resume"));
    const std::string film = "/m/film.mkv";
    const ResumeRecord records[] = {{1000, 400'000, 0, {}, -1}, {2'000'000, 400'000, -2500, QString(300, 'l'), 3}};
    ASSERT_TRUE(store.Save(film, records[0]));
    std::mt19937 random(20240612); // seeded: a failing moment comes back
    std::uniform_int_distribution<int> moment(0, 3000);
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; i ^= 1)
                store.Save(film, records[i]);
        }
        const int us = moment(random);
        usleep(useconds_t(us));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::optional<ResumeRecord> now = store.Load(film);
        ASSERT_TRUE(now && (*now == records[0] || *now == records[1]))
            << "kill " << kill << " after " << us << " us";
        ASSERT_LE(FilesIn(store.Folder()).size(), 2) << "kill " << kill;
    }
}

} // namespace
} // namespace velmo::test
