#include "tools/host/NearestNames.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

TEST(NearestNames, AMistypedNameFindsWhatWasMeantFirst)
{
    const std::vector<juce::String> names { "Dub Snare",   "Dotted Dub Delay", "More Slap",     "Cheap Springs",
                                            "Springtime",  "Dusty Roads",      "Roomy",         "Just the Springs" };
    struct Case
    {
        const char* wanted;
        const char* first;
    };
    for (const auto& c : { Case { "dub dlay", "Dotted Dub Delay" }, // a word of a long name, one letter lost
                           Case { "DUB SNARE", "Dub Snare" },       // case
                           Case { "Romy", "Roomy" },
                           Case { "  springtim ", "Springtime" },  // blanks around it, one letter short
                           Case { "Just Springs", "Just the Springs" } })
    {
        const auto nearest = nearestNames(c.wanted, names, 3);
        ASSERT_EQ(nearest.size(), 3u) << c.wanted;
        EXPECT_EQ(nearest.front(), c.first) << c.wanted;
    }

    EXPECT_EQ(nearestNames("anything", names, 100).size(), names.size());
    EXPECT_TRUE(nearestNames("anything", {}, 5).empty());
    EXPECT_EQ(nearestNames("", names, 2).size(), 2u);
}
