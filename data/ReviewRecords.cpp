#include "data/ReviewRecords.h"

#include <QStringList>
#include <algorithm>

#include "core/LessonState.h"
#include "data/LessonDatabase.h"

QStringList ReviewRecords::CreateTablesSql() {
    return {QStringLiteral("create table if not exists %1 (English text primary key, Stability real not null,"
                           " Difficulty real not null, LastReview text not null, Due text not null,"
                           " Reps integer not null, Lapses integer not null)")
                .arg(kStateTable),
            QStringLiteral("create table if not exists %1 (English text not null, AnsweredAt text not null,"
                           " Grade integer not null, Source text not null)")
                .arg(kLogTable)};
}

ReviewRecords::ReviewRecords(LessonState& state, LessonDatabase& db) : state_(state), db_(db) {}

bool ReviewRecords::EnsureTables() {
    if (tablesReady_) return true;
    tablesReady_ = db_.InOneTransaction([this] {
        const QStringList statements = CreateTablesSql();
        return std::all_of(statements.begin(), statements.end(), [this](const QString& sql) {
            const bool made = db_.OpenRecordset({sql, {}});
            db_.CloseRecordset();
            return made;
        });
    });
    return tablesReady_;
}

bool ReviewRecords::LoadStates(std::vector<CReviewState>& states) {
    if (!EnsureTables() ||
        !db_.OpenRecordset({QStringLiteral("select English, Stability, Difficulty, LastReview, Due, Reps, Lapses"
                                           " from %1")
                                .arg(kStateTable),
                            {}}))
        return false;
    Recordset& rs = db_.SharedRecordset;
    states.clear();
    states.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        CReviewState s;
        s.English = rs.Field(QStringLiteral("English")).toString();
        s.Stability = rs.Field(QStringLiteral("Stability")).toDouble();
        s.Difficulty = rs.Field(QStringLiteral("Difficulty")).toDouble();
        s.LastReview = QDate::fromString(rs.Field(QStringLiteral("LastReview")).toString(), kDateFormat);
        s.Due = QDate::fromString(rs.Field(QStringLiteral("Due")).toString(), kDateFormat);
        s.Reps = rs.Field(QStringLiteral("Reps")).toInt();
        s.Lapses = rs.Field(QStringLiteral("Lapses")).toInt();
        // A row another tool damaged is left alone rather than scheduled wrongly.
        if (s.Stability > 0 && s.LastReview.isValid() && s.Due.isValid()) states.push_back(s);
    }
    db_.CloseRecordset();
    return true;
}

bool ReviewRecords::LoadTextbook(std::vector<TextbookWord>& words) {
    if (!db_.OpenRecordset({QStringLiteral("select Book, Unit, English, Chinese from %1 order by Book, Unit, rowid")
                                .arg(SqlName(state_.VersionDB)),
                            {}}))
        return false;
    Recordset& rs = db_.SharedRecordset;
    words.clear();
    words.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        words.push_back({static_cast<qint16>(rs.Field(QStringLiteral("Book")).toInt()),
                         static_cast<qint16>(rs.Field(QStringLiteral("Unit")).toInt()),
                         rs.Field(QStringLiteral("English")).toString().trimmed(),
                         rs.Field(QStringLiteral("Chinese")).toString().trimmed()});
    db_.CloseRecordset();
    return true;
}

bool ReviewRecords::SaveAnswers(const std::vector<CReviewState>& states, const std::vector<Answer>& answers) {
    if (!EnsureTables()) return false;
    const auto run = [this](const QString& sql, const QVariantList& binds) {
        const bool done = db_.OpenRecordset({sql, binds});
        db_.CloseRecordset();
        return done;
    };
    const QString upsert = QStringLiteral(
        "insert into %1 (English, Stability, Difficulty, LastReview, Due, Reps, Lapses) values (?, ?, ?, ?, ?, ?, ?)"
        " on conflict(English) do update set Stability = excluded.Stability, Difficulty = excluded.Difficulty,"
        " LastReview = excluded.LastReview, Due = excluded.Due, Reps = excluded.Reps, Lapses = excluded.Lapses")
                               .arg(kStateTable);
    const QString append = QStringLiteral("insert into %1 (English, AnsweredAt, Grade, Source) values (?, ?, ?, ?)")
                               .arg(kLogTable);
    return db_.InOneTransaction([&] {
        return std::all_of(states.begin(), states.end(),
                           [&](const CReviewState& s) {
                               return run(upsert, {s.English, s.Stability, s.Difficulty,
                                                   s.LastReview.toString(kDateFormat), s.Due.toString(kDateFormat),
                                                   s.Reps, s.Lapses});
                           }) &&
               std::all_of(answers.begin(), answers.end(), [&](const Answer& a) {
                   return run(append, {a.English, a.AnsweredAt.toString(kTimeFormat), a.Grade, a.Source});
               });
    });
}
