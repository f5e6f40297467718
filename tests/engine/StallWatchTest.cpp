// When a stream from an address counts as stalled: each case is a run of
// looks, and what each look must answer.

#include "engine/StallWatch.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmo;

TEST(StallWatch, TellsAStallOnlyAfterTheStallTimeWithoutDataWhileTheStreamStands)
{
    struct Look {
        int64_t ms;
        uint64_t reads;
        bool watched;
        bool moving;
        bool stalled; // expected
    };
    struct Case {
        const char *name;
        std::vector<Look> looks;
    };
    const Case cases[] = {
        {"data keeps coming", {{0, 1, true, false, false}, {600, 2, true, false, false},
                               {1200, 3, true, false, false}, {1800, 4, true, false, false}}},
        {"no data, the stream stands", {{0, 5, true, false, false}, {999, 5, true, false, false},
                                        {1000, 5, true, false, true}}},
        {"no data, but what was read still plays", {{0, 5, true, true, false}, {1500, 5, true, true, false},
                                                    {3000, 5, true, true, false}, {3100, 5, true, false, true}}},
        {"data resumes before the stall time", {{0, 5, true, false, false}, {900, 6, true, false, false},
                                                {1800, 6, true, false, false}, {1900, 6, true, false, true}}},
        {"paused meanwhile: the time starts again on running",
         {{0, 5, true, false, false}, {800, 5, false, false, false}, {5000, 5, false, false, false},
          {6000, 5, true, false, false}, {6900, 5, true, false, false}, {7000, 5, true, false, true}}},
        {"first look while running does not count time before it", {{4000, 5, true, false, false}}},
    };
    for (const Case &c : cases) {
        StallWatch watch(1000);
        for (const Look &look : c.looks)
            EXPECT_EQ(watch.Look(look.ms, look.reads, look.watched, look.moving), look.stalled)
                << c.name << " at " << look.ms << " ms";
    }
}
