#include <gtest/gtest.h>

#include <set>

#include "core/RandomSource.h"
#include "quiz/OptionTable.h"
#include "tests/support/ScriptedRandom.h"

namespace {

TEST(OptionTableTest, DrawsSkipTheTestWordAndEarlierSlots) {
    ScriptedRandom random;
    // answer slot 1; slot 0: 3 (test word) then 5; slot 2: 5 (taken) then 0;
    // slot 3: 0 (taken), 3 (test word) then 2
    random.draws = {1, 3, 5, 5, 0, 0, 3, 2};
    OptionTable table;
    table.BuildOptionTable(3, 6, random);
    EXPECT_EQ(table.Slot(0), 5);
    EXPECT_EQ(table.Slot(1), 3);
    EXPECT_EQ(table.Slot(2), 0);
    EXPECT_EQ(table.Slot(3), 2);
    EXPECT_TRUE(table.HoldsTestWord(1));
    EXPECT_FALSE(table.HoldsTestWord(0));
    EXPECT_FALSE(table.HoldsTestWord(4));
    EXPECT_EQ(random.asked, (std::deque<int>{4, 6, 6, 6, 6, 6, 6, 6}));
}

TEST(OptionTableTest, RealDrawsAlwaysGiveTheTestWordOnceAndThreeDistinctOthers) {
    RandomSource random;
    OptionTable table;
    std::set<int> answerSlots;
    for (int run = 0; run < 400; ++run) {
        const qint16 testWord = static_cast<qint16>(run % 5);
        table.BuildOptionTable(testWord, 5, random);
        std::set<int> seen;
        int answers = 0;
        for (int i = 0; i < 4; ++i) {
            const int slot = table.Slot(i);
            ASSERT_GE(slot, 0);
            ASSERT_LT(slot, 5);
            seen.insert(slot);
            if (slot == testWord) {
                ++answers;
                answerSlots.insert(i);
            }
        }
        ASSERT_EQ(answers, 1);
        ASSERT_EQ(seen.size(), 4u);
    }
    EXPECT_EQ(answerSlots.size(), 4u);
}

TEST(OptionTableTest, SmallUnitsFillOnlyAsManySlotsAsWords) {
    ScriptedRandom random;
    random.draws = {1, 1, 0};
    OptionTable table;
    table.BuildOptionTable(0, 2, random);
    EXPECT_EQ(table.Slot(0), 1);
    EXPECT_EQ(table.Slot(1), 0);
    EXPECT_EQ(table.Slot(2), -1);
    EXPECT_EQ(table.Slot(3), -1);
    EXPECT_EQ(table.UsedSlots(), 2);

    table.BuildOptionTable(0, 1, random);
    EXPECT_EQ(table.Slot(0), 0);
    EXPECT_EQ(table.UsedSlots(), 1);

    RandomSource real;
    for (int run = 0; run < 50; ++run) {
        table.BuildOptionTable(2, 3, real);
        std::set<int> seen{table.Slot(0), table.Slot(1), table.Slot(2)};
        ASSERT_EQ(seen, (std::set<int>{0, 1, 2}));
        ASSERT_EQ(table.Slot(3), -1);
    }
}

TEST(OptionTableTest, DrawsThatNeverFitStillEndWithDistinctWords) {
    ScriptedRandom random;  // every draw is 0: the test word itself
    OptionTable table;
    table.BuildOptionTable(0, 6, random);
    EXPECT_EQ(table.Slot(0), 0);
    EXPECT_EQ(table.Slot(1), 1);
    EXPECT_EQ(table.Slot(2), 2);
    EXPECT_EQ(table.Slot(3), 3);
}

TEST(OptionTableTest, AnUnknownWordLeavesEverySlotEmpty) {
    ScriptedRandom random;
    OptionTable table;
    table.BuildOptionTable(-1, 6, random);
    EXPECT_EQ(table.UsedSlots(), 0);
    EXPECT_FALSE(table.HoldsTestWord(0));
    table.BuildOptionTable(0, 0, random);
    EXPECT_EQ(table.UsedSlots(), 0);
}

}  // namespace
