#include "tools/PupilProgress.h"

#include <QStringList>
#include <set>
#include <sqlite3.h>
#include <vector>

#include "data/ReviewRecords.h"
#include "data/SqlStatement.h"

namespace {

class Statement {
public:
    Statement(sqlite3* db, const QString& sql) {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Prepared() const { return stmt_ != nullptr; }

    void Bind(int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    void Bind(int index, qint64 value) { sqlite3_bind_int64(stmt_, index, value); }
    void BindReal(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

    // True while there is a row; Finished() tells whether the rows ended well.
    bool Next() {
        rc_ = stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE;
        return rc_ == SQLITE_ROW;
    }
    bool Finished() const { return rc_ == SQLITE_DONE; }

    // Runs a statement that returns no rows; it can then run again.
    bool Run() {
        Next();
        sqlite3_reset(stmt_);
        return Finished();
    }

    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    QString Text(int column) const {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)));
    }
    qint64 Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    double Real(int column) const { return sqlite3_column_double(stmt_, column); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
};

bool Fail(sqlite3* db, QString* error, const QString& what) {
    if (error) *error = what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db));
    return false;
}

bool Exec(sqlite3* db, const QString& sql) {
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool HasTable(sqlite3* db, const QString& name) {
    Statement query(db, QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"));
    query.Bind(1, name);
    return query.Next();
}

// The word table of the version the settings row names.
bool ReadVersionDB(sqlite3* db, QString* versionDB, QString* error) {
    Statement query(db, QStringLiteral("select VersionDB from VersionInfo where ID = "
                                       "(select VersionID from FeatureTable limit 1)"));
    if (!query.Next() || query.IsNull(0)) return Fail(db, error, QStringLiteral("no textbook version"));
    *versionDB = query.Text(0);
    return true;
}

int Answers(const QString& result) {
    return result.section(QLatin1Char('|'), 0, 0).toInt();
}

struct ListEntry {
    QString name;
    qint64 id;
};

// A list as the program numbers it: the position in the ordered list is the number.
bool ReadList(sqlite3* db, const QString& sql, qint64 bind, std::vector<ListEntry>* list) {
    Statement query(db, sql);
    if (!query.Prepared()) return false;
    if (bind >= 0) query.Bind(1, bind);
    while (query.Next()) list->push_back({query.Text(0).trimmed(), query.Int(1)});
    return query.Finished();
}

QString BooksSql(const QString& units) {
    return QStringLiteral("select distinct BookName, BookID from %1 order by BookID").arg(units);
}

QString UnitsSql(const QString& units) {
    return QStringLiteral("select distinct UnitName, UnitID, UnitStatus from %1 where BookID = ? order by UnitID")
        .arg(units);
}

}  // namespace

void PupilProgress::AddResult(const QString& english, const QString& result) {
    results_[english] = result;
}

void PupilProgress::AddUnitStatus(const UnitKey& unit, int status) {
    if (status != 0) unitStatus_[unit] |= status;
}

bool PupilProgress::ReadFrom(sqlite3* db, QString* error) {
    QString versionDB;
    if (!ReadVersionDB(db, &versionDB, error)) return false;
    const QString words = SqlName(versionDB);
    const QString units = SqlName(versionDB + QStringLiteral("_BookUnit"));

    // What was kept aside first: the textbook's own rows are newer.
    if (HasTable(db, kKeptResults)) {
        Statement kept(db, QStringLiteral("select English, Result from %1").arg(kKeptResults));
        while (kept.Next()) AddResult(kept.Text(0), kept.Text(1));
        if (!kept.Finished()) return Fail(db, error, QStringLiteral("cannot read the results kept aside"));
    }
    if (HasTable(db, kKeptUnitStatus)) {
        Statement kept(db, QStringLiteral("select BookName, UnitName, UnitStatus from %1").arg(kKeptUnitStatus));
        while (kept.Next()) AddUnitStatus({kept.Text(0), kept.Text(1)}, static_cast<int>(kept.Int(2)));
        if (!kept.Finished()) return Fail(db, error, QStringLiteral("cannot read the unit marks kept aside"));
    }

    // Rows of one spelling normally share one result; should they differ,
    // the one with the most answers stands.
    std::map<QString, QString> live;
    Statement rows(db, QStringLiteral("select English, Result from %1 where Result is not null").arg(words));
    while (rows.Next()) {
        const QString english = rows.Text(0).trimmed();
        const QString result = rows.Text(1);
        const auto found = live.find(english);
        if (found == live.end() || Answers(result) > Answers(found->second)) live[english] = result;
    }
    if (!rows.Finished()) return Fail(db, error, QStringLiteral("cannot read the word results"));
    for (const auto& [english, result] : live) AddResult(english, result);

    // Unit marks only grow, so marks found twice are merged.
    Statement marks(db, QStringLiteral("select BookName, UnitName, UnitStatus from %1 where UnitStatus is not null")
                            .arg(units));
    while (marks.Next())
        AddUnitStatus({marks.Text(0).trimmed(), marks.Text(1).trimmed()}, static_cast<int>(marks.Int(2)));
    if (!marks.Finished()) return Fail(db, error, QStringLiteral("cannot read the unit marks"));

    if (!ReadReview(db, error)) return false;

    Statement settings(db, QStringLiteral("select LastBook, LastUnit from FeatureTable limit 1"));
    if (!settings.Next()) return Fail(db, error, QStringLiteral("cannot read the position"));
    const qint64 book = settings.Int(0);
    const qint64 unit = settings.Int(1);
    std::vector<ListEntry> books;
    std::vector<ListEntry> bookUnits;
    if (!ReadList(db, BooksSql(units), -1, &books)) return Fail(db, error, QStringLiteral("cannot read the books"));
    if (book >= 0 && book < static_cast<qint64>(books.size())) {
        if (!ReadList(db, UnitsSql(units), book, &bookUnits))
            return Fail(db, error, QStringLiteral("cannot read the units"));
        if (unit >= 0 && unit < static_cast<qint64>(bookUnits.size()))
            position_ = {books[book].name, bookUnits[unit].name};
    }
    return true;
}

bool PupilProgress::WriteInto(sqlite3* db, QString* error) {
    written_ = Counts();
    QString versionDB;
    if (!ReadVersionDB(db, &versionDB, error)) return false;
    const QString words = SqlName(versionDB);
    const QString units = SqlName(versionDB + QStringLiteral("_BookUnit"));

    std::set<QString> placed;
    std::set<QString> spellings;
    {
        Statement rows(db, QStringLiteral("select rowid, English from %1").arg(words));
        Statement update(db, QStringLiteral("update %1 set Result = ? where rowid = ?").arg(words));
        while (rows.Next()) {
            const QString english = rows.Text(1).trimmed();
            spellings.insert(english);
            const auto found = results_.find(english);
            if (found == results_.end()) continue;
            update.Bind(1, found->second);
            update.Bind(2, rows.Int(0));
            if (!update.Run()) return Fail(db, error, QStringLiteral("cannot write the result of \"%1\"").arg(english));
            placed.insert(english);
        }
        if (!rows.Finished()) return Fail(db, error, QStringLiteral("cannot read the new words"));
    }
    written_.results = static_cast<int>(placed.size());

    std::set<UnitKey> marked;
    {
        Statement rows(db, QStringLiteral("select rowid, BookName, UnitName from %1").arg(units));
        Statement update(db, QStringLiteral("update %1 set UnitStatus = ? where rowid = ?").arg(units));
        while (rows.Next()) {
            const UnitKey unit{rows.Text(1).trimmed(), rows.Text(2).trimmed()};
            const auto found = unitStatus_.find(unit);
            if (found == unitStatus_.end()) continue;
            update.Bind(1, found->second);
            update.Bind(2, rows.Int(0));
            if (!update.Run()) return Fail(db, error, QStringLiteral("cannot write a unit's marks"));
            marked.insert(unit);
        }
        if (!rows.Finished()) return Fail(db, error, QStringLiteral("cannot read the new units"));
    }
    written_.units = static_cast<int>(marked.size());

    if (!Exec(db, QStringLiteral("drop table if exists %1; drop table if exists %2;"
                                 "create table %1 (English text not null, Result text not null);"
                                 "create table %2 (BookName text not null, UnitName text not null,"
                                 " UnitStatus integer not null)")
                      .arg(kKeptResults, kKeptUnitStatus)))
        return Fail(db, error, QStringLiteral("cannot make the tables for what is kept aside"));
    {
        Statement keep(db, QStringLiteral("insert into %1 values (?, ?)").arg(kKeptResults));
        for (const auto& [english, result] : results_) {
            if (placed.count(english)) continue;
            keep.Bind(1, english);
            keep.Bind(2, result);
            if (!keep.Run()) return Fail(db, error, QStringLiteral("cannot keep the result of \"%1\"").arg(english));
            ++written_.keptResults;
        }
        Statement keepUnit(db, QStringLiteral("insert into %1 values (?, ?, ?)").arg(kKeptUnitStatus));
        for (const auto& [unit, status] : unitStatus_) {
            if (marked.count(unit)) continue;
            keepUnit.Bind(1, unit.first);
            keepUnit.Bind(2, unit.second);
            keepUnit.Bind(3, status);
            if (!keepUnit.Run()) return Fail(db, error, QStringLiteral("cannot keep a unit's marks"));
            ++written_.keptUnits;
        }
    }

    if (!WriteReview(db, spellings, error)) return false;

    // The position by book and unit name: the unit's book at its first unit
    // when the unit is gone, the first book when the book is gone too.
    qint64 book = 0;
    qint64 unit = 0;
    std::vector<ListEntry> books;
    if (!ReadList(db, BooksSql(units), -1, &books)) return Fail(db, error, QStringLiteral("cannot read the books"));
    for (size_t b = 0; b < books.size(); ++b) {
        if (position_.first.isEmpty() || books[b].name != position_.first) continue;
        book = static_cast<qint64>(b);
        std::vector<ListEntry> bookUnits;
        if (!ReadList(db, UnitsSql(units), book, &bookUnits))
            return Fail(db, error, QStringLiteral("cannot read the units"));
        for (size_t u = 0; u < bookUnits.size(); ++u)
            if (bookUnits[u].name == position_.second) {
                unit = static_cast<qint64>(u);
                written_.positionFound = true;
                break;
            }
        break;
    }
    Statement position(db, QStringLiteral("update FeatureTable set LastBook = ?, LastUnit = ? "
                                          "where rowid = (select rowid from FeatureTable limit 1)"));
    position.Bind(1, book);
    position.Bind(2, unit);
    if (!position.Run()) return Fail(db, error, QStringLiteral("cannot write the position"));
    return true;
}

bool PupilProgress::ReadReview(sqlite3* db, QString* error) {
    if (HasTable(db, ReviewRecords::kStateTable)) {
        Statement rows(db, QStringLiteral("select English, Stability, Difficulty, LastReview, Due, Reps, Lapses from %1")
                               .arg(ReviewRecords::kStateTable));
        while (rows.Next())
            reviewStates_.push_back(
                {rows.Text(0), rows.Real(1), rows.Real(2), rows.Text(3), rows.Text(4), rows.Int(5), rows.Int(6)});
        if (!rows.Finished()) return Fail(db, error, QStringLiteral("cannot read the review states"));
    }
    if (HasTable(db, ReviewRecords::kLogTable)) {
        Statement rows(db, QStringLiteral("select English, AnsweredAt, Grade, Source from %1 order by rowid")
                               .arg(ReviewRecords::kLogTable));
        while (rows.Next()) answers_.push_back({rows.Text(0), rows.Text(1), rows.Int(2), rows.Text(3)});
        if (!rows.Finished()) return Fail(db, error, QStringLiteral("cannot read the answer log"));
    }
    return true;
}

bool PupilProgress::WriteReview(sqlite3* db, const std::set<QString>& spellings, QString* error) {
    for (const QString& sql : ReviewRecords::CreateTablesSql())
        if (!Exec(db, sql)) return Fail(db, error, QStringLiteral("cannot make the review tables"));
    Statement state(db, QStringLiteral("insert or replace into %1 (English, Stability, Difficulty, LastReview, Due,"
                                       " Reps, Lapses) values (?, ?, ?, ?, ?, ?, ?)")
                            .arg(ReviewRecords::kStateTable));
    for (const StateRow& row : reviewStates_) {
        state.Bind(1, row.english);
        state.BindReal(2, row.stability);
        state.BindReal(3, row.difficulty);
        state.Bind(4, row.lastReview);
        state.Bind(5, row.due);
        state.Bind(6, row.reps);
        state.Bind(7, row.lapses);
        if (!state.Run()) return Fail(db, error, QStringLiteral("cannot write the review state of \"%1\"").arg(row.english));
        ++(spellings.count(row.english) ? written_.reviewStates : written_.keptReviewStates);
    }
    Statement answer(db, QStringLiteral("insert into %1 (English, AnsweredAt, Grade, Source) values (?, ?, ?, ?)")
                             .arg(ReviewRecords::kLogTable));
    for (const AnswerRow& row : answers_) {
        answer.Bind(1, row.english);
        answer.Bind(2, row.answeredAt);
        answer.Bind(3, row.grade);
        answer.Bind(4, row.source);
        if (!answer.Run()) return Fail(db, error, QStringLiteral("cannot write the answer log"));
        ++written_.answers;
    }
    return true;
}
