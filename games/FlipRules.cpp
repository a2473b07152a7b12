#include "games/FlipRules.h"

#include <algorithm>
#include <cmath>

#include "core/RandomSource.h"

namespace {

// A draw repeated until it finds something new gives up after this many
// tries and takes the first candidate in order, so a poor random source
// cannot hang the game.
constexpr int kDrawTries = 64;

constexpr double kBoardWidth = 11280;
constexpr double kBoardHeight = 7425;
constexpr double kCardWidth = 2760;
constexpr double kCardHeight = 1785;
constexpr double kColumnLeft[] = {120, 2880, 5640, 8400};
constexpr double kRowTop[] = {120, 1920, 3720, 5520};

}  // namespace

void FlipRules::PickGroup(const std::vector<CWordType>& words, int wordCount, RandomSource& random) {
    const int first = std::clamp(std::min<int>(wordCount, static_cast<int>(words.size())), 0, kMaxGroup);
    std::vector<QString> spellings;
    for (int i = 0; i < first; ++i)
        if (std::find(spellings.begin(), spellings.end(), words[i].English) == spellings.end())
            spellings.push_back(words[i].English);

    GroupWords.clear();
    const auto chosen = [this](const QString& english) {
        return std::find(GroupWords.begin(), GroupWords.end(), english) != GroupWords.end();
    };
    while (GroupWords.size() < spellings.size()) {
        QString next;
        for (int attempt = 0; attempt < kDrawTries && next.isNull(); ++attempt) {
            const int r = random.Draw(first);
            if (r >= 0 && r < first && !chosen(words[r].English)) next = words[r].English;
        }
        if (next.isNull())
            next = *std::find_if(spellings.begin(), spellings.end(), [&](const QString& s) { return !chosen(s); });
        GroupWords.push_back(next);
    }
    SelectedCard = -1;
}

void FlipRules::DealCards(RandomSource& random) {
    const int g = GroupSize();
    tag_.fill(-1);
    showsText_.fill(false);
    hidden_.fill(false);
    for (int c = 2 * g; c < kCards; ++c) hidden_[c] = true;

    std::vector<bool> partnered(g, false);
    for (int c = g; c < 2 * g; ++c) {
        int k = -1;
        for (int attempt = 0; attempt < kDrawTries && k < 0; ++attempt) {
            const int r = random.Draw(g);
            if (r >= 0 && r < g && !partnered[r]) k = r;
        }
        if (k < 0) k = static_cast<int>(std::find(partnered.begin(), partnered.end(), false) - partnered.begin());
        partnered[k] = true;
        tag_[c] = k;
    }
    for (int c = g; c < 2 * g; ++c) {
        const bool wordOnPartner = random.Draw(2) == 0;
        showsText_[wordOnPartner ? tag_[c] : c] = true;
    }
    SelectedCard = -1;
    MissCount = 0;
}

QString FlipRules::CardWord(int i) const {
    if (!IsUsed(i)) return QString();
    const int g = GroupSize();
    if (i >= g) return GroupWords[i - g];
    for (int c = g; c < 2 * g; ++c)
        if (tag_[c] == i) return GroupWords[c - g];
    return QString();
}

FlipRules::Click FlipRules::CardClick(int i) {
    if (!IsUsed(i) || hidden_[i] || i == SelectedCard) return Click::Nothing;
    if (SelectedCard == -1) {
        SelectedCard = static_cast<qint16>(i);
        return Click::Selected;
    }
    const int first = SelectedCard;
    SelectedCard = -1;
    if (tag_[i] == first || tag_[first] == i) {
        hidden_[i] = true;
        hidden_[first] = true;
        return Click::Matched;
    }
    ++MissCount;
    return MissCount >= kMissesToLose ? Click::Lost : Click::Missed;
}

bool FlipRules::AllPairsMatched() const {
    for (int i = 0; i < GroupSize(); ++i)
        if (!hidden_[i]) return false;
    return true;
}

QRect FlipRules::CardRect(int i, QSize board) {
    const double sx = board.width() / kBoardWidth;
    const double sy = board.height() / kBoardHeight;
    const double left = kColumnLeft[i % 4] * sx;
    const double top = kRowTop[i / 4] * sy;
    return QRect(QPoint(std::lround(left), std::lround(top)),
                 QPoint(std::lround(left + kCardWidth * sx) - 1, std::lround(top + kCardHeight * sy) - 1));
}
