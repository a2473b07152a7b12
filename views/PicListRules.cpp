#include "views/PicListRules.h"

#include <algorithm>

void PicListRules::ComputeGroupCount(int wordCount) {
    const int left = wordCount - GroupStart;
    GroupCount = static_cast<qint16>(left < kGroupSize + 1 ? std::max(left, 0) : kGroupSize);
}

bool PicListRules::NextGroup(int wordCount) {
    if (wordCount <= GroupStart + GroupCount) return false;
    GroupStart = static_cast<qint16>(GroupStart + GroupCount);
    return true;
}

// Back always by a whole group, so that forward and back meet the same groups.
bool PicListRules::PrevGroup() {
    if (GroupStart < kGroupSize) return false;
    GroupStart = static_cast<qint16>(GroupStart - kGroupSize);
    return true;
}

QRect PicListRules::PictureTwips(int slot) {
    const int column = slot % 4;
    const int row = slot / 4;
    const QSize size = slot == 0 ? QSize(2500, 1750) : QSize(2505, 1755);
    return {240 + 2880 * column, row == 0 ? 120 : 3000, size.width(), size.height()};
}

QRect PicListRules::LabelTwips(int slot) {
    const int column = slot % 4;
    const int row = slot / 4;
    return {240 + 2880 * column, row == 0 ? 2040 : 4920, 2475, 615};
}
