#include "data/Catalogue.h"

#include <algorithm>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "data/LessonDatabase.h"

Catalogue::Catalogue(LessonState& state, LessonDatabase& db, MessageService& messages)
    : state_(state), db_(db), messages_(messages) {}

bool Catalogue::LoadUnits(qint16 book) {
    const QString table = SqlName(state_.VersionDB + QStringLiteral("_BookUnit"));
    if (!db_.OpenRecordset({QStringLiteral("select DISTINCT UnitName,UnitID,UnitStatus from %1 "
                                           "where bookid = ? order by UnitID")
                                .arg(table),
                            {book}}))
        return false;
    Recordset& rs = db_.SharedRecordset;
    const int count = rs.RecordCount();
    if (!db_.CountFits(count)) {
        db_.CloseRecordset();
        return false;
    }
    state_.UnitCount = static_cast<qint16>(count);
    bool found = count > 0;
    if (found) {
        state_.BookUnits.assign(count, CBookUnit());
        rs.MoveFirst();
        for (int i = 0; i < count; ++i) {
            CBookUnit& unit = state_.BookUnits[i];
            unit.UnitName = rs.Field(QStringLiteral("UnitName")).toString().trimmed();
            unit.BookID = book;
            unit.UnitID = static_cast<qint16>(i);
            unit.UnitStatus = static_cast<qint16>(rs.Field(QStringLiteral("UnitStatus")).toInt());
            rs.MoveNext();
        }
        ApplyPendingMarks(book);
        state_.CurWordIndex = 0;
    }
    db_.CloseRecordset();
    if (!found) {
        db_.CloseBeforeMessage();
        messages_.Show(QStringLiteral("没有找到您要的单元，请下载最新的版本！"), state_.VersionName);
    }
    return found;
}

QString Catalogue::GetBookName(qint16 book) const {
    if (book < 0 || book >= state_.BookCount || book >= static_cast<int>(state_.BookNames.size()))
        return QString("");
    return state_.BookNames[book];
}

qint16 Catalogue::MergedStatus(qint16 current, qint16 bit) {
    if (current == 0) return bit;
    if (current > 2) return 3;
    if (current == bit) return current;
    return static_cast<qint16>(current + bit);
}

bool Catalogue::MergeUnitStatus(qint16 bit) {
    if (state_.CurUnit < 0 || state_.CurUnit >= static_cast<int>(state_.BookUnits.size())) return false;
    CBookUnit& unit = state_.BookUnits[state_.CurUnit];
    unit.UnitStatus = MergedStatus(unit.UnitStatus, bit);
    KeepPending(unit);
    return SavePendingMarks();
}

void Catalogue::KeepPending(const CBookUnit& unit) {
    for (CBookUnit& mark : pendingMarks_) {
        if (mark.BookID == unit.BookID && mark.UnitID == unit.UnitID) {
            mark.UnitStatus = unit.UnitStatus;
            return;
        }
    }
    pendingMarks_.push_back(unit);
}

// All waiting marks go in one save, so a failing database tells once.
bool Catalogue::SavePendingMarks() {
    if (pendingMarks_.empty()) return true;
    const bool saved = db_.InOneTransaction([this] {
        return std::ranges::all_of(pendingMarks_,
                                   [this](const CBookUnit& mark) { return mark.UpdateUnitStatus(db_, state_); });
    });
    if (saved) pendingMarks_.clear();
    return saved;
}

// A mark the file does not have yet still counts: its bits join the row's.
void Catalogue::ApplyPendingMarks(qint16 book) {
    for (const CBookUnit& mark : pendingMarks_) {
        if (mark.BookID != book || mark.UnitID < 0 || mark.UnitID >= state_.UnitCount) continue;
        qint16& status = state_.BookUnits[mark.UnitID].UnitStatus;
        for (qint16 bit : {qint16(1), qint16(2)})
            if (mark.UnitStatus & bit) status = MergedStatus(status, bit);
    }
}
