// The rules of remembering a medium, the record's text and the recent list.

#include "player/RecentFiles.h"
#include "player/ResumeRecord.h"
#include "text/ClockText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace velmo::test {
namespace {

TEST(ResumeRules, FiveMinutesAndTheLastFivePerCent)
{
    const ResumeRules normal;
    const ResumeRules lowered{2.0, 0.05};
    struct Case {
        double position, duration;
        const ResumeRules &rules;
        ResumeAction expected;
    } cases[] = {
        {100.0, 299.9, normal, ResumeAction::Keep},       // under five minutes
        {100.0, 300.0, normal, ResumeAction::Remember},   // five minutes exactly
        {284.9, 300.0, normal, ResumeAction::Remember},   // just before the last 5%
        {285.0, 300.0, normal, ResumeAction::Forget},     // the last 5% begins
        {300.0, 300.0, normal, ResumeAction::Forget},     // at the end
        {0.0, 7200.0, normal, ResumeAction::Remember},
        {10.0, 0.0, normal, ResumeAction::Keep},          // length unknown
        {10.0, NAN, normal, ResumeAction::Keep},
        {10.0, INFINITY, normal, ResumeAction::Keep},     // a live stream
        {1.0, 3.0, lowered, ResumeAction::Remember},
        {2.9, 3.0, lowered, ResumeAction::Forget},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ActionOnLeave(c.position, c.duration, c.rules), c.expected) << c.position << " of " << c.duration;
}

TEST(ResumeRecord, WrittenRecordsReadBackAndDamageIsRefused)
{
    ResumeRecord full{10'801'500, 14'400'000, -1500, QStringLiteral("KRCC 한국어"), 2, CaptionEncoding::Windows1252, -2, -120};
    const std::string text = SerialiseResumeRecord(full);
    EXPECT_EQ(ParseResumeRecord(text), full);
    EXPECT_EQ(ParseResumeRecord(SerialiseResumeRecord(ResumeRecord{})), ResumeRecord{});
    EXPECT_EQ(text.find("/"), std::string::npos) << "no path in a record";
    // A class the reader refuses is left out rather than spoiling the record.
    for (const QString &unreadable : {QString(2000, 'l'), QStringLiteral("a\nposition=1")}) {
        ResumeRecord odd = full;
        odd.captionLanguage = unreadable;
        const std::optional<ResumeRecord> read = ParseResumeRecord(SerialiseResumeRecord(odd));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->positionMs, full.positionMs);
        EXPECT_TRUE(read->captionLanguage.isEmpty());
    }

    const std::string head = "velmo-resume 1\n";
    struct Case {
        const char *what;
        std::string text;
        bool accepted;
    } cases[] = {
        {"the position alone", head + "position=5000\n", true},
        {"a later version's field", head + "position=5000\nchapter=3\n", true},
        {"empty", "", false},
        {"another format", "velmo-resume 2\nposition=5000\n", false},
        {"no position", head + "duration=5000\n", false},
        {"cut in its last line", text.substr(0, text.size() - 3), false},
        {"cut at a line's end", head + "position=5000\nduration=9", false},
        {"negative position", head + "position=-1\n", false},
        {"not a number", head + "position=12a\n", false},
        {"past a hundred years", head + "position=99999999999999999\n", false},
        {"a line without =", head + "position=5000\nrubbish\n", false},
        {"a control character", head + "position=5000\ncaption-language=a\tb\n", false},
        {"not UTF-8", head + "position=5000\ncaption-language=\xc7\xd1\n", false},
        {"an audio stream below -1", head + "position=5000\naudio-stream=-2\n", false},
        {"a sound delay that is no number", head + "position=5000\nsound-delay=0.5\n", false},
        {"an encoding a later version knows", head + "position=5000\ncaption-encoding=EUC-JP\n", true},
        {"subtitles none", head + "position=5000\nsubtitle=-1\n", true},
        {"a subtitle choice below the caption files", head + "position=5000\nsubtitle=-3\n", false},
        {"too long", head + "position=5000\ncaption-language=" + std::string(5000, 'a') + "\n", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseResumeRecord(c.text).has_value(), c.accepted) << c.what;
    // A record written before the subtitles were kept chooses none for them.
    EXPECT_EQ(ParseResumeRecord(head + "position=5000\naudio-stream=1\n")->subtitle, std::nullopt);
}

TEST(ResumeRecord, OfferNamesThePositionInHoursMinutesSeconds)
{
    EXPECT_EQ(ResumeOfferText(180'000), QStringLiteral("00:03:00부터 이어보기 (Enter)"));
    EXPECT_EQ(ResumeOfferText(3'723'999), QStringLiteral("01:02:03부터 이어보기 (Enter)"));
    EXPECT_EQ(ClockText(int64_t(100) * 3600 * 1000), QStringLiteral("100:00:00"));
}

TEST(RecentFiles, NewestFirstEachOnceTenAtMost)
{
    RecentFiles recent;
    for (int i = 1; i <= 12; ++i)
        recent.Add("/m/" + std::to_string(i));
    recent.Add("/m/5");                        // opened again: first, once
    recent.Add("");                            // nothing a line can hold is listed
    recent.Add("/m/two\nlines");
    const std::vector<std::string> expected = {"/m/5", "/m/12", "/m/11", "/m/10", "/m/9",
                                               "/m/8", "/m/7",  "/m/6",  "/m/4",  "/m/3"};
    EXPECT_EQ(recent.Entries(), expected);
    EXPECT_EQ(RecentFiles::Parse(recent.Serialise()).Entries(), expected);
}

TEST(RecentFiles, ReadingSkipsDamage)
{
    const std::string text = std::string("/a\n\n/b\r\n/a\n/c\0d\n", 16) + "http://127.0.0.1/e\n/f";
    const std::vector<std::string> expected = {"/a", "http://127.0.0.1/e", "/f"};
    EXPECT_EQ(RecentFiles::Parse(text).Entries(), expected);
    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "/m/" + std::to_string(i) + "\n";
    EXPECT_EQ(RecentFiles::Parse(many).Entries().size(), RecentFiles::kMaxEntries);
    EXPECT_EQ(RecentFiles::Parse(many).Entries().front(), "/m/0");
}

} // namespace
} // namespace velmo::test
