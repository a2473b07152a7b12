#include "data/CBookUnit.h"

#include "app/LessonState.h"
#include "data/LessonDatabase.h"

void CBookUnit::UpdateUnitStatus(LessonDatabase& db, const LessonState& state) const {
    const QString table = SqlName(state.VersionDB + QStringLiteral("_BookUnit"));
    if (!db.OpenRecordset({QStringLiteral("select * from %1 where BookID = ? and UnitID = ?").arg(table),
                           {BookID, UnitID}}))
        return;
    Recordset& rs = db.SharedRecordset;
    if (rs.RecordCount() == 1) {
        rs.MoveFirst();
        rs.SetField(QStringLiteral("UnitStatus"), UnitStatus);
        rs.Update();
    } else {
        AddUnitRow(db, state);
    }
    db.CloseRecordset();
}

// Only a damaged table lacks the row (or has it twice); the new row starts
// with nothing completed. Its names are filled because the columns hold no NULL.
void CBookUnit::AddUnitRow(LessonDatabase& db, const LessonState& state) const {
    Recordset& rs = db.SharedRecordset;
    rs.AddNew();
    rs.SetField(QStringLiteral("VersionID"), state.CurVersionID);
    rs.SetField(QStringLiteral("BookID"), BookID);
    const bool known = BookID >= 0 && BookID < static_cast<int>(state.BookNames.size());
    rs.SetField(QStringLiteral("BookName"), known ? state.BookNames[BookID] : QString(""));
    rs.SetField(QStringLiteral("UnitID"), UnitID);
    rs.SetField(QStringLiteral("UnitName"), UnitName);
    rs.SetField(QStringLiteral("UnitStatus"), 0);
    rs.Update();
}
