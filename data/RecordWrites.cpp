// The records' own writes: the kernel declares them with the records, the
// database they write to lives here.
#include "core/CBookUnit.h"
#include "core/CWordType.h"
#include "core/LessonState.h"
#include "data/LessonDatabase.h"

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

bool CBookUnit::UpdateUnitStatus(LessonDatabase& db, const LessonState& state) const {
    const QString table = SqlName(state.VersionDB + QStringLiteral("_BookUnit"));
    return db.InOneTransaction([&] {
        if (!db.OpenRecordset({QStringLiteral("select * from %1 where BookID = ? and UnitID = ?").arg(table),
                               {BookID, UnitID}}))
            return false;
        Recordset& rs = db.SharedRecordset;
        bool written;
        if (rs.RecordCount() == 1) {
            rs.MoveFirst();
            rs.SetField(QStringLiteral("UnitStatus"), UnitStatus);
            written = rs.Update();
        } else {
            written = AddUnitRow(db, state);
        }
        db.CloseRecordset();
        return written;
    });
}

// Only a damaged table lacks the row (or has it twice); the new row starts
// with nothing completed. Its names are filled because the columns hold no NULL.
bool CBookUnit::AddUnitRow(LessonDatabase& db, const LessonState& state) const {
    Recordset& rs = db.SharedRecordset;
    rs.AddNew();
    rs.SetField(QStringLiteral("VersionID"), state.CurVersionID);
    rs.SetField(QStringLiteral("BookID"), BookID);
    const bool known = BookID >= 0 && BookID < static_cast<int>(state.BookNames.size());
    rs.SetField(QStringLiteral("BookName"), known ? state.BookNames[BookID] : QString(""));
    rs.SetField(QStringLiteral("UnitID"), UnitID);
    rs.SetField(QStringLiteral("UnitName"), UnitName);
    rs.SetField(QStringLiteral("UnitStatus"), 0);
    return rs.Update();
}
