#include "subtitles/CaptionText.h"

#include <gtest/gtest.h>

using velmo::CleanCaption;

namespace {

struct Case {
    const char *raw;
    const char *clean;
};

} // namespace

TEST(CleanCaption, TurnsMarkupIntoText)
{
    const Case cases[] = {
        {"<P>Hello<br>World", "Hello\r\nWorld"},
        {"<P Class=KRCC>Hello<BR>World", "Hello\r\nWorld"},
        {"<P>&nbsp;", " "},
        {"<P>&NBSP;", " "},
        {"<P>A/B", "A B"},
        {"<P><font color=red>Hi</font>", "Hi"},
        // Only the two exact spellings of <br> break a line; others are tags.
        {"<P>a<Br>b<br/>c<BR >d", "abcd"},
        // "/" becomes a space before tags are removed, so "<br/>" is no break.
        {"<P>x<br/>y", "xy"},
        // Everything before the first ">" goes, whatever it is.
        {"junk>text", "text"},
        {"<P>안녕<br>하세요", "안녕\r\n하세요"},
        {"<P>", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CleanCaption(QString::fromUtf8(c.raw)), QString::fromUtf8(c.clean)) << c.raw;
}

TEST(CleanCaption, WithoutAClosingBracketNothingIsReplaced)
{
    EXPECT_EQ(CleanCaption(QStringLiteral("Hello&nbsp;World")), QStringLiteral("Hello&nbsp;World"));
    EXPECT_EQ(CleanCaption(QStringLiteral("a/b<br")), QStringLiteral("a/b<br"));
    EXPECT_EQ(CleanCaption(QString()), QStringLiteral(""));
    EXPECT_FALSE(CleanCaption(QString()).isNull());
}

TEST(CleanCaption, TagRemovalCorners)
{
    const Case cases[] = {
        // A "<" without a ">" after it ends the removal and stays with its text.
        {"<P><i>a</i> < b", "a < b"},
        {"<P>x<y", "x<y"},
        {"<P><b>one<b", "one<b"},
        // Removal restarts from the beginning: "<a<b>" goes as one tag.
        {"<P>1<a<b>2", "12"},
        // Text after a removed tag is looked at again.
        {"<P><<b>>c", ">c"},
        {"<P>>", ">"},
        {"<P><>", ""},
        // Removing a tag does not join pieces into a new break.
        {"<P><b<i>r>x", "r>x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CleanCaption(QString::fromUtf8(c.raw)), QString::fromUtf8(c.clean)) << c.raw;
}
