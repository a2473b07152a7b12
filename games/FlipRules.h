#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

#include "core/CWordType.h"

class RandomSource;

// The flip game without widgets: the group of words, the deal of the
// sixteen cards, the pairing and the outcome of each click.
//
// A deal of G words uses cards 0..2G-1. Card c of the second half (G..2G-1)
// carries the word GroupWords[c - G]; its tag is the index of its partner in
// the first half, whose own tags are -1. Of each pair, one card shows the
// spelling and the other the picture.
class FlipRules {
public:
    static constexpr int kCards = 16;
    static constexpr int kMaxGroup = 8;
    static constexpr int kMissesToLose = 3;

    enum class Click { Nothing, Selected, Matched, Missed, Lost };

    // The unit's first words (at most eight) in a random order, each
    // spelling once.
    void PickGroup(const std::vector<CWordType>& words, int wordCount, RandomSource& random);
    // Partners and which card of each pair shows the spelling; all cards of
    // the group face up again, no selection, no misses.
    void DealCards(RandomSource& random);
    Click CardClick(int i);
    bool AllPairsMatched() const;

    qint16 GroupSize() const { return static_cast<qint16>(GroupWords.size()); }
    // The word a dealt card belongs to, or an empty text for an unused card.
    QString CardWord(int i) const;
    bool ShowsText(int i) const { return showsText_[i]; }
    bool IsUsed(int i) const { return i >= 0 && i < 2 * GroupSize(); }
    bool IsHidden(int i) const { return hidden_[i]; }
    int Tag(int i) const { return tag_[i]; }
    // The card of a pair that carries the word (the one in the second half).
    int WordCard(int i, int j) const { return i >= GroupSize() ? i : j; }

    // Card i's place on a board of the given size: a 4 × 4 grid drawn
    // for 11280 × 7425 design units, stretched to the board.
    static QRect CardRect(int i, QSize board);

    std::vector<QString> GroupWords;
    qint16 SelectedCard = -1;
    qint16 MissCount = 0;

private:
    std::array<int, kCards> tag_{};
    std::array<bool, kCards> showsText_{};
    std::array<bool, kCards> hidden_{};
};
