#include "views/BookWords.h"

#include "core/LessonState.h"
#include "data/LessonDatabase.h"

QStringList BookWords::Load(LessonDatabase& db, const LessonState& state) {
    QStringList words;
    if (!db.OpenRecordset({QStringLiteral("select English from %1 where Book = ?").arg(SqlName(state.VersionDB)),
                           {state.CurBook}}))
        return words;
    Recordset& rs = db.SharedRecordset;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) words << rs.Field(QStringLiteral("English")).toString().trimmed();
    db.CloseRecordset();
    return words;
}
