#include "games/ArrangeRules.h"
#include "tests/support/ScriptedRandom.h"

// Tiles of 64 × 72 pixels, as the game's template; a board of 10 × 6 cells.
const ArrangeRules rules(QSize(64, 72));
const QSize kBoard(640, 432);

std::vector<QPoint> Row(std::initializer_list<int> lefts, int top = 144) {
    std::vector<QPoint> tiles;
    for (int left : lefts) tiles.emplace_back(left, top);
    return tiles;
}

// Complete: gaps of at most 1.3 widths each, tops within a third of a height, no overlap beyond
// three quarters of a width, in any order. The word is read left to right (equal lefts in tile
// order), without tiles at or past the board's width; blanks and equal letters do not matter.
TEST(ArrangeRulesTest, ARowIsCompleteWithinItsLimitsAndReadFromLeftToRight) {
    const auto lowered = [](int by) { std::vector<QPoint> t = Row({100, 164, 228}); t[1].ry() += by; return t; };
    const std::vector<std::pair<std::vector<QPoint>, bool>> rows{
        {Row({100, 164, 228}), true}, {Row({100, 200, 266}), true}, {Row({100, 200, 267}), false}, {Row({228, 100, 164}), true},
        {lowered(24), true}, {lowered(25), false}, {lowered(-25), false}, {Row({100, 116}), true}, {Row({100, 115}), false},
        {Row({100, 164, 100}), false}, {Row({700}, 9), true}};
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rules.IsComplete(rows[r].first), rows[r].second) << "row " << r;
    struct Case { std::vector<QPoint> tiles; QStringList captions; QString word; bool right; };
    const std::vector<Case> cases{
        {Row({300, 100, 200}), {"c", "a", "t"}, "cat", false}, {Row({100, 164, 228}), {"c", "a", "t"}, "cat", true},
        {Row({100, 36, 228}), {"c", "a", "t"}, "act", true}, {Row({100, 164, 228}), {" c", "a ", "t"}, " cat ", true},
        {Row({0, 128, 64, 192}), {"b", "o", "o", "k"}, "book", true}, {Row({50, 50}), {"n", "o"}, "no", true},
        {Row({50, 50}), {"o", "n"}, "no", false}, {Row({700, 800}), {"n", "o"}, "no", false}, {Row({700, 799}), {"n", "o"}, "no", true}};
    for (size_t c = 0; c < cases.size(); ++c)
        EXPECT_EQ(ArrangeRules::IsCorrectWord(cases[c].tiles, cases[c].captions, 800, cases[c].word), cases[c].right) << "case " << c;
}

// Scattering never uses row or column zero; moves and key steps stay on the board.
TEST(ArrangeRulesTest, TheGridCountsWholeCellsAndAnyTileMoveStaysOnTheBoard) {
    ScriptedRandom random;
    random.draws = {0, 0, 11, 6, 5, 3};
    EXPECT_EQ(rules.RefreshWord2(3, 13, 8, random), (std::vector<QPoint>{{64, 72}, {12 * 64, 7 * 72}, {6 * 64, 4 * 72}}));
    EXPECT_EQ(random.asked, (std::deque<int>{12, 7, 12, 7, 12, 7}));
    EXPECT_EQ(QString("%1 %2 %3 %4 %5").arg(rules.GridCols(900)).arg(rules.GridRows(575)).arg(rules.GridRows(576))
                  .arg(ArrangeRules(QSize(0, 0)).GridCols(900)).arg(ArrangeRules(QSize(0, 0)).GridRows(900)), "14 7 8 0 0");
    EXPECT_EQ(rules.MoveOverTile({100, 100}, {40, 30}, {32, 36}, kBoard), QPoint(108, 94));
    EXPECT_EQ(rules.MoveOverTile({4, 2}, {10, 10}, {32, 36}, kBoard), QPoint(0, 0));
    EXPECT_EQ(rules.MoveOverTile({570, 350}, {60, 60}, {20, 20}, kBoard), QPoint(576, 360));
    EXPECT_EQ(ArrangeRules::MoveOverBoard({10, 700}, {32, 36}), QPoint(-22, 664));
    const std::vector<std::tuple<QPoint, int, int, QPoint>> steps{{{128, 144}, 1, 0, {192, 144}}, {{128, 144}, 0, -1, {128, 72}},
        {{0, 0}, -1, -1, {0, 0}}, {{512, 288}, 1, 1, {576, 360}}, {{576, 360}, 1, 1, {576, 360}}};
    for (const auto& [from, cols, rows, to] : steps) EXPECT_EQ(rules.StepByCells(from, cols, rows, kBoard), to);
}

// Records beyond the count belong to an earlier unit.
TEST(ArrangeRulesTest, BackgroundsCycleAndOnlyWordsOfLettersInTheUnitArePlayable) {
    for (const auto& [from, to] : std::vector<std::pair<int, int>>{{1, 4}, {4, 3}, {3, 2}, {2, 1}}) EXPECT_EQ(ArrangeRules::NextBackground(from), to) << from;
    std::vector<CWordType> words(4);
    words[1].Composition = words[3].Composition = 1;
    for (const auto& [count, playable] : std::vector<std::pair<int, int>>{{4, 2}, {1, 1}, {0, 0}, {9, 2}})
        EXPECT_EQ(ArrangeRules::PlayableCount(words, count), playable) << count;
}
