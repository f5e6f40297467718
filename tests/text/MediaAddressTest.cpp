#include "text/MediaAddress.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(MediaAddress, OnlyASchemeBeforeTheSlashesMakesAnAddress)
{
    const struct {
        const char *text;
        bool address;
    } cases[] = {
        {"http://127.0.0.1:8000/a.avi", true},
        {"rtsp://host/stream", true},
        {"HTTPS://HOST/A", true},
        {"svn+ssh://x", true},
        {"a.b-c://x", true},
        {"file:///tmp/a.avi", true},
        {"x://", true},
        {"/home/user/a.avi", false},
        {"a.avi", false},
        {"", false},
        // A colon alone is part of a file name.
        {"clip:1.avi", false},
        {"http:/x", false},
        {"http:", false},
        // "://" later in a path does not make it an address.
        {"/media/x://y.avi", false},
        {"dir/http://x", false},
        // The scheme must start with a letter and hold nothing else.
        {"3http://x", false},
        {"://x", false},
        {"-x://y", false},
        {"ht tp://x", false},
        {"h_t://x", false},
        {"\xed\x95\x9c://x", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAddress(c.text), c.address) << c.text;
}
