// SubRip and WebVTT as a user meets them: small files, and what shows at a
// given time once the caption is cleaned.

#include "subtitles/CaptionText.h"
#include "subtitles/SamiEncoding.h"
#include "subtitles/TimedTextReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

// What shows at `ms`, its lines joined by "|"; "refused" for a refused file.
std::string ShownAt(const SamiResult &result, int64_t ms)
{
    if (!result.ok)
        return "refused";
    QString shown;
    for (const SamiCaption &c : result.document.captions) {
        if (c.startMs <= ms)
            shown = CleanCaption(c.text);
    }
    return shown.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("|")).toStdString();
}

struct Case {
    const char *name;
    const char *file;
    int64_t ms;
    const char *shown;
};

void Check(const Case &c)
{
    EXPECT_EQ(ShownAt(ParseTimedText(QByteArray(c.file)), c.ms), c.shown) << c.name;
}

} // namespace

TEST(WebVtt, FileParsingRules)
{
    const Case cases[] = {
        {"a cue right after the header line", "WEBVTT\n00:00:00.000 --> 00:00:01.000\ntext\n", 500, "text"},
        {"the first of several right after the header", "WEBVTT - t\n00:00.000 --> 00:01.000\none\n\n00:02.000 --> 00:03.000\ntwo\n", 500, "one"},
        {"header lines, then a cue without a blank line", "WEBVTT\nKind: captions\n00:01.000 --> 00:02.000\nh\n", 1500, "h"},
        {"an arrow that is no timing ends the cue", "WEBVTT\n\n00:01.000 --> 00:02.000\nkept\nfoo-->\nlost\n", 1500, "kept"},
        {"arrow first", "WEBVTT\n\n00:01.000 --> 00:02.000\nkept\n-->foo\n", 1500, "kept"},
        {"a long arrow", "WEBVTT\n\n00:01.000 --> 00:02.000\nkept\n--->\n", 1500, "kept"},
        {"a mistyped timing ends the cue and drops its own",
         "WEBVTT\n\n00:01.000 --> 00:02.000\nfirst\n00:0x.000 --> 00:04.000\nsecond\n\n00:05.000 --> 00:06.000\nthird\n", 1500, "first"},
        {"the mistyped cue shows nothing", "WEBVTT\n\n00:01.000 --> 00:02.000\nfirst\n00:0x.000 --> 00:04.000\nsecond\n", 3500, ""},
        {"an identifier, then a timing line", "WEBVTT\n\nintro\n00:01.000 --> 00:02.000\nhi\n", 1500, "hi"},
        {"two text lines before a timing: no cue, the timing begins one",
         "WEBVTT\n\nstray\nid\n00:01.000 --> 00:02.000\nhi\n", 1500, "hi"},
        {"NOTE, STYLE and REGION blocks drop", "WEBVTT\n\nNOTE x\n\nSTYLE\n::cue{}\n\nREGION\nid:r\n\n00:01.000 --> 00:02.000\nv\n", 1500, "v"},
        {"a line of blanks is no blank line", "WEBVTT\n\n00:01.000 --> 00:02.000\na\n \nb\n", 1500, "a|b"},
        {"a comma before the milliseconds", "WEBVTT\n\n00:01,000 --> 00:02,000\ncomma\n", 1500, "comma"},
        {"settings after the end time", "WEBVTT\n\n00:01.000 --> 00:02.000 align:start line:0\ns\n", 1500, "s"},
        {"sixty hours", "WEBVTT\n\n60:00:00.000 --> 60:00:01.000\nlate\n", 216000500, "late"},
        {"a \"<\" that opens no tag stays", "WEBVTT\n\n00:01.000 --> 00:02.000\n2<3,5>1,4<6\n", 1500, "2<3,5>1,4<6"},
        {"angle quotes and slashes stay", "WEBVTT\n\n00:01.000 --> 00:02.000\nAC/DC << live >> 24/7\n", 1500, "AC/DC << live >> 24/7"},
        {"fractions, and/or", "WEBVTT\n\n00:01.000 --> 00:02.000\nqu'1/3 and/or 1/2\n", 1500, "qu'1/3 and/or 1/2"},
        {"real tags are markup",
         "WEBVTT\n\n00:01.000 --> 00:02.000\n<c.yellow>a</c> <v Bob>b</v> <lang en>c</lang> <00:00:01.500>d <ruby>e<rt>f</rt></ruby> <i>g</i>\n",
         1500, "a b c d ef g"},
        {"character references", "WEBVTT\n\n00:01.000 --> 00:02.000\nR&amp;B &lt;i&gt; 5&nbsp;km &lrm;&rlm;&#233;&#xE9;&#128512;\n", 1500,
         "R&B <i> 5\u00A0km \u200E\u200F\u00E9\u00E9\U0001F600"},
        {"what is no reference stays", "WEBVTT\n\n00:01.000 --> 00:02.000\nA & B &bogus; &#; &#0; &amp\n", 1500, "A & B &bogus; &#; \uFFFD &amp"},
        {"no signature", "WEBVTTX\n\n00:01.000 --> 00:02.000\nx\n", 1500, "refused"},
    };
    for (const Case &c : cases)
        Check(c);
}

TEST(SubRip, AsCommonPlayersReadIt)
{
    const Case cases[] = {
        {"a blank line inside a cue", "1\n00:00:01,000 --> 00:00:04,000\n我有个点子\n\nI have\nan idea\nyes\n\n2\n00:00:05,000 --> 00:00:06,000\nnext\n",
         2000, "我有个点子|I have|an idea|yes"},
        {"the cue after it", "1\n00:00:01,000 --> 00:00:04,000\na\n\nb\n\n2\n00:00:05,000 --> 00:00:06,000\nnext\n", 5500, "next"},
        {"a number alone is text", "1\n00:00:01,000 --> 00:00:04,000\nthe year\n\n1984\n\n2\n00:00:05,000 --> 00:00:06,000\nn\n", 2000, "the year|1984"},
        {"override blocks go", "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}{\\i1}top{\\i0} {\\pos(10,20)}x\n", 1500, "top x"},
        {"a line of override blocks only goes", "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}\nline\n", 1500, "line"},
        {"an unclosed block stays", "1\n00:00:01,000 --> 00:00:02,000\n{\\an8 top\n", 1500, "{\\an8 top"},
        {"a \"<\" that opens no tag stays", "1\n00:00:01,000 --> 00:00:02,000\n2<3,5>1,4<6\n", 1500, "2<3,5>1,4<6"},
        {"angle quotes and slashes stay", "1\n00:00:01,000 --> 00:00:02,000\nAC/DC << live >> 24/7\n", 1500, "AC/DC << live >> 24/7"},
        {"fractions and addresses", "1\n00:00:01,000 --> 00:00:02,000\nqu'1/3, 12/B rue\n", 1500, "qu'1/3, 12/B rue"},
        {"tags of any case are markup", "1\n00:00:01,000 --> 00:00:02,000\n<i>it</i> <FONT COLOR=\"red\">r</FONT> <b>b</b><br/><u>u</u>\n", 1500,
         "it r bu"},
        {"references are SubRip text", "1\n00:00:01,000 --> 00:00:02,000\nR&amp;B\n", 1500, "R&amp;B"},
        {"coordinates after the timing", "1\n00:00:01,000 --> 00:00:02,000 X1:10 X2:20 Y1:1 Y2:2\nc\n", 1500, "c"},
        {"a mistyped timing drops its cue only", "1\n00:00:01,000 --> 00:00:02,000\na\n\n2\n00:00:03.00O --> 00:00:04,000\nb\n", 1500, "a"},
    };
    for (const Case &c : cases)
        Check(c);
}

TEST(CueFormats, ARefusalNamesTheFormatTried)
{
    velmo::test::TempDir dir;
    const struct {
        const char *file;
        const char *error;
    } cases[] = {
        {"1\n00:00:01 --> 00:00:02\nno milliseconds\n", "SubRip 자막으로 읽을 수 없습니다"},
        {"WEBVTT\n\nNOTE only a note\n", "WebVTT 자막으로 읽을 수 없습니다"},
        {"just text\n", "SAMI 자막으로 읽을 수 없습니다"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadCaptionFile(dir.write("film.srt", c.file)).error.toStdString(), c.error) << c.file;
}

TEST(CueFormats, Encodings)
{
    const struct {
        const char *bytes;
        CaptionEncoding wanted;
        const char *text;
        CaptionEncoding used;
    } cases[] = {
        {"\x8C\x63 \xC1\x64", CaptionEncoding::Auto, "똠 햏", CaptionEncoding::Cp949},
        {"DES \xC9V\xC9NEMENTS \x80", CaptionEncoding::Auto, "DES ÉVÉNEMENTS €", CaptionEncoding::Windows1252},
        {"\xC0 \xC9T\xC9", CaptionEncoding::Windows1252, "À ÉTÉ", CaptionEncoding::Windows1252},
        {"caf\xC3\xA9", CaptionEncoding::Auto, "café", CaptionEncoding::Utf8},
        {"\xEF\xBB\xBF" "caf\xC3\xA9", CaptionEncoding::Utf8, "café", CaptionEncoding::Utf8},
        {"\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD", CaptionEncoding::ShiftJis, "こんにちは", CaptionEncoding::ShiftJis},
        {"\xC4\xE3\xBA\xC3", CaptionEncoding::Gb18030, "你好", CaptionEncoding::Gb18030},
        {"\xA7\x41\xA6\x6E", CaptionEncoding::Big5, "你好", CaptionEncoding::Big5},
    };
    for (const auto &c : cases) {
        const DecodedCaption got = DecodeCaptionBytes(QByteArray(c.bytes), c.wanted, true);
        EXPECT_EQ(got.text.toStdString(), c.text) << c.text;
        EXPECT_EQ(got.encoding, c.used) << c.text;
    }
    // UTF-16 without a mark, either way round.
    const QString hi = QStringLiteral("Hi 똠");
    const QByteArray little(reinterpret_cast<const char *>(hi.utf16()), hi.size() * 2);
    QByteArray big = little;
    for (qsizetype i = 0; i + 1 < big.size(); i += 2)
        std::swap(big[i], big[i + 1]);
    EXPECT_EQ(DecodeCaptionBytes(little, CaptionEncoding::Utf16, false).text, hi);
    EXPECT_EQ(DecodeCaptionBytes(big, CaptionEncoding::Utf16, false).text, hi);
    // CP949 where the bytes are Windows-1252 gives replacement characters.
    EXPECT_TRUE(DecodeCaptionBytes("\xC9T\xC9", CaptionEncoding::Cp949, true).text.contains(QChar(0xFFFD)));
}

TEST(CueFormats, WesternFilesReadAsWindows1252ButSamiKeepsCp949)
{
    velmo::test::TempDir dir;
    const SamiResult srt = ReadCaptionFile(dir.write("fr.srt", "1\n00:00:01,000 --> 00:00:02,000\nDES \xC9V\xC9NEMENTS\n"));
    EXPECT_EQ(ShownAt(srt, 1500), "DES ÉVÉNEMENTS");
    EXPECT_EQ(srt.encoding, CaptionEncoding::Windows1252);
    const SamiResult sami = ReadCaptionFile(dir.write("fr.smi", "<SAMI><BODY><SYNC Start=1000><P>\xC9T\xC9</BODY></SAMI>"));
    EXPECT_EQ(sami.encoding, CaptionEncoding::Cp949);
    EXPECT_NE(ShownAt(sami, 1500), "ÉTÉ");
    // Chosen by the user, it holds for SAMI too.
    const SamiResult chosen = ReadCaptionFile(dir.path("fr.smi"), {}, CaptionEncoding::Windows1252);
    EXPECT_EQ(ShownAt(chosen, 1500), "ÉTÉ");
}

TEST(AssPlain, EventsReadAsPlainCaptions)
{
    const std::string head = "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nStyle: Default,Arial,20\n\n[Events]\n";
    const std::string format = "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    const auto file = [&](const std::string &events) { return head + format + events; };
    const std::string overlap = file("Dialogue: 0,0:00:01.00,0:00:05.00,Default,,0,0,0,,{\\an8}sign, with commas\n"
                                     "Dialogue: 0,0:00:02.00,0:00:03.00,Default,,0,0,0,,{\\k20}ka{\\k30}ra\\Nnext\\hline\n");
    const std::string reordered = head + "Format: Start, End, Text\nDialogue: 0:00:01.50,0:00:02.00,moved\n";
    const std::string drawing = file("Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\p1}m 0 0 l 10 0 10 10{\\p0}box\n"
                                     "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,{\\p2}m 0 0 l 5 5\n");
    const std::string comments = file("Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,hidden\n"
                                      "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\i1}shown{\\i0} < 3\n"
                                      "Dialogue: 0,0:00:03.00,0:00:02.00,Default,,0,0,0,,backwards\n"
                                      "Dialogue: 0,0:00:61.00,0:00:62.00,Default,,0,0,0,,bad time\n");
    const std::string eventless = head + format;
    const std::string ssa = "[Script Info]\nScriptType: v4.00\n\n[V4 Styles]\n\n[Events]\n"
                            "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                            "Dialogue: Marked=0,0:00:01.00,0:00:02.00,Default,,0000,0000,0000,,SSA 한국어\n";
    const Case cases[] = {
        {"the text keeps its commas", overlap.c_str(), 1500, "sign, with commas"},
        {"events shown together, line breaks and hard blanks", overlap.c_str(), 2500, "sign, with commas|kara|next line"},
        {"the second ends first", overlap.c_str(), 3500, "sign, with commas"},
        {"the columns the Format line names", reordered.c_str(), 1700, "moved"},
        {"a drawing's commands are no words", drawing.c_str(), 1500, "box"},
        {"a drawing alone shows nothing", drawing.c_str(), 3500, ""},
        {"comments, backward and bad times are left out", comments.c_str(), 1500, "shown < 3"},
        {"SSA", ssa.c_str(), 1500, "SSA 한국어"},
        {"no event at all", eventless.c_str(), 1500, "refused"},
    };
    for (const Case &c : cases)
        Check(c);
}

TEST(AssPlain, TheContentTellsTheFormat)
{
    test::TempDir dir;
    const struct {
        const char *name;
        const char *content;
        CaptionFormat format;
    } cases[] = {
        {"a.srt", "[Script Info]\n[V4+ Styles]\n[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:02.00,x\n",
         CaptionFormat::Ass},
        {"b.ass", "\xEF\xBB\xBF[script info]\n[V4 Styles]\n[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:02.00,x\n",
         CaptionFormat::Ssa},
        {"c.ass", "1\n00:00:01,000 --> 00:00:02,000\nx\n", CaptionFormat::SubRip},
    };
    for (const auto &c : cases) {
        dir.write(c.name, c.content);
        const SamiResult result = ReadCaptionFile(dir.path(c.name));
        EXPECT_TRUE(result.ok) << c.name;
        EXPECT_EQ(result.format, c.format) << c.name;
    }
}
