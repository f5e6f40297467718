#include "text/Cp949.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(Cp949, HangulRoundTripsIncludingCharactersOutsideEucKr)
{
    for (const char *text : {"한국어 자막", "똠방각하", "ABC 123", "", "쀍 뷁"}) {
        const QString original = QString::fromUtf8(text);
        const QByteArray bytes = toCp949(original);
        EXPECT_EQ(fromCp949(bytes), original) << text;
    }
    // 똠 is one of CP949's extra syllables: two bytes, lead 0x8C.
    const QByteArray ddom = toCp949(QString::fromUtf8("똠"));
    ASSERT_EQ(ddom.size(), 2);
    EXPECT_EQ(static_cast<unsigned char>(ddom[0]), 0x8C);
}

TEST(Cp949, CharacterMissingFromCp949BecomesQuestionMarkAndGoesOn)
{
    EXPECT_EQ(toCp949(QString::fromUtf8("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(toCp949(QString::fromUtf8("가ק나")), toCp949(QString::fromUtf8("가")) + "?" + toCp949(QString::fromUtf8("나")));
}

TEST(Cp949, InvalidInputIsReplacedNotTruncated)
{
    // A lone lead byte in the middle, and a truncated pair at the end.
    const QByteArray bytes = toCp949(QString::fromUtf8("가")) + QByteArray("\xB0" " A", 3) + "z\xB0";
    const QString text = fromCp949(bytes);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("가")));
    EXPECT_TRUE(text.contains(QLatin1String(" A")));
    EXPECT_TRUE(text.contains(QLatin1Char('z')));
    EXPECT_EQ(text.count(QChar(0xFFFD)), 2);
}

TEST(Cp949, AnInvalidPairLosesNoByteAfterIt)
{
    // The converter takes 0xA2 0xE8 before it reports it; like any invalid
    // pair it is one replacement for the lead, and the trail gets its own turn.
    struct Case {
        QByteArray bytes;
        const char16_t *text;
    };
    const Case cases[] = {
        {"\xA2\xE8<P>", u"\uFFFD\uFFFD<P>"},
        {"a\xA2\xE8\n", u"a\uFFFD\uFFFD\n"},
        {"\xA2\xE8", u"\uFFFD\uFFFD"},
        {"\xA2\xE9<", u"\uFFFD\uFFFD<"},
        // The trail 0xE8 leads a pair of its own with the next byte.
        {"\xB0\xA1\xA2\xE8\xB0\xA1", u"가\uFFFD瘟\uFFFD"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fromCp949(c.bytes), QString::fromUtf16(c.text)) << c.bytes.toHex().toStdString();
}
