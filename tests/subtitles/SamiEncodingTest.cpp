#include "subtitles/SamiEncoding.h"

#include "text/Cp949.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(SamiEncoding, TheCp949TableAgreesWithTheConverter)
{
    // Every two-byte code between ASCII text, as captions hold them.
    int characters = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const QString alone = fromCp949(QByteArray(pair, 2));
            if (alone.size() != 1 || alone[0] == QChar(0xFFFD))
                continue; // not a character: checked below
            ++characters;
            const QByteArray text = QByteArray("a") + QByteArray(pair, 2) + "b";
            ASSERT_EQ(DecodeCp949(text), fromCp949(text)) << std::hex << lead << trail;
        }
    }
    // Both halves of Unified Hangul Code: KS X 1001 and the extra syllables.
    EXPECT_GT(characters, 17000);
}

TEST(SamiEncoding, BadCp949BytesBecomeReplacementsAndReadingGoesOn)
{
    const QByteArray cases[] = {
        QByteArray("\x80" "abc"),        // no lead byte
        QByteArray("x\xB0"),             // a lead byte at the end
        QByteArray("\xB0\x20" "z"),      // a lead byte before a blank
        QByteArray("\xFF\xB0\xA1"),      // 0xFF, then a good pair
        QByteArray("\xC9\xFE" "<P>"),    // a user-defined code
        QByteArray("\xA2\xE8" "<P>"),    // a code the converter takes before it reports it
    };
    for (const QByteArray &bytes : cases)
        EXPECT_EQ(DecodeCp949(bytes), fromCp949(bytes)) << bytes.toHex().toStdString();
}

TEST(SamiEncoding, Utf8Validity)
{
    const std::pair<QByteArray, bool> cases[] = {
        {"plain ascii", true},
        {QString::fromUtf8("한국어 \xF0\x9F\x98\x80").toUtf8(), true},
        {"\xC0\xAF", false},            // overlong "/"
        {"\xE0\x80\xAF", false},        // overlong, three bytes
        {"\xED\xA0\x80", false},        // a surrogate
        {"\xF4\x90\x80\x80", false},    // past U+10FFFF
        {"\xEA\xB0", false},            // cut short
        {"\xB0\xA1", false},            // CP949 "가"
        {"", true},
    };
    for (const auto &[bytes, valid] : cases)
        EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes.toHex().toStdString();
}

TEST(SamiEncoding, ABomDecidesOverTheBytes)
{
    // Valid UTF-8 after a UTF-16 BOM is still read as UTF-16.
    const QByteArray le = QByteArray("\xFF\xFE" "A\0B\0", 6);
    EXPECT_EQ(DecodeSamiBytes(le), QStringLiteral("AB"));
    const QByteArray be = QByteArray("\xFE\xFF\0A\0B", 6);
    EXPECT_EQ(DecodeSamiBytes(be), QStringLiteral("AB"));
    // A UTF-8 BOM keeps invalid bytes from switching to CP949.
    EXPECT_EQ(DecodeSamiBytes("\xEF\xBB\xBF" "a\xB0\xA1"), QString::fromUtf8("a\xEF\xBF\xBD\xEF\xBF\xBD"));
    EXPECT_EQ(DecodeSamiBytes("a\xB0\xA1"), QString::fromUtf8("a가"));
}
