#include "subtitles/TimedTextReader.h"

#include "text/Cp949.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

// Events as "start:text" joined by " | ", the last one's end left open.
std::string Events(const SamiResult &result)
{
    if (!result.ok)
        return "refused";
    std::string out;
    for (const SamiCaption &c : result.document.captions)
        out += (out.empty() ? "" : " | ") + std::to_string(c.startMs) + ":" + c.text.toStdString();
    return out;
}

TEST(TimedTextReader, CueTimes)
{
    const struct {
        const char *text;
        int64_t ms; // -1: not a time
    } cases[] = {
        {"00:00:01,000", 1000},  {"00:01:02.345", 62345},    {"01:02.5", 62500},       {"10:00:00,000", 36000000},
        {"123:00:00.001", 442800001}, {"00:00:01", -1},      {"00:60:00,000", -1},     {"00:00:01,0000", -1},  {"1:02:03.4", 3723400},
        {"", -1},                {"1:2:3:4,000", -1},        {"00:00:01,000 x", -1},   {"-00:00:01,000", -1},
    };
    for (const auto &c : cases) {
        const auto got = ParseCueTime(QString::fromLatin1(c.text));
        EXPECT_EQ(got.value_or(-1), c.ms) << c.text;
    }
}

TEST(TimedTextReader, CuesBecomeEventsThatReplaceOneAnother)
{
    const struct {
        const char *name;
        const char *file;
        const char *events;
    } cases[] = {
        {"subrip with numbers and CRLF", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nthere\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,500\r\nBye\r\n",
         "1000:<SubRip>Hello<br>there | 2000:<SubRip>  | 3000:<SubRip>Bye | 4500:<SubRip> "},
        {"no cue numbers, touching cues", "00:00:01,000 --> 00:00:02,000\nA\n\n00:00:02,000 --> 00:00:03,000\nB\n",
         "1000:<SubRip>A | 2000:<SubRip>B | 3000:<SubRip> "},
        {"tags kept as markup", "1\n00:00:01,000 --> 00:00:02,000\n<i>it</i> <font color=\"#ff0000\">red</font>\n",
         "1000:<SubRip><i>it</i> <font color=\"#ff0000\">red</font> | 2000:<SubRip> "},
        {"overlapping cues one line each, in start order",
         "1\n00:00:01,000 --> 00:00:04,000\nfirst\n\n2\n00:00:02,000 --> 00:00:03,000\nsecond\n",
         "1000:<SubRip>first | 2000:<SubRip>first<br>second | 3000:<SubRip>first | 4000:<SubRip> "},
        {"a bad timing line skips its cue only",
         "1\n00:00:01,000 --> \nlost\n\n2\n00:00:05 --> 00:00:06,000\nlost too\n\n3\n00:00:07,000 --> 00:00:08,000\nkept\n",
         "7000:<SubRip>kept | 8000:<SubRip> "},
        {"timings going backwards are skipped", "00:00:05,000 --> 00:00:04,000\nback\n\n00:00:09,000 --> 00:00:10,000\nok\n",
         "9000:<SubRip>ok | 10000:<SubRip> "},
        {"a missing blank line before the next cue", "1\n00:00:01,000 --> 00:00:02,000\none\n2\n00:00:03,000 --> 00:00:04,000\ntwo\n",
         "1000:<SubRip>one | 2000:<SubRip>  | 3000:<SubRip>two | 4000:<SubRip> "},
        {"webvtt header, note, style, settings, short times",
         "WEBVTT - title\nKind: captions\n\nNOTE a comment\nstill --> comment\n\nSTYLE\n::cue { color: red }\n\nid-1\n00:01.000 --> 00:02.000 line:90% align:left\n"
         "<b>bold</b>\n",
         "1000:<WebVTT><b>bold</b> | 2000:<WebVTT> "},
        {"nothing readable", "hello\nworld\n", "refused"},
        {"a timing line with no text", "00:00:01,000 --> 00:00:02,000\n\n", "refused"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Events(ParseTimedText(QByteArray(c.file))), c.events) << c.name;
}

TEST(TimedTextReader, FormatIsToldByContent)
{
    const struct {
        const char *bytes;
        CaptionFormat format;
    } cases[] = {
        {"<SAMI><BODY><SYNC Start=0><P>a</SAMI>", CaptionFormat::Sami},
        {"1\n00:00:01,000 --> 00:00:02,000\na\n", CaptionFormat::SubRip},
        {"\xEF\xBB\xBFWEBVTT\n\n00:01.000 --> 00:02.000\na\n", CaptionFormat::WebVtt},
        {"<SAMI><!-- 00:00:01,000 --> --><BODY><SYNC Start=0><P>a", CaptionFormat::Sami},
        {"just text", CaptionFormat::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DetectCaptionFormat(QByteArray(c.bytes)), c.format) << c.bytes;
}

TEST(TimedTextReader, ReadsFilesOfAnyNameAndEncoding)
{
    velmo::test::TempDir dir;
    // SubRip inside a ".smi", in CP949 without a BOM.
    const QByteArray cp949 = toCp949(QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\n안녕하세요\n"));
    EXPECT_EQ(Events(ReadCaptionFile(dir.write("film.smi", cp949))), "1000:<SubRip>안녕하세요 | 2000:<SubRip> ");
    const QByteArray sami = "<SAMI><BODY><SYNC Start=500><P>sami</BODY></SAMI>";
    const SamiResult asSami = ReadCaptionFile(dir.write("film.srt", sami));
    ASSERT_TRUE(asSami.ok);
    EXPECT_EQ(asSami.document.captions.at(0).startMs, 500);
    EXPECT_FALSE(ReadCaptionFile(dir.write("empty.srt", "")).ok);
    EXPECT_FALSE(ReadCaptionFile(dir.path("missing.srt")).ok);
}

TEST(TimedTextReader, HostileInputStaysBounded)
{
    // One line of a megabyte, and a megabyte of cues that all overlap.
    QByteArray oneLine(1 << 20, 'x');
    oneLine.prepend("00:00:01,000 --> 00:00:02,000\n");
    QByteArray overlapping;
    for (int i = 0; overlapping.size() < (1 << 20); ++i)
        overlapping += "00:00:00," + QByteArray::number(i % 1000).rightJustified(3, '0') + " --> 99:00:00,000\nx\n\n";
    for (const QByteArray &bytes : {oneLine, overlapping}) {
        const SamiResult result = ParseTimedText(bytes);
        ASSERT_TRUE(result.ok);
        for (const SamiCaption &c : result.document.captions)
            EXPECT_LE(c.text.size(), 40'000);
    }
}

} // namespace
