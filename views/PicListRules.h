#pragma once

#include <QRect>
#include <QtGlobal>

// Paging through a unit's pictures in groups of eight, and where the eight
// slots and the buttons lie (in twips of the original layout).
class PicListRules {
public:
    static constexpr int kGroupSize = 8;
    static constexpr int kSlots = 8;

    // The word count of the group that begins at GroupStart.
    void ComputeGroupCount(int wordCount);
    bool NextGroupEnabled(int wordCount) const { return wordCount > GroupStart + GroupCount; }
    bool PrevGroupEnabled() const { return GroupStart >= 1; }
    // False when there is no group in that direction; nothing changes then.
    bool NextGroup(int wordCount);
    bool PrevGroup();

    static QRect PictureTwips(int slot);
    static QRect LabelTwips(int slot);
    static QRect PrevButtonTwips() { return {480, 7440, 1455, 495}; }
    static QRect NextButtonTwips() { return {2400, 7440, 1575, 495}; }
    static QRect ReturnButtonTwips() { return {9960, 7440, 1815, 495}; }
    // The whole layout with its margins.
    static QSize LayoutTwips() { return {12015, 8055}; }

    qint16 GroupStart = 0;
    qint16 GroupCount = 0;
};
