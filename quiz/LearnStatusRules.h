#pragma once

#include <QString>
#include <QtGlobal>

// How a unit's completion bits read in the learning status.
namespace LearnStatusRules {

struct Marks {
    QString spelling;  // the letter game
    QString test;      // the recognition test
};

Marks StatusMarks(qint16 unitStatus);
// The unit's position + 1, with at least two digits.
QString UnitNumberText(int unitPosition);

}  // namespace LearnStatusRules
