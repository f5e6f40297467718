// Which MIME types the desktop entry announces for a given set of installed
// GStreamer elements.

#include "desktop/PlayableMimeTypes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace velmo::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

std::vector<std::string> TypesWith(std::set<std::string> installed)
{
    return PlayableMimeTypes([installed](const std::string &name) { return installed.count(name) > 0; });
}

TEST(PlayableMimeTypes, NothingInstalledLeavesOnlySami)
{
    EXPECT_THAT(TypesWith({}), ElementsAre("application/x-sami"));
}

TEST(PlayableMimeTypes, ATypeNeedsEveryRequirementAndAnyOneAlternative)
{
    struct Case {
        std::set<std::string> installed;
        const char *type;
        bool listed;
    };
    const Case cases[] = {
        {{"matroskademux"}, "video/x-matroska", true},
        {{"qtdemux"}, "video/mp4", true},
        {{"avidemux"}, "video/mp4", false},
        // audio/mpeg: the parser and one of two decoders
        {{"mpegaudioparse"}, "audio/mpeg", false},
        {{"mpg123audiodec"}, "audio/mpeg", false},
        {{"mpegaudioparse", "mpg123audiodec"}, "audio/mpeg", true},
        {{"mpegaudioparse", "avdec_mp3"}, "audio/mpeg", true},
        // WMV: the demuxer alone is not enough, the decoder comes from libav
        {{"asfdemux"}, "video/x-ms-wmv", false},
        {{"asfdemux", "avdec_wmv3"}, "video/x-ms-wmv", true},
        {{"aacparse", "faad"}, "audio/aac", true},
        {{"aacparse", "aacdec"}, "audio/aac", false},
    };
    for (const Case &c : cases) {
        const auto types = TypesWith(c.installed);
        if (c.listed)
            EXPECT_THAT(types, Contains(c.type)) << *c.installed.begin();
        else
            EXPECT_THAT(types, Not(Contains(c.type))) << *c.installed.begin();
        EXPECT_EQ(types.back(), "application/x-sami");
    }
}

} // namespace
} // namespace velmo::test
