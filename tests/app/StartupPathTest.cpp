#include "app/PlayerApp.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

struct CommandLineCase {
    std::vector<std::string> arguments;
    std::string path;
};

TEST(StartupPath, CommandLineRule)
{
    const CommandLineCase cases[] = {
        {{"velmo"}, ""},
        // A quoted path loses its quotes.
        {{"velmo", "\"/media/a film.avi\""}, "/media/a film.avi"},
        // A bare path is used unchanged, first character included.
        {{"velmo", "/media/a.avi"}, "/media/a.avi"},
        // Words are joined with single spaces: the whole tail is one path.
        {{"velmo", "/media/a", "film.avi"}, "/media/a film.avi"},
        // A single quote before the path loses that one character only.
        {{"velmo", "\"/media/a.avi"}, "/media/a.avi"},
        // Two quoted paths: only the first two quotes go.
        {{"velmo", "\"/a.avi\"", "\"/b.avi\""}, "/a.avi \"/b.avi\""},
        // Quotes are removed wherever they stand.
        {{"velmo", "/me\"dia/a\".avi"}, "/media/a.avi"},
        {{"velmo", "\"\"\""}, "\""},
        {{"velmo", "http://127.0.0.1/a.mkv"}, "http://127.0.0.1/a.mkv"},
    };
    for (const CommandLineCase &c : cases)
        EXPECT_EQ(StartupPathFromArguments(c.arguments), c.path) << c.arguments.size();
}

} // namespace
} // namespace velmo
