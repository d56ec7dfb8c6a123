// The seeded 15-bit generator: the same seed gives the same sequence everywhere (the C standard's
// portable generator), numbers stay within 0..32767 and spread over the range.

#include "engine/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

std::vector<int> Draw(Random& random, int count)
{
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.Next());
    return values;
}

TEST(Random, SeedGivesTheSameSequence)
{
    // The sequence that the C standard's example generator gives for seed 1.
    const std::vector<int> seedOne{16838, 5758,  10113, 17515, 31051,
                                   5627,  23010, 7419,  16212, 4086};
    CSeededRandom unseeded;
    EXPECT_EQ(Draw(unseeded, 10), seedOne);

    CSeededRandom random(12345);
    const std::vector<int> first = Draw(random, 50);
    EXPECT_NE(first, Draw(random, 50));
    random.Seed(12345);
    EXPECT_EQ(Draw(random, 50), first);
    random.Seed(1);
    EXPECT_EQ(Draw(random, 10), seedOne);
    // Seeds next to each other start apart.
    CSeededRandom other(12346);
    EXPECT_NE(Draw(other, 50), first);
}

TEST(Random, NumbersCoverTheFifteenBitRange)
{
    CSeededRandom random(20240601);
    std::array<int, 8> buckets{};
    int lowest = Random::kMax;
    int highest = 0;
    constexpr int kCount = 80000;
    for (int i = 0; i < kCount; ++i) {
        const int value = random.Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, Random::kMax);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        ++buckets[static_cast<std::size_t>(value / 4096)];
    }
    EXPECT_LT(lowest, 8);
    EXPECT_GT(highest, Random::kMax - 8);
    for (const int count : buckets) {
        EXPECT_GT(count, kCount / 8 - kCount / 80);
        EXPECT_LT(count, kCount / 8 + kCount / 80);
    }
}

}  // namespace
