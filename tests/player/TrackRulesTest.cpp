// The track rules as tables: language names, labels, the choice at an open
// and the round of the subtitle key.

#include "player/TrackRules.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

TEST(TrackRules, LanguageNamesFromEveryFormOfTheTag)
{
    const struct {
        std::string tag;
        const char *name;
    } cases[] = {
        {"ko", "한국어"},    {"kor", "한국어"},  {"en", "영어"},     {"ENG", "영어"},       {"en-US", "영어"},
        {"ja", "일본어"},    {"jpn", "일본어"},  {"chi", "중국어"},  {"zho", "중국어"},     {"zh_TW", "중국어"},
        {"ger", "독일어"},   {"deu", "독일어"},  {"fre", "프랑스어"}, {"", "언어 없음"},     {"und", "언어 없음"},
        {"qaa", "qaa"},      {"xx-YY", "xx-YY"}, // unknown codes stand as they are
        {"Korean dub\n\tline", "Korean dub line"},
        {std::string("\x01\x02", 2), "언어 없음"},
        {std::string(65536, 'x'), "xxxxxxxxxxxxxxxxxxxxxxxx…"},
        {"\xff\xfe bad bytes", "\xef\xbf\xbd\xef\xbf\xbd bad bytes"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LanguageName(c.tag), QString::fromUtf8(c.name)) << c.tag.substr(0, 20);
}

TEST(TrackRules, LabelsNameLanguageTitleFormatAndChannels)
{
    const struct {
        StreamInfo stream;
        const char *label;
    } cases[] = {
        {{"kor", "", "AC-3", 6, false}, "한국어 — AC-3 5.1"},
        {{"en", "", "SubRip", 0, false}, "영어 — SubRip"},
        {{"jpn", "Signs", "ASS", 0, false}, "일본어 \"Signs\" — ASS"},
        {{"ko", "해설", "AAC", 2, false}, "한국어 \"해설\" — AAC"},
        {{"", "", "", 0, false}, "언어 없음"},
        {{"", "", "", 8, false}, "언어 없음 — 7.1"},
        {{"fr", "", "Opus", 4, false}, "프랑스어 — Opus 4채널"},
        {{"en", std::string(65536, 't'), "AAC", 0, false},
         "영어 \"tttttttttttttttttttttttttttttttttttttttt…\" — AAC"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TrackLabel(c.stream), QString::fromUtf8(c.label)) << c.label;
}

TEST(TrackRules, AnOpenChoosesByPreferenceThenDefaultThenNone)
{
    const std::vector<StreamInfo> streams = {
        {"eng", "", "AAC", 2, true}, {"kor", "해설", "AAC", 2, false}, {"ko", "", "AAC", 2, false}};
    const std::vector<StreamInfo> noDefault = {{"eng", "", "", 0, false}, {"", "", "", 0, false}};
    const struct {
        const char *setting;
        const std::vector<StreamInfo> &streams;
        std::optional<int32_t> chosen;
    } cases[] = {
        {"ko", streams, 1},            // the first stream of the language, by either code
        {"kor", streams, 1},
        {"ja, en", streams, 0},        // the next preference when the first has none
        {"ja", streams, 0},            // then the default stream
        {"", streams, 0},
        {"ja", noDefault, std::nullopt}, // nothing to go by
        {" EN ,ko", noDefault, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PreferredStream(c.streams, LanguageList(c.setting)), c.chosen) << c.setting;
}

TEST(TrackRules, SubtitlesAtOpenFromTheRecordTheFileBesideOrTheLanguage)
{
    const std::vector<StreamInfo> texts = {{"en", "", "SubRip", 0, true}, {"ko", "", "SubRip", 0, false}};
    const std::vector<std::string> ko = {"ko"};
    const std::vector<std::string> ja = {"ja"};
    const struct {
        const char *what;
        const std::vector<std::string> &preferred;
        bool file;
        std::optional<int32_t> remembered;
        int32_t shown;
    } cases[] = {
        {"preferred language", ko, false, std::nullopt, 1},
        {"default stream", ja, false, std::nullopt, 0},
        {"a file beside wins", ko, true, std::nullopt, kSubtitleFiles},
        {"the record wins", ko, true, 0, 0},
        {"none remembered", ko, true, kSubtitleNone, kSubtitleNone},
        {"a file remembered but gone", ko, false, kSubtitleFiles, 1},
        {"a stream remembered but gone", ko, false, 7, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SubtitleAtOpen(texts, c.preferred, c.file, c.remembered), c.shown) << c.what;
    EXPECT_EQ(SubtitleAtOpen({}, ko, false, std::nullopt), kSubtitleNone);
}

TEST(TrackRules, TheSubtitleKeyGoesRoundTracksFileAndNone)
{
    const auto round = [](int32_t from, int32_t count, bool file) {
        std::vector<int32_t> seen;
        int32_t at = from;
        for (int i = 0; i < count + 3; ++i)
            seen.push_back(at = NextSubtitle(at, count, file));
        return seen;
    };
    const int32_t F = kSubtitleFiles;
    const int32_t N = kSubtitleNone;
    EXPECT_EQ(round(0, 3, true), (std::vector<int32_t>{1, 2, F, N, 0, 1}));
    EXPECT_EQ(round(1, 2, false), (std::vector<int32_t>{N, 0, 1, N, 0}));
    EXPECT_EQ(round(N, 0, true), (std::vector<int32_t>{F, N, F}));
    EXPECT_EQ(round(N, 0, false), (std::vector<int32_t>{N, N, N}));
}

} // namespace
} // namespace velmo
