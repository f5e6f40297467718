#include "subtitles/CompanionSubtitle.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using velmo::FindCompanionSubtitle;
using velmo::test::TempDir;

TEST(CompanionSubtitle, SmiBeforeSami)
{
    TempDir dir;
    dir.write("a.avi", "x");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("a.avi")), "");

    dir.write("a.sami", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("a.avi")), dir.path("a.sami"));

    dir.write("a.smi", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("a.avi")), dir.path("a.smi"));
}

TEST(CompanionSubtitle, TheWholeExtensionIsReplaced)
{
    TempDir dir;
    dir.write("movie.smi", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("movie.divx")), dir.path("movie.smi"));
    EXPECT_EQ(FindCompanionSubtitle(dir.path("movie.mpeg")), dir.path("movie.smi"));
    EXPECT_EQ(FindCompanionSubtitle(dir.path("movie.ts")), dir.path("movie.smi"));
    // Only the last extension goes.
    EXPECT_EQ(FindCompanionSubtitle(dir.path("movie.smi.mkv")), "");
}

TEST(CompanionSubtitle, ExtensionInAnyLetterCase)
{
    TempDir dir;
    dir.write("Movie.SMI", "s");
    dir.write("Clip.Sami", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("Movie.avi")), dir.path("Movie.SMI"));
    EXPECT_EQ(FindCompanionSubtitle(dir.path("Clip.AVI")), dir.path("Clip.Sami"));
    // The name before the extension keeps its case, as files here do.
    EXPECT_EQ(FindCompanionSubtitle(dir.path("movie.avi")), "");
}

TEST(CompanionSubtitle, DotsInFoldersAndNamesWithoutExtension)
{
    TempDir dir;
    dir.write("my.films/movie.smi", "s");
    dir.write("my.films/clip.sami", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("my.films/movie")), dir.path("my.films/movie.smi"));
    EXPECT_EQ(FindCompanionSubtitle(dir.path("my.films/clip")), dir.path("my.films/clip.sami"));
    EXPECT_EQ(FindCompanionSubtitle(dir.path("my.films/other")), "");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("my.films/")), "");
    EXPECT_EQ(FindCompanionSubtitle(""), "");
}

TEST(CompanionSubtitle, AFolderNamedLikeASubtitleIsNotOne)
{
    TempDir dir;
    dir.write("b.smi/inside", "x");
    dir.write("b.sami", "s");
    EXPECT_EQ(FindCompanionSubtitle(dir.path("b.avi")), dir.path("b.sami"));
}

TEST(CompanionSubtitle, RelativePathsStayRelative)
{
    TempDir dir;
    dir.write("rel.smi", "s");
    velmo::test::WorkingDir cwd(dir.path());
    EXPECT_EQ(FindCompanionSubtitle("rel.mp4"), "rel.smi");
    EXPECT_EQ(FindCompanionSubtitle("./rel.mp4"), "./rel.smi");
}

TEST(CompanionSubtitle, OtherFormatsAfterSamiInTheirOrder)
{
    // Folder contents, and which of them the media "ep.mkv" takes.
    const struct {
        std::vector<const char *> files;
        const char *chosen;
    } cases[] = {
        {{"ep.srt", "ep.vtt", "ep.smi"}, "ep.smi"},
        {{"ep.vtt", "ep.SRT"}, "ep.SRT"},
        {{"ep.kr.srt", "ep.vtt"}, "ep.vtt"},
        {{"ep.kr.srt", "ep.kor.srt", "ep.ko.vtt"}, "ep.kor.srt"},
        {{"ep.KO.VTT"}, "ep.KO.VTT"},
        {{"ep.ssa", "ep.ass", "ep.ko.srt"}, "ep.ass"},
        {{"ep.ssa", "ep.vtt"}, "ep.vtt"},
        {{"ep.kr.vtt", "ep.ko.ass", "ep.SSA"}, "ep.SSA"},
        {{"ep.kor.ssa", "ep.kr.ass"}, "ep.kr.ass"},
        {{"ep.en.srt", "ep2.srt", "ep.srt.bak", "ep.720p.srt", "xep.srt"}, ""},
    };
    for (const auto &c : cases) {
        TempDir dir;
        dir.write("ep.mkv", "x");
        for (const char *file : c.files)
            dir.write(file, "s");
        const std::string chosen = *c.chosen ? dir.path(c.chosen) : "";
        EXPECT_EQ(FindCompanionSubtitle(dir.path("ep.mkv")), chosen) << c.files.front();
    }
}
