#include "text/ProfileReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::TempDir;

TEST(ProfileReader, ColourTextTable)
{
    struct Case {
        const char *text;
        Colour expected;
    };
    const Case cases[] = {
        {"255,255,0", 0x00FFFF},
        {"10,20,30", 30 * 65536 + 20 * 256 + 10},
        {"300,0,0", 44},
        {"1,2,3 4", 1 + 2 * 256 + 3 * 65536},
        {"", 0},
        {"7", 7},
        {"1,2", 1 + 2 * 256},
        {" 9, x,-1", 9 + 255 * 65536},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseColorText(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(FormatColor(ParseColorText("10,20,30")), "10,20,30");
}

TEST(ProfileReader, ReadsTheFileOnDiskLikeTheClassicReader)
{
    TempDir dir;
    const std::string file = dir.write("s.ini",
                                       "[Other]\r\nColor=1,1,1\r\n"
                                       "[ sami ]\r\n"
                                       "  COLOR =  255,255,0  \r\n"
                                       "Color=9,9,9\r\n"
                                       "Outline=100,100,100,100\r\n");
    EXPECT_EQ(ReadProfileString(file, "Sami", "Color"), "255,255,0") << "first match, blanks trimmed";
    EXPECT_EQ(ReadColor(file, "SAMI", "color"), 0x00FFFFu);
    EXPECT_EQ(ReadProfileString(file, "Sami", "Outline"), "100,100,100") << "at most 11 characters";
    EXPECT_EQ(ReadColor(file, "Sami", "Shadow"), 0u);
    EXPECT_EQ(ReadColor(dir.path("missing.ini"), "Sami", "Color"), 0u);
}
