// The rule of the panels over the full-screen picture.

#include "screen/FullScreenBand.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

TEST(FullScreenBand, PanelsShowOnlyWhileThePointerIsInTheirBand)
{
    // A 1024 x 768 screen, a 40-pixel panel; the client width differs from the
    // display's to tell which one a band spans.
    struct Case {
        const char *align;
        int y;
        BandDecision::Action action;
        QRect geometry;
    } cases[] = {
        {"Bottom", 728, BandDecision::Hide, {}},
        {"Bottom", 729, BandDecision::Show, QRect(0, 728, 1024, 40)},
        {"Bottom", 767, BandDecision::Show, QRect(0, 728, 1024, 40)},
        {"Top", 0, BandDecision::Show, QRect(0, 0, 1000, 40)},
        {"Top", 39, BandDecision::Show, QRect(0, 0, 1000, 40)},
        {"Top", 40, BandDecision::Hide, {}},
        {"Left", 0, BandDecision::Leave, {}},
        {"bottom", 760, BandDecision::Leave, {}},
    };
    for (const Case &c : cases) {
        const BandDecision d = FullScreenBand(c.align, c.y, 768, 40, 1000, 1024);
        EXPECT_EQ(d.action, c.action) << c.align << " " << c.y;
        if (c.action == BandDecision::Show) {
            EXPECT_EQ(d.geometry, c.geometry) << c.align << " " << c.y;
        }
    }
}

} // namespace
