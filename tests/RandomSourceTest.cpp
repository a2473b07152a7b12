#include "core/RandomSource.h"
#include "tests/support/QtApp.h"

// Empty and single ranges give zero. Draws made back to back, as a shuffle makes them, within one tick of the
// clock or a few apart: of 12 000 draws of twelve values each value comes 850..1150 times; of 10 000 draws of
// two, 4700..5300 repeat the one before (both bounds four and a half standard deviations out). A range as
// large as a picture's lines, drawn as the random-lines transition does, reaches both ends and never passes.
TEST(RandomSourceTest, DrawsSpreadEvenlyAndIndependentlyOverTheWholeRange) {
    RandomSource random;
    for (int n : {0, -3}) EXPECT_EQ(random.Draw(n), 0) << n;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(random.Draw(1), 0);
    std::array<int, 12> counts{};
    for (int i = 0; i < 12000; ++i) {
        const int r = random.Draw(12);
        ASSERT_TRUE(r >= 0 && r < 12) << r;
        ++counts[static_cast<size_t>(r)];
    }
    for (int value = 0; value < 12; ++value) EXPECT_TRUE(counts[value] > 850 && counts[value] < 1150) << value << ": " << counts[value];
    int repeats = 0;
    for (int i = 0, previous = random.Draw(2), r; i < 10000; ++i, previous = r) repeats += (r = random.Draw(2)) == previous;
    EXPECT_TRUE(repeats > 4700 && repeats < 5300) << repeats;
    bool low = false, high = false;
    for (int i = 0; i < 18000; ++i) {
        const int r = random.Draw(1200);
        ASSERT_TRUE(r >= 0 && r < 1200) << r;
        low = low || r < 10, high = high || r >= 1190;
    }
    EXPECT_TRUE(low && high) << low << high;
}
