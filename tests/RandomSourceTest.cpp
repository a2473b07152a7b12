#include "tests/support/QtApp.h"
#include "core/RandomSource.h"

namespace {

TEST(RandomSourceTest, EmptyAndSingleRangesGiveZero) {
    RandomSource random;
    for (int n : {0, -3}) EXPECT_EQ(random.Draw(n), 0) << n;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(random.Draw(1), 0);
}

// Draws made back to back, as a shuffle makes them, within one tick of the
// clock or a few apart. Of 12 000 draws of twelve values each value comes
// 850..1150 times; of 10 000 draws of two, 4700..5300 repeat the one before
// (both bounds four and a half standard deviations out).
TEST(RandomSourceTest, BackToBackDrawsSpreadEvenlyAndIndependently) {
    RandomSource random;
    std::array<int, 12> counts{};
    for (int i = 0; i < 12000; ++i) {
        const int r = random.Draw(12);
        ASSERT_TRUE(r >= 0 && r < 12) << r;
        ++counts[static_cast<size_t>(r)];
    }
    for (int value = 0; value < 12; ++value)
        EXPECT_TRUE(counts[value] > 850 && counts[value] < 1150) << value << ": " << counts[value];
    int repeats = 0;
    for (int i = 0, previous = random.Draw(2); i < 10000; ++i) {
        const int r = random.Draw(2);
        repeats += r == previous;
        previous = r;
    }
    EXPECT_TRUE(repeats > 4700 && repeats < 5300) << repeats;
}

// A range as large as a picture's lines, drawn three times over as the
// random-lines transition does: both ends are reached, never passed.
TEST(RandomSourceTest, LargeRangesReachBothEnds) {
    RandomSource random;
    const int n = 2 * 600;
    bool low = false, high = false;
    for (int i = 0; i < 3 * 600 * 10; ++i) {
        const int r = random.Draw(n);
        ASSERT_TRUE(r >= 0 && r < n) << r;
        low = low || r < 10;
        high = high || r >= n - 10;
    }
    EXPECT_TRUE(low && high) << low << high;
}

}  // namespace
