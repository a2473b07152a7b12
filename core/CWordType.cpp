#include "core/CWordType.h"

#include <QStringList>
#include <limits>

namespace {

constexpr int kCounterLimit = std::numeric_limits<qint16>::max();

qint16 ParseCounter(const QStringList& parts, int index) {
    if (index >= parts.size()) return 0;
    bool ok = false;
    const long long value = parts[index].trimmed().toLongLong(&ok);
    if (!ok || value < 0) return 0;
    return static_cast<qint16>(qMin<long long>(value, kCounterLimit));
}

void Increment(qint16& counter) {
    if (counter < kCounterLimit) ++counter;
}

}  // namespace

// A damaged text reads its missing or non-numeric parts as 0.
void CWordType::GetWordResult() {
    const QStringList parts = Result.split(QLatin1Char('|'));
    testNum = ParseCounter(parts, 0);
    errNum = ParseCounter(parts, 1);
    rightNum = ParseCounter(parts, 2);
}

void CWordType::SetWordResultString() {
    Result = QStringLiteral("%1|%2|%3").arg(testNum).arg(errNum).arg(rightNum);
}

void CWordType::SetComposition() {
    for (const QChar c : English) {
        const QChar upper = c.toUpper();
        if (upper < QLatin1Char('A') || upper > QLatin1Char('Z')) {
            Composition = 1;
            return;
        }
    }
}

void CWordType::CountAnswer(bool right) {
    Increment(testNum);
    if (right) {
        Increment(rightNum);
        Tested = true;
    } else {
        Increment(errNum);
        rightNum = 0;
    }
}
