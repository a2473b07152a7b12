#include <gtest/gtest.h>

#include "games/ArrangeRules.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedRandom.h"

namespace {

// Tiles of 64 × 72 pixels, as the game's template; a board of 10 × 6 cells.
const ArrangeRules rules(QSize(64, 72));
const QSize kBoard(640, 432);

std::vector<QPoint> Row(std::initializer_list<int> lefts, int top = 144) {
    std::vector<QPoint> tiles;
    for (int left : lefts) tiles.emplace_back(left, top);
    return tiles;
}

// A row is complete when its gaps add up to at most 1.3 widths each, its
// tops lie within a third of a height and no two tiles overlap by more
// than three quarters of a width; the order of the tiles does not count.
TEST(ArrangeRulesTest, ARowIsCompleteWithinItsLimitsAndNotOneBeyond) {
    const auto lowered = [](int by) { std::vector<QPoint> t = Row({100, 164, 228}); t[1].ry() += by; return t; };
    const std::vector<std::pair<std::vector<QPoint>, bool>> rows{
        {Row({100, 164, 228}), true}, {Row({100, 200, 266}), true}, {Row({100, 200, 267}), false},
        {Row({228, 100, 164}), true}, {lowered(24), true},          {lowered(25), false},
        {lowered(-25), false},        {Row({100, 116}), true},      {Row({100, 115}), false},
        {Row({100, 164, 100}), false}, {Row({700}, 9), true}};
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rules.IsComplete(rows[r].first), rows[r].second) << "row " << r;
}

// Read left to right; equal lefts in tile order; tiles at or past the
// board's width are not read; blanks and equal letters do not matter.
TEST(ArrangeRulesTest, TheWordIsReadFromLeftToRightOnTheBoard) {
    struct Case { std::vector<QPoint> tiles; QStringList captions; QString word; bool right; };
    const std::vector<Case> cases{
        {Row({300, 100, 200}), {"c", "a", "t"}, "cat", false}, {Row({100, 164, 228}), {"c", "a", "t"}, "cat", true},
        {Row({100, 36, 228}), {"c", "a", "t"}, "act", true},   {Row({100, 164, 228}), {" c", "a ", "t"}, " cat ", true},
        {Row({0, 128, 64, 192}), {"b", "o", "o", "k"}, "book", true}, {Row({50, 50}), {"n", "o"}, "no", true},
        {Row({50, 50}), {"o", "n"}, "no", false},               {Row({700, 800}), {"n", "o"}, "no", false},
        {Row({700, 799}), {"n", "o"}, "no", true}};
    for (size_t c = 0; c < cases.size(); ++c)
        EXPECT_EQ(ArrangeRules::IsCorrectWord(cases[c].tiles, cases[c].captions, 800, cases[c].word), cases[c].right)
            << "case " << c;
}

TEST(ArrangeRulesTest, ScatteringNeverUsesRowZeroOrColumnZero) {
    ScriptedRandom random;
    random.draws = {0, 0, 11, 6, 5, 3};
    EXPECT_EQ(rules.RefreshWord2(3, 13, 8, random), (std::vector<QPoint>{{64, 72}, {12 * 64, 7 * 72}, {6 * 64, 4 * 72}}));
    EXPECT_EQ(random.asked, (std::deque<int>{12, 7, 12, 7, 12, 7}));
}

TEST(ArrangeRulesTest, TheGridCountsWholeCellsAndAnyTileMoveStaysOnTheBoard) {
    EXPECT_EQ(rules.GridCols(900), 14);
    EXPECT_EQ(rules.GridRows(575), 7);
    EXPECT_EQ(rules.GridRows(576), 8);
    EXPECT_EQ(ArrangeRules(QSize(0, 0)).GridCols(900), 0);
    EXPECT_EQ(ArrangeRules(QSize(0, 0)).GridRows(900), 0);
    // Over the tile the pointer keeps it on the board; over the board it does not.
    EXPECT_EQ(rules.MoveOverTile({100, 100}, {40, 30}, {32, 36}, kBoard), QPoint(108, 94));
    EXPECT_EQ(rules.MoveOverTile({4, 2}, {10, 10}, {32, 36}, kBoard), QPoint(0, 0));
    EXPECT_EQ(rules.MoveOverTile({570, 350}, {60, 60}, {20, 20}, kBoard), QPoint(576, 360));
    EXPECT_EQ(ArrangeRules::MoveOverBoard({10, 700}, {32, 36}), QPoint(-22, 664));
    // The keyboard steps whole cells and stops at the edge.
    EXPECT_EQ(rules.StepByCells({128, 144}, 1, 0, kBoard), QPoint(192, 144));
    EXPECT_EQ(rules.StepByCells({128, 144}, 0, -1, kBoard), QPoint(128, 72));
    EXPECT_EQ(rules.StepByCells({0, 0}, -1, -1, kBoard), QPoint(0, 0));
    EXPECT_EQ(rules.StepByCells({512, 288}, 1, 1, kBoard), QPoint(576, 360));
    EXPECT_EQ(rules.StepByCells({576, 360}, 1, 1, kBoard), QPoint(576, 360));
}

TEST(ArrangeRulesTest, BackgroundsCycleAndOnlyWordsOfLettersInTheUnitArePlayable) {
    const std::vector<std::pair<int, int>> cycle{{1, 4}, {4, 3}, {3, 2}, {2, 1}};
    for (const auto& [from, to] : cycle) EXPECT_EQ(ArrangeRules::NextBackground(from), to) << from;
    std::vector<CWordType> words(4);
    words[1].Composition = 1;
    words[3].Composition = 1;
    // Records beyond the count belong to an earlier unit.
    const std::vector<std::pair<int, int>> counts{{4, 2}, {1, 1}, {0, 0}, {9, 2}};
    for (const auto& [count, playable] : counts) EXPECT_EQ(ArrangeRules::PlayableCount(words, count), playable) << count;
}

}  // namespace
