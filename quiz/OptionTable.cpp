#include "quiz/OptionTable.h"

#include <algorithm>

#include "core/RandomSource.h"

namespace {

// Far more draws than a fair generator ever needs; past them the first
// fitting word is taken, so that no run of draws can hang the question.
constexpr int kMaxDraws = 200;

}  // namespace

void OptionTable::BuildOptionTable(qint16 testWord, int poolSize, RandomSource& random) {
    slots_.fill(-1);
    testWord_ = testWord;
    if (testWord < 0 || testWord >= poolSize) return;
    const int used = std::min(kSlots, poolSize);
    const int answerSlot = std::clamp(random.Draw(used), 0, used - 1);
    slots_[answerSlot] = testWord;
    for (int slot = 0; slot < used; ++slot)
        if (slot != answerSlot) slots_[slot] = DrawOtherWord(slot, poolSize, random);
}

qint16 OptionTable::DrawOtherWord(int slot, int poolSize, RandomSource& random) const {
    const auto fits = [&](int r) {
        if (r < 0 || r >= poolSize || r == testWord_) return false;
        return std::find(slots_.begin(), slots_.begin() + slot, r) == slots_.begin() + slot;
    };
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        const int r = random.Draw(poolSize);
        if (fits(r)) return static_cast<qint16>(r);
    }
    for (int r = 0; r < poolSize; ++r)
        if (fits(r)) return static_cast<qint16>(r);
    return -1;
}

int OptionTable::UsedSlots() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](qint16 s) { return s >= 0; }));
}
