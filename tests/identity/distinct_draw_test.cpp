#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "identity/distinct_draw.h"
#include "test_support.h"

namespace {

// A hand-followed run over total 5: swaps into the map, a draw of the last
// position (j == i), a draw of a moved value, and the map emptying again.
TEST(DistinctDraw, FollowsTheVirtualShuffle) {
    ScriptedGenerator g({2, 7, 2, 0, 0});  // j = 2, 3, 2, 0, 0 for i = 5, 4, 3, 2, 1
    EXPECT_EQ(draw_distinct(5, 5, g), (std::vector<std::uint64_t>{2, 3, 4, 0, 1}));
    EXPECT_EQ(g.used, 5u);
}

TEST(DistinctDraw, CountEqualToTotalIsAPermutation) {
    ChaChaRng rng(fixed_seed(3));
    for (std::uint64_t total = 1; total <= 300; ++total) {
        auto drawn = draw_distinct(total, static_cast<std::uint32_t>(total), rng);
        ASSERT_EQ(drawn.size(), total);
        std::sort(drawn.begin(), drawn.end());
        for (std::uint64_t k = 0; k < total; ++k) ASSERT_EQ(drawn[k], k) << total;
    }
    EXPECT_TRUE(draw_distinct(3, 4, rng).empty());
    EXPECT_TRUE(draw_distinct(0, 0, rng).empty());
}

// All 24 orders of 0..3 equally often, and all 20 ordered pairs from 0..4
// when only two are drawn: the draw is a uniform partial shuffle, not just a
// set of distinct values.
TEST(DistinctDraw, OrdersAreUniform) {
    ChaChaRng rng(fixed_seed(11));
    std::map<std::vector<std::uint64_t>, std::uint64_t> orders, pairs;
    for (int trial = 0; trial < 48000; ++trial) ++orders[draw_distinct(4, 4, rng)];
    for (int trial = 0; trial < 40000; ++trial) ++pairs[draw_distinct(5, 2, rng)];
    ASSERT_EQ(orders.size(), 24u);
    ASSERT_EQ(pairs.size(), 20u);
    std::vector<std::uint64_t> counts;
    for (const auto& [order, n] : orders) counts.push_back(n);
    EXPECT_LT(chi_square(counts), chi_square_limit(23));
    counts.clear();
    for (const auto& [pair, n] : pairs) counts.push_back(n);
    EXPECT_LT(chi_square(counts), chi_square_limit(19));
}

// Time and memory follow the count: 10000 values from 2^62 or from 2^64 - 1
// take no longer than from 10000.
TEST(DistinctDraw, HugeTotals) {
    ChaChaRng rng(fixed_seed(5));
    for (std::uint64_t total : {1ull << 62, ~0ull, 20000ull}) {
        auto drawn = draw_distinct(total, 10000, rng);
        ASSERT_EQ(drawn.size(), 10000u);
        std::set<std::uint64_t> distinct(drawn.begin(), drawn.end());
        EXPECT_EQ(distinct.size(), 10000u);
        EXPECT_LT(*distinct.rbegin(), total);
    }
}

}  // namespace
