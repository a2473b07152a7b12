#include "quiz/OptionTable.h"
#include "tests/support/ScriptedRandom.h"

namespace {

// The answer slot is drawn first, then a word for each other slot, drawn
// again while it is the test word or already in an earlier slot.
TEST(OptionTableTest, ScriptedDrawsFillTheSlotsOrLeaveThemEmpty) {
    struct Row { qint16 testWord; int pool; std::deque<int> draws; std::array<int, 4> filled; std::deque<int> asked; };
    const std::vector<Row> rows{{3, 6, {1, 3, 5, 5, 0, 0, 3, 2}, {5, 3, 0, 2}, {4, 6, 6, 6, 6, 6, 6, 6}},
                                {0, 2, {1, 1}, {1, 0, -1, -1}, {2, 2}},  {0, 1, {0}, {0, -1, -1, -1}, {1}},
                                {2, 4, {3, 0, 1, 3}, {0, 1, 3, 2}, {4, 4, 4, 4}},  // the answer in the last slot
                                {0, 6, {}, {0, 1, 2, 3}, {}},  // draws that never fit
                                {-1, 6, {}, {-1, -1, -1, -1}, {}}, {6, 6, {}, {-1, -1, -1, -1}, {}}, {0, 0, {}, {-1, -1, -1, -1}, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "word " << row.testWord << " of " << row.pool);
        ScriptedRandom random;
        random.draws = row.draws;
        OptionTable table;
        table.BuildOptionTable(row.testWord, row.pool, random);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(table.Slot(i), row.filled[i]) << i;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(table.HoldsTestWord(i), i < 4 && row.testWord >= 0 && row.filled[i] == row.testWord) << i;
        EXPECT_EQ(table.UsedSlots(), std::count_if(row.filled.begin(), row.filled.end(), [](int s) { return s >= 0; }));
        if (!row.asked.empty()) { EXPECT_EQ(random.asked, row.asked); }
    }
}

}  // namespace
