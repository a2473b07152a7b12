#include <gtest/gtest.h>

#include "games/ArrangeRules.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedRandom.h"

namespace {

// Tiles of 64 × 72 pixels, as the game's template.
const ArrangeRules rules(QSize(64, 72));

std::vector<QPoint> Row(std::initializer_list<int> lefts, int top = 144) {
    std::vector<QPoint> tiles;
    for (int left : lefts) tiles.emplace_back(left, top);
    return tiles;
}

TEST(ArrangeRulesTest, RowWithinThirteenTenthsOfAWidthPerGapIsComplete) {
    EXPECT_TRUE(rules.IsComplete(Row({100, 164, 228})));
    // Three tiles may spread over 2 × 64 × 1.3 = 166.4 pixels, unevenly too.
    EXPECT_TRUE(rules.IsComplete(Row({100, 200, 266})));
    EXPECT_FALSE(rules.IsComplete(Row({100, 200, 267})));
    // The tiles are judged by place, not by their order in the word.
    EXPECT_TRUE(rules.IsComplete(Row({228, 100, 164})));
}

TEST(ArrangeRulesTest, TilesOutOfLineByMoreThanAThirdOfAHeightAreRefused) {
    std::vector<QPoint> tiles = Row({100, 164, 228});
    tiles[1].ry() += 24;
    EXPECT_TRUE(rules.IsComplete(tiles));
    tiles[1].ry() += 1;
    EXPECT_FALSE(rules.IsComplete(tiles));
    tiles[1].ry() -= 50;
    EXPECT_FALSE(rules.IsComplete(tiles));
}

TEST(ArrangeRulesTest, TilesCoveringMoreThanThreeQuartersOfAWidthAreRefused) {
    EXPECT_TRUE(rules.IsComplete(Row({100, 116})));
    EXPECT_FALSE(rules.IsComplete(Row({100, 115})));
    EXPECT_FALSE(rules.IsComplete(Row({100, 164, 100})));
}

TEST(ArrangeRulesTest, OneLetterIsCompleteWherever) {
    EXPECT_TRUE(rules.IsComplete(Row({700}, 9)));
}

TEST(ArrangeRulesTest, WordIsReadFromLeftToRight) {
    const QStringList captions{"c", "a", "t"};
    EXPECT_FALSE(ArrangeRules::IsCorrectWord(Row({300, 100, 200}), captions, 800, "cat"));
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({100, 164, 228}), captions, 800, "cat"));
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({100, 36, 228}), captions, 800, "act"));
    // Blanks around the word and the captions do not count.
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({100, 164, 228}), {" c", "a ", "t"}, 800, " cat "));
}

TEST(ArrangeRulesTest, EqualLettersAreInterchangeable) {
    const QStringList captions{"b", "o", "o", "k"};
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({0, 64, 128, 192}), captions, 800, "book"));
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({0, 128, 64, 192}), captions, 800, "book"));
}

TEST(ArrangeRulesTest, EqualLeftsReadInTileOrderAndTilesPastTheBoardAreNotRead) {
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({50, 50}), {"n", "o"}, 800, "no"));
    EXPECT_FALSE(ArrangeRules::IsCorrectWord(Row({50, 50}), {"o", "n"}, 800, "no"));
    EXPECT_FALSE(ArrangeRules::IsCorrectWord(Row({700, 800}), {"n", "o"}, 800, "no"));
    EXPECT_TRUE(ArrangeRules::IsCorrectWord(Row({700, 799}), {"n", "o"}, 800, "no"));
}

TEST(ArrangeRulesTest, ScatteringNeverUsesRowZeroOrColumnZero) {
    ScriptedRandom random;
    random.draws = {0, 0, 11, 6, 5, 3};
    const std::vector<QPoint> places = rules.RefreshWord2(3, 13, 8, random);
    EXPECT_EQ(places, (std::vector<QPoint>{{64, 72}, {12 * 64, 7 * 72}, {6 * 64, 4 * 72}}));
    EXPECT_EQ(random.asked, (std::deque<int>{12, 7, 12, 7, 12, 7}));
}

TEST(ArrangeRulesTest, GridCountsWholeCells) {
    EXPECT_EQ(rules.GridCols(900), 14);
    EXPECT_EQ(rules.GridRows(575), 7);
    EXPECT_EQ(rules.GridRows(576), 8);
}

TEST(ArrangeRulesTest, CarriedTileStaysOnTheBoardOnlyWhenThePointerIsOverIt) {
    const QSize board(640, 432);
    EXPECT_EQ(rules.MoveOverTile({100, 100}, {40, 30}, {32, 36}, board), QPoint(108, 94));
    EXPECT_EQ(rules.MoveOverTile({4, 2}, {10, 10}, {32, 36}, board), QPoint(0, 0));
    EXPECT_EQ(rules.MoveOverTile({570, 350}, {60, 60}, {20, 20}, board), QPoint(576, 360));
    EXPECT_EQ(ArrangeRules::MoveOverBoard({10, 700}, {32, 36}), QPoint(-22, 664));
}

TEST(ArrangeRulesTest, KeyboardStepsAWholeCellAndStopsAtTheEdge) {
    const QSize board(640, 432);
    EXPECT_EQ(rules.StepByCells({128, 144}, 1, 0, board), QPoint(192, 144));
    EXPECT_EQ(rules.StepByCells({128, 144}, 0, -1, board), QPoint(128, 72));
    EXPECT_EQ(rules.StepByCells({0, 0}, -1, -1, board), QPoint(0, 0));
    EXPECT_EQ(rules.StepByCells({576, 360}, 1, 1, board), QPoint(576, 360));
}

TEST(ArrangeRulesTest, BackgroundsCycleOneFourThreeTwo) {
    EXPECT_EQ(ArrangeRules::NextBackground(1), 4);
    EXPECT_EQ(ArrangeRules::NextBackground(4), 3);
    EXPECT_EQ(ArrangeRules::NextBackground(3), 2);
    EXPECT_EQ(ArrangeRules::NextBackground(2), 1);
}

TEST(ArrangeRulesTest, PlayableWordsAreThoseOfLettersOnly) {
    std::vector<CWordType> words(4);
    words[1].Composition = 1;
    words[3].Composition = 1;
    EXPECT_EQ(ArrangeRules::PlayableCount(words, 4), 2);
    // Records beyond the count belong to an earlier unit.
    EXPECT_EQ(ArrangeRules::PlayableCount(words, 1), 1);
    EXPECT_EQ(ArrangeRules::PlayableCount(words, 0), 0);
}

}  // namespace
