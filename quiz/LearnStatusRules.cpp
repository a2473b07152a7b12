#include "quiz/LearnStatusRules.h"

namespace LearnStatusRules {

Marks StatusMarks(qint16 unitStatus) {
    const QString done = QStringLiteral("完成");
    const QString notDone = QStringLiteral("未完成");
    switch (unitStatus) {
    case 0: return {notDone, notDone};
    case 1: return {done, notDone};
    case 2: return {notDone, done};
    case 3: return {done, done};
    default: return {QString(), QString()};
    }
}

QString UnitNumberText(int unitPosition) {
    return QStringLiteral("%1").arg(unitPosition + 1, 2, 10, QLatin1Char('0'));
}

}  // namespace LearnStatusRules
