#include "data/CWordType.h"

#include <QStringList>
#include <limits>

#include "data/LessonDatabase.h"

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

// Rows are matched on the trimmed spelling, as the words were loaded, so a
// spelling stored with blanks around it still gets its result.
bool CWordType::UpdateUserInfo(LessonDatabase& db, const QString& versionDB) {
    return db.InOneTransaction([&] {
        if (!db.OpenRecordset({QStringLiteral("select * from %1 where trim(English) = ?").arg(SqlName(versionDB)),
                               {English}}))
            return false;
        SetWordResultString();
        Recordset& rs = db.SharedRecordset;
        bool written = true;
        rs.MoveFirst();
        for (int n = rs.RecordCount(); n > 0 && written; --n) {
            rs.SetField(QStringLiteral("Result"), Result);
            written = rs.Update();
            rs.MoveNext();
        }
        db.CloseRecordset();
        return written;
    });
}

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
