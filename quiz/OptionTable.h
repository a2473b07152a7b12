#pragma once

#include <QtGlobal>
#include <array>

class RandomSource;

// The four answer options of a question: word indices, -1 for a slot left
// empty. The test word sits in a random slot, the others hold distinct
// other words of the unit. A unit of fewer than four words fills only as
// many slots as it has words.
class OptionTable {
public:
    static constexpr int kSlots = 4;

    void BuildOptionTable(qint16 testWord, int poolSize, RandomSource& random);

    qint16 Slot(int i) const { return slots_[i]; }
    bool HoldsTestWord(int i) const { return i >= 0 && i < kSlots && slots_[i] == testWord_ && testWord_ >= 0; }
    int UsedSlots() const;

private:
    qint16 DrawOtherWord(int slot, int poolSize, RandomSource& random) const;

    std::array<qint16, kSlots> slots_{-1, -1, -1, -1};
    qint16 testWord_ = -1;
};
