#include "subtitles/SamiReader.h"

#include "subtitles/CaptionText.h"
#include "text/Cp949.h"
#include "support/HostileSami.h"
#include "support/TempDir.h"

#include <QStringEncoder>
#include <QStringList>
#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::TempDir;

namespace {

const char kBilingual[] = R"(<SAMI>
<HEAD>
<TITLE>test</TITLE>
<SAMIParam>
  Metrics {time:ms;}
  Version {1.0;}
</SAMIParam>
<STYLE TYPE="text/css">
<!--
P { margin-left:8pt; font-size:20pt; }
.KRCC {Name:한국어; lang:ko-KR; SAMIType:CC;}
.ENCC {Name:English; lang:en-US; SAMIType:CC;}
-->
</STYLE>
</HEAD>
<BODY>
<SYNC Start=1000><P Class=KRCC>똠방각하<br>안녕하세요
<SYNC Start=2500><P Class=KRCC>&nbsp;
<SYNC Start=4000><P Class=KRCC>두 번째
<SYNC Start=1000><P Class=ENCC>Hello<br>there
<SYNC Start=2500><P Class=ENCC>&nbsp;
<SYNC Start=4000><P Class=ENCC>Second
</BODY>
</SAMI>
)";

struct Expected {
    int64_t startMs;
    const char *text;
};

void expectCaptions(const SamiResult &result, std::initializer_list<Expected> expected)
{
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_EQ(result.document.captions.size(), expected.size());
    size_t i = 0;
    for (const Expected &e : expected) {
        EXPECT_EQ(result.document.captions[i].startMs, e.startMs) << "caption " << i;
        EXPECT_EQ(result.document.captions[i].text, QString::fromUtf8(e.text)) << "caption " << i;
        ++i;
    }
}

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder encoder(encoding, bom ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    return encoder.encode(text);
}

} // namespace

TEST(SamiReader, EveryEncodingGivesTheSameCaptions)
{
    const QString text = QString::fromUtf8(kBilingual);
    const std::pair<const char *, QByteArray> files[] = {
        {"UTF-8 with BOM", encoded(text, QStringConverter::Utf8, true)},
        {"UTF-8 without BOM", encoded(text, QStringConverter::Utf8, false)},
        {"UTF-16 LE", encoded(text, QStringConverter::Utf16LE, true)},
        {"UTF-16 BE", encoded(text, QStringConverter::Utf16BE, true)},
        // "똠" lies outside EUC-KR: only a CP949 reading gets it right.
        {"CP949", toCp949(text)},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name);
        const SamiResult result = ParseSami(bytes);
        EXPECT_EQ(result.document.className, QStringLiteral("KRCC"));
        expectCaptions(result, {{1000, "<P Class=KRCC>똠방각하<br>안녕하세요"},
                                {2500, "<P Class=KRCC>&nbsp;"},
                                {4000, "<P Class=KRCC>두 번째"}});
    }
}

TEST(SamiReader, TimesRunUntilTheNextCaptionOfTheClass)
{
    const SamiResult result = ParseSami(QByteArray(kBilingual));
    ASSERT_TRUE(result.ok);
    const auto &c = result.document.captions;
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].endMs, 2500);
    EXPECT_EQ(c[1].endMs, 4000);
    EXPECT_EQ(c[2].endMs, -1);
}

TEST(SamiReader, TagsAttributesAndClosingTagsInAnyForm)
{
    const char file[] = "<sami><body>\n"
                        "<sync start=\"100\"><p class='KRCC'>lower</p></sync>\n"
                        "<SyNc StArT = 200 ><P CLASS = \"KRCC\" id=x>mixed</P>\n"
                        "<SYNC Start=300><P Class=KRCC>no closing tags\n"
                        "<SYNC Start=400><P Class=KRCC>ends at the body\n"
                        "</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    EXPECT_EQ(result.document.className, QString()); // nothing declared: every P counts
    expectCaptions(result, {{100, "<p class='KRCC'>lower"},
                            {200, "<P CLASS = \"KRCC\" id=x>mixed"},
                            {300, "<P Class=KRCC>no closing tags"},
                            {400, "<P Class=KRCC>ends at the body"}});
}

TEST(SamiReader, CommentsAndHiddenBlocksAreNeverCaptions)
{
    const char file[] = "<SAMI><HEAD><SAMIParam><SYNC Start=5><P>param</SAMIParam>\n"
                        "<STYLE><!-- .X {lang:en;} <SYNC Start=6><P>style --></STYLE></HEAD><BODY>\n"
                        "<!-- <SYNC Start=50><P Class=X>commented out -->\n"
                        "<SYNC Start=100><P Class=X>kept<!-- not this --> part\n"
                        "<SYNC Start=200><P Class=X>an <!-- unclosed comment> ends at its bracket\n"
                        "</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    EXPECT_EQ(result.document.className, QStringLiteral("X"));
    expectCaptions(result, {{100, "<P Class=X>kept part"}, {200, "<P Class=X>an  ends at its bracket"}});
}

TEST(SamiReader, SourceLineBreaksAreNotCaptionBreaks)
{
    const char file[] = "<SAMI><BODY>\r\n"
                        "<SYNC Start=1><P>\r\n  first<br>\r\n  second\r\n\r\n"
                        "<SYNC Start=2><P>one\nline\n"
                        "<SYNC Start=3><P>a\n<BR>\nb  c\n"
                        "</BODY></SAMI>";
    expectCaptions(ParseSami(file), {{1, "<P>first<br>second"}, {2, "<P>one line"}, {3, "<P>a<BR>b  c"}});
}

TEST(SamiReader, ChoosesTheKoreanClass)
{
    const auto classOf = [](const char *style) {
        const QByteArray file = QByteArray("<SAMI><HEAD><STYLE>") + style
                                + "</STYLE></HEAD><BODY><SYNC Start=1><P Class=A>a<P Class=B>b<P Class=KR>k"
                                  "<P Class=KRCC>kk</BODY></SAMI>";
        return ParseSami(file).document.className.toStdString();
    };
    EXPECT_EQ(classOf(".A {lang:en-US;} .B {Name:Korean; lang:kr-KR;}"), "B");
    EXPECT_EQ(classOf(".A {lang:en-US;} .B {LANG: 'ko';}"), "B");
    EXPECT_EQ(classOf(".A {lang:en-US;} .KR {lang:xx;}"), "KR");
    EXPECT_EQ(classOf(".A {lang:en-US;} .krcc {name:x;}"), "krcc");
    EXPECT_EQ(classOf(".A {lang:en-US;} .B {lang:fr-FR;}"), "A");
    EXPECT_EQ(classOf("/* .B {lang:ko;} */ .A {lang:en;}"), "A");
    EXPECT_EQ(classOf(".A {lang:en;} .a {lang:ko;} .B {lang:fr;}"), "A") << "a name keeps its first declaration";
    EXPECT_EQ(classOf(".A {lang:en;} .B, .KR {lang:ko;}"), "B") << "selectors of one rule share its lang";
}

TEST(SamiReader, ParagraphsOfOtherClassesAreDroppedBeforeOrdering)
{
    const char file[] = "<SAMI><HEAD><STYLE>.ENCC {lang:en-US;} .KRCC {lang:ko-KR;}</STYLE></HEAD><BODY>"
                        "<SYNC Start=3000><P Class=ENCC>late english"
                        "<SYNC Start=1000><P Class=krcc>first"
                        "<SYNC Start=2000><P>no class counts"
                        "<SYNC Start=1500><P Class=ENCC>english</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    expectCaptions(result, {{1000, "<P Class=krcc>first"}, {2000, "<P>no class counts"}});
    EXPECT_EQ(result.document.captions[0].endMs, 2000); // not 1500: English times do not cut Korean ones
}

TEST(SamiReader, WhenNoParagraphHasTheDeclaredClassAllAreShown)
{
    const char file[] = "<SAMI><HEAD><STYLE>.ENUSCC {lang:en-US;}</STYLE></HEAD><BODY>"
                        "<SYNC Start=10><P Class=KOKRCC>only this</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    EXPECT_EQ(result.document.className, QString());
    expectCaptions(result, {{10, "<P Class=KOKRCC>only this"}});
}

TEST(SamiReader, EqualAndBackwardStarts)
{
    const char file[] = "<SAMI><BODY>"
                        "<SYNC Start=2000><P>b"
                        "<SYNC Start=1000><P>a"
                        "<SYNC Start=2000><P>b2<P>b3"
                        "<SYNC Start=\"11575 81\"><P>junk after digits"
                        "<SYNC Start=11575 81><P>unquoted junk"
                        "<SYNC Start=x><P>no time"
                        "<SYNC><P>no start"
                        "<SYNC Start=500>"
                        "</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    expectCaptions(result, {{1000, "<P>a"},
                            {2000, "<P>b"},
                            {2000, "<P>b2"},
                            {2000, "<P>b3"},
                            {11575, "<P>junk after digits"},
                            {11575, "<P>unquoted junk"}});
    EXPECT_EQ(result.document.captions[1].endMs, 2000);
}

TEST(SamiReader, AnUnclosedStyleBlockEndsWithTheHead)
{
    const char file[] = "<SAMI><HEAD><STYLE>.KRCC {lang:ko-KR;}</HEAD><BODY><SYNC Start=7><P Class=KRCC>x</BODY></SAMI>";
    const SamiResult result = ParseSami(file);
    EXPECT_EQ(result.document.className, QStringLiteral("KRCC"));
    expectCaptions(result, {{7, "<P Class=KRCC>x"}});
}

TEST(SamiReader, TwoBodiesAreOneBody)
{
    const char file[] = "<SAMI><BODY><SYNC Start=1><P>one</BODY>stray text<BODY><SYNC Start=2><P>two</BODY></SAMI>";
    expectCaptions(ParseSami(file), {{1, "<P>one"}, {2, "<P>two"}});
}

// Files built against a reader that rescans the text; how long they take is
// in the benchmarks, what they yield is checked here.
TEST(SamiReader, LargeHostileFilesYieldTheirCaptions)
{
    using namespace velmo::test;
    struct Case {
        const char *name;
        QByteArray bytes;
        QString className;
        QString caption;
    };
    const Case cases[] = {
        {"unclosed comments", UnclosedCommentsSami(kUnclosedComments), "", "<P>ab"},
        {"many classes", ManyClassesSami(kStyleClasses), "KRCC", "<P Class=KRCC>k"},
        {"lines ending in >", LinesEndingInGtSami(kLinesEndingInGt), "",
         "<P>" + QStringList(kLinesEndingInGt, QStringLiteral("a>")).join(u' ')},
        {"selectors sharing one block", SharedDeclarationSami(kSharedSelectors), "s0", "<P Class=s0>k"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_GT(c.bytes.size(), 900 * 1024);
        const SamiResult result = ParseSami(c.bytes);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.document.className, c.className);
        ASSERT_EQ(result.document.captions.size(), 1u);
        EXPECT_EQ(result.document.captions[0].text, c.caption);
    }
}

TEST(SamiReader, RefusesWhatIsNotSami)
{
    TempDir dir;
    const std::string srt = dir.write("film.smi", "1\n00:00:01,000 --> 00:00:02,000\nHello <i>there</i>\n");
    const std::string empty = dir.write("empty.smi", "");
    const std::string html = dir.write("page.smi", "<html><body><p>no sync</p></body></html>");
    dir.write("folder.smi/x", "");
    const std::string noisy = dir.write("noise.smi", QByteArray("\x80\xFF\x00\x01<P>", 8));

    for (const std::string &path : {srt, empty, html, dir.path("folder.smi"), dir.path("missing.smi"), noisy}) {
        const SamiResult result = ReadSamiFile(path);
        EXPECT_FALSE(result.ok) << path;
        EXPECT_FALSE(result.error.isEmpty()) << path;
        EXPECT_TRUE(result.document.captions.empty()) << path;
    }
    EXPECT_EQ(ReadSamiFile(empty).error, QStringLiteral("빈 파일입니다"));
}

TEST(SamiReader, ReadsAFileWhoseNameIsNotUtf8)
{
    // "자막/자막.smi" in CP949, as archives made on Windows name them.
    TempDir dir;
    const std::string folder = dir.path() + "/\xC0\xDA\xB8\xB7";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string path = folder + "/\xC0\xDA\xB8\xB7.smi";
    ASSERT_TRUE(velmo::test::WriteAtBytePath(path, toCp949(QString::fromUtf8(kBilingual))));
    const SamiResult result = ReadSamiFile(path);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.document.captions.size(), 3u);
}

TEST(SamiReader, ReadsAFileFromDisk)
{
    TempDir dir;
    const std::string path = dir.write("film.smi", toCp949(QString::fromUtf8(kBilingual)));
    const SamiResult result = ReadSamiFile(path);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.document.captions.size(), 3u);
    EXPECT_EQ(result.document.captions[0].text, QString::fromUtf8("<P Class=KRCC>똠방각하<br>안녕하세요"));
}

TEST(SamiReader, TheLanguageOfABilingualFileIsChosen)
{
    const QByteArray file = QByteArray(kBilingual);
    const SamiResult plain = ParseSami(file);
    ASSERT_EQ(plain.document.languages.size(), 2u);
    EXPECT_EQ(plain.document.languages[0].title, QStringLiteral("한국어"));
    EXPECT_EQ(plain.document.languages[1].className, QStringLiteral("ENCC"));
    // Choice, the class shown, and what shows at 1000, 2500 and 4000 ms.
    const struct {
        const char *choice;
        const char *className;
        const char *shown;
    } cases[] = {
        {"", "KRCC", "똠방각하\r\n안녕하세요| |두 번째"},
        {"encc", "ENCC", "Hello\r\nthere| |Second"},
        {"FRCC", "KRCC", "똠방각하\r\n안녕하세요| |두 번째"},
        {"*", "KRCC", "Hello\r\nthere\r\n똠방각하\r\n안녕하세요| |Second\r\n두 번째"},
    };
    for (const auto &c : cases) {
        const SamiResult result = ParseSami(file, QString::fromUtf8(c.choice));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.document.className, QString::fromUtf8(c.className)) << c.choice;
        QStringList shown;
        for (const SamiCaption &caption : result.document.captions)
            shown << CleanCaption(caption.text);
        EXPECT_EQ(shown.join(u'|'), QString::fromUtf8(c.shown)) << c.choice;
    }
}
