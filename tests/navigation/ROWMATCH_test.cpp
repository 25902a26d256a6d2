// Pairing of old rows and fresh items by key.
#include "navigation/ROWMATCH.h"

#include <gtest/gtest.h>

TEST(RowMatch, PairsEqualKeysAndLeavesTheRestOnTheirSide)
{
    using Keys = std::vector<std::string_view>;
    using Indices = std::vector<std::size_t>;
    using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;
    const struct {
        Keys old, fresh;
        Pairs pairs;
        Indices oldOnly, freshOnly;
    } cases[] = {
        {{"a", "b", "c"}, {"c", "a", "d"}, {{2, 0}, {0, 1}}, {1}, {2}},
        {{}, {"a", "b"}, {}, {}, {0, 1}},
        {{"a", "b"}, {}, {}, {0, 1}, {}},
        {{"x", "x", "y"}, {"x", "z"}, {{0, 0}}, {1, 2}, {1}},  // a key pairs once per occurrence
        {{"ab", "a"}, {"a", ""}, {{1, 0}}, {0}, {1}},          // whole keys, not prefixes
    };
    for (const auto& c : cases) {
        const CLSRowMatch match = MatchKeys(c.old, c.fresh);
        EXPECT_EQ(match.pairs, c.pairs);
        EXPECT_EQ(match.oldOnly, c.oldOnly);
        EXPECT_EQ(match.freshOnly, c.freshOnly);
    }
}
