#include "subtitles/CaptionSpans.h"

#include "subtitles/CaptionText.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velmo;

namespace {

// One line per run: plain text as it stands, any other as "<look:text>".
QString describe(const std::vector<CaptionSpan> &spans)
{
    QString out;
    for (const CaptionSpan &s : spans) {
        QStringList flags;
        if (s.look.rgb)
            flags << QStringLiteral("#%1").arg(*s.look.rgb, 6, 16, QLatin1Char('0'));
        if (s.look.bold)
            flags << QStringLiteral("b");
        if (s.look.italic)
            flags << QStringLiteral("i");
        if (s.look.underline)
            flags << QStringLiteral("u");
        const char *role[] = {"", "base", "rt", "rp"};
        if (s.role != SpanRole::Text)
            flags << QString::fromLatin1(role[int(s.role)]) + QString::number(s.rubyPair);
        out += flags.isEmpty() ? s.text : QStringLiteral("<%1:%2>").arg(flags.join(u','), s.text);
    }
    return out;
}

QString joined(const std::vector<CaptionSpan> &spans)
{
    QString out;
    for (const CaptionSpan &s : spans)
        out += s.text;
    return out;
}

} // namespace

TEST(CaptionSpans, MarkupBecomesRuns)
{
    const struct {
        const char *raw;
        const char *runs;
    } cases[] = {
        {"<P Class=KRCC><font color=\"#FFFF00\">노랑</font>보통", "<#ffff00:노랑>보통"},
        {"<P><font color=ffff00>a</font>", "<#ffff00:a>"},
        {"<P><FONT COLOR='Yellow'>a", "<#ffff00:a>"},
        {"<P><font color=#F0A>a", "<#ff00aa:a>"},
        {"<P><font face=굴림 color=nonsense>a</font>b", "ab"},
        {"<P><b>B<i>BI</i></b><u>U</u>", "<b:B><b,i:BI><u:U>"},
        {"<P><strong>s</strong><em>e</em>", "<b:s><i:e>"},
        {"<P><font color=red>r<font color=blue>b</font>r</font>n", "<#ff0000:r><#0000ff:b><#ff0000:r>n"},
        // A closer ends what opened after its opener; a stray one changes nothing.
        {"<P><b>x<i>y</b>z</i>", "<b:x><b,i:y>z"},
        {"<P>a</b>b", "ab"},
        {"<P><span class=x>a</span><c.yellow>b<b/>c", "abc"},
        {"<P><b>a<br>b/c</b>", "<b:a\r\nb c>"},
        {"<P><b>x<br/>y", "<b:xy>"},
        {"<P><i>&nbsp;</i>", "<i: >"},
        // The cue formats keep "/", "<" that opens no tag, and (WebVTT) decode references.
        {"<WebVTT><i>1/2 &amp; a<b</i>", "<i:1/2 & a<b>"},
        {"<SubRip><b>{\\an8}x/y</b>", "<b:x/y>"},
        {"Hello&nbsp;<b", "Hello&nbsp;<b"},
        {"<P><ruby>漢字<rt>かんじ</rt></ruby>です", "<base1:漢字><rt1:かんじ>です"},
        {"<P><ruby>漢<rt>kan</rt>字<rt>ji</rt></ruby>", "<base1:漢><rt1:kan><base2:字><rt2:ji>"},
        {"<P><ruby>漢<rp>(</rp><rt>kan</rt><rp>)</rp></ruby>", "<base1:漢><rp1:(><rt1:kan><rp2:)>"},
        {"<P><ruby><font color=red>漢</font><rt>kan</ruby>x", "<#ff0000,base1:漢><rt1:kan>x"},
        {"<P>a<rt>b</rt>", "ab"},
    };
    for (const auto &c : cases) {
        const QString raw = QString::fromUtf8(c.raw);
        const std::vector<CaptionSpan> spans = ParseCaptionSpans(raw);
        EXPECT_EQ(describe(spans), QString::fromUtf8(c.runs)) << c.raw;
        EXPECT_EQ(joined(spans), CleanCaption(raw)) << c.raw;
    }
}

TEST(CaptionSpans, HasMarkupOnlyForALookOrARuby)
{
    EXPECT_FALSE(HasMarkup(ParseCaptionSpans(QStringLiteral("<P><span>a</span><font color=junk>b"))));
    EXPECT_TRUE(HasMarkup(ParseCaptionSpans(QStringLiteral("<P><u>a"))));
    EXPECT_TRUE(HasMarkup(ParseCaptionSpans(QStringLiteral("<P><ruby>a</ruby>"))));
}

TEST(CaptionSpans, HostileNestingStaysBoundedAndBalanced)
{
    QString deep = QStringLiteral("<P>");
    for (int i = 0; i < 10000; ++i)
        deep += QStringLiteral("<b><font color=red>");
    deep += QStringLiteral("x");
    for (int i = 0; i < 10000; ++i)
        deep += QStringLiteral("</font></b>");
    deep += QStringLiteral("y<u>") + QString(1 << 20, u'<') + QStringLiteral(">z");
    const std::vector<CaptionSpan> spans = ParseCaptionSpans(deep);
    EXPECT_EQ(describe(spans), QStringLiteral("<#ff0000,b:x>y<u:z>"));
    EXPECT_EQ(joined(spans), CleanCaption(deep));
}

TEST(CaptionSpans, ColourValues)
{
    const struct {
        const char *value;
        std::optional<uint32_t> rgb;
    } cases[] = {
        {"#00ff00", 0x00FF00}, {" 00FF00 ", 0x00FF00}, {"#0f0", 0x00FF00}, {"LightSkyBlue", 0x87CEFA},
        {"0f0", std::nullopt}, {"#00ff0", std::nullopt}, {"#gg0000", std::nullopt}, {"", std::nullopt},
        {"노랑", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseCaptionColour(QString::fromUtf8(c.value)), c.rgb) << c.value;
}
