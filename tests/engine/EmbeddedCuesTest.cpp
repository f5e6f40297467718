// An embedded stream's cues as captions: their text cleaned as the caption
// files' is, and the events that show and clear them.

#include "engine/EmbeddedCues.h"
#include "subtitles/CaptionText.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(EmbeddedCues, CueTextIsCleanedAsCaptionFilesAre)
{
    const struct {
        const char *text;
        bool markup;
        const char *shown;
    } cases[] = {
        {"{\\an8}看板 sign", true, "看板 sign"},                       // an ASS override block
        {"first line\\Nsecond line", true, "first line\r\nsecond line"}, // ASS's line break
        {"<span foreground=\"red\">red</span> &amp; <i>it</i>", true, "red & it"},
        {"a &amp; b\n\n  c  ", false, "a &amp; b\r\nc"},                 // plain text keeps its "&"
        {"   ", false, " "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CleanCaption(CaptionOfCue({0, 1000, QString::fromUtf8(c.text), c.markup})), QString::fromUtf8(c.shown))
            << c.text;
}

TEST(EmbeddedCues, AnAssEventAsTheContainerCarriesItReadsPlainly)
{
    const struct {
        const char *chunk;
        const char *shown;
    } cases[] = {
        {"3,0,Default,Kim,0,0,0,,{\\an8\\pos(10,10)}간판, 표지\\N둘째 줄", "간판, 표지\r\n둘째 줄"},
        {"4,0,Sign,,0,0,0,,{\\p1}m 0 0 l 10 0 10 10{\\p0}", " "}, // a drawing only
        {"5,0,Default", " "},                                       // too few fields
    };
    for (const auto &c : cases) {
        TextCue cue{0, 1000, {}, false};
        cue.typeset = true;
        cue.chunk = QByteArray(c.chunk);
        EXPECT_EQ(CleanCaption(CaptionOfCue(cue)), QString::fromUtf8(c.shown)) << c.chunk;
    }
}

TEST(EmbeddedCues, EachCueShowsUntilItEndsOrTheNextBeginsAndCountsOnce)
{
    EmbeddedCues cues;
    EXPECT_TRUE(cues.Add({4500, 7500, QStringLiteral("two"), false}));
    EXPECT_TRUE(cues.Add({500, 3500, QStringLiteral("one"), false}));
    EXPECT_FALSE(cues.Add({500, 3500, QStringLiteral("one"), false})) << "sent again after a seek";
    EXPECT_TRUE(cues.Add({7000, -1, QStringLiteral("three"), false})); // overlaps "two", no end
    std::vector<std::pair<int64_t, QString>> events;
    for (const SamiCaption &e : cues.Events())
        events.emplace_back(e.startMs, CleanCaption(e.text));
    EXPECT_EQ(events, (std::vector<std::pair<int64_t, QString>>{
                          {500, "one"}, {3500, " "}, {4500, "two"}, {7000, "three"}}));
}

} // namespace
} // namespace velmo
