#include "quiz/TestHistory.h"

#include <algorithm>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "data/LessonDatabase.h"

TestHistory::TestHistory(const LessonState& state, LessonDatabase& db, MessageService& messages)
    : state_(state), db_(db), messages_(messages) {}

qint16 TestHistory::LoadHistory() {
    if (!db_.OpenRecordset({QStringLiteral("select * from History where userID = ? order by NO DESC"), {0}})) return 0;
    Recordset& rs = db_.SharedRecordset;
    const int count = std::min(rs.RecordCount(), kMaxRecords);
    if (count > 0) {
        HistoryList.assign(count, CHisType());
        rs.MoveFirst();
        for (CHisType& record : HistoryList) {
            // NULL reads as 0 or as empty text.
            record.userID = static_cast<qint16>(rs.Field(QStringLiteral("userID")).toInt());
            record.myDate = rs.Field(QStringLiteral("Date")).toString();
            record.myTime = rs.Field(QStringLiteral("Time")).toString();
            record.myTask = rs.Field(QStringLiteral("Task")).toString();
            rs.MoveNext();
        }
    }
    db_.CloseRecordset();
    if (count == 0) messages_.Show(QStringLiteral("没有练习记录！"), state_.VersionName);
    return static_cast<qint16>(count);
}
