#include "data/CBookUnit.h"

#include "app/LessonState.h"
#include "data/LessonDatabase.h"

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
