#include "app/FileFilters.h"
#include "app/OpenDialog.h"

#include "support/TempDir.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(FileFilters, EachEntryKeepsItsLabelAndTheFirstCoversAllTheOthers)
{
    struct Case {
        const char *classic;
        QStringList more;
        QStringList filters;
    };
    const Case cases[] = {
        {kSubtitleFileFilter, {}, {"사미파일(벨모) (*.smi *.sami *.srt *.vtt *.ass *.ssa)", "자막 파일(*.smi *.sami *.srt *.vtt *.ass *.ssa) (*.smi *.sami *.srt *.vtt *.ass *.ssa)"}},
        // "*wma" gets its dot; "*.*" stays in its own entry; a pattern comes once, whatever its case.
        {"전부|*.a|소리(*wma)|*wma;*.A|모든파일(*.*)|*.*||", {"*.mkv", "*.wma", "*.a"},
         {"전부 (*.a *.wma *.mkv)", "소리(*wma) (*.wma *.A)", "모든파일(*.*) (*.*)"}},
        {"하나|*.x||", {"*.y"}, {"하나 (*.x *.y)"}},
        {"", {"*.y"}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DialogNameFilters(c.classic, c.more), c.filters) << c.classic;
}

TEST(FileFilters, DialogsStartInTheMediumsFolderElseTheLastElseHome)
{
    test::TempDir dir;
    dir.write("films/a.mkv", "x");
    dir.write("last/b.mkv", "x");
    const std::string films = dir.path("films");
    const std::string last = dir.path("last");
    struct Case {
        std::string medium;
        std::string lastFolder;
        QString start;
    };
    const Case cases[] = {
        {films + "/a.mkv", last, QString::fromStdString(films)},
        {films + "/gone.mkv", last, QString::fromStdString(films)}, // the file may go, its folder is there
        {dir.path("gone/a.mkv"), last, QString::fromStdString(last)},
        {"http://host/films/a.mkv", last, QString::fromStdString(last)},
        {"", last, QString::fromStdString(last)},
        {"", dir.path("gone"), QDir::homePath()},
        {"", "", QDir::homePath()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DialogStartFolder(c.medium, c.lastFolder), c.start) << c.medium << " | " << c.lastFolder;
}

} // namespace
} // namespace velmo
