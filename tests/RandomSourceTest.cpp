#include <gtest/gtest.h>

#include <array>

#include "core/RandomSource.h"

namespace {

TEST(RandomSourceTest, EmptyAndSingleRangesGiveZero) {
    RandomSource random;
    EXPECT_EQ(random.Draw(0), 0);
    EXPECT_EQ(random.Draw(-3), 0);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(random.Draw(1), 0);
}

// Draws made back to back, as a shuffle makes them, each within one tick of
// the clock or a few apart: every value comes about equally often. Twelve
// thousand draws of twelve values: a count outside 850..1150 is more than
// four and a half standard deviations out.
TEST(RandomSourceTest, BackToBackDrawsSpreadEvenlyOverTheRange) {
    RandomSource random;
    std::array<int, 12> counts{};
    for (int i = 0; i < 12000; ++i) {
        const int r = random.Draw(12);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 12);
        ++counts[static_cast<size_t>(r)];
    }
    for (int value = 0; value < 12; ++value) {
        EXPECT_GT(counts[static_cast<size_t>(value)], 850) << value;
        EXPECT_LT(counts[static_cast<size_t>(value)], 1150) << value;
    }
}

// Two values drawn in turn: a draw that repeated its predecessor far more or
// less often than half the time would make shuffles visibly patterned.
TEST(RandomSourceTest, ConsecutiveDrawsAreUnrelated) {
    RandomSource random;
    int repeats = 0;
    int previous = random.Draw(2);
    for (int i = 0; i < 10000; ++i) {
        const int r = random.Draw(2);
        repeats += r == previous;
        previous = r;
    }
    EXPECT_GT(repeats, 4700);
    EXPECT_LT(repeats, 5300);
}

// A range as large as a picture's lines, drawn three times over as the
// random-lines transition does: both ends of the range are reached.
TEST(RandomSourceTest, LargeRangesReachBothEnds) {
    RandomSource random;
    const int n = 2 * 600;
    bool low = false, high = false;
    for (int i = 0; i < 3 * 600 * 10 && !(low && high); ++i) {
        const int r = random.Draw(n);
        low = low || r < 10;
        high = high || r >= n - 10;
    }
    EXPECT_TRUE(low);
    EXPECT_TRUE(high);
}

}  // namespace
