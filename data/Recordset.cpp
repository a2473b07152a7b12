#include "data/Recordset.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// "select * from <table> ..." is the only form whose rows can be written back.
QString UpdatableTable(const QString& sql) {
    static const QRegularExpression form(
        QStringLiteral(R"re(^\s*select\s+\*\s+from\s+(?:"((?:[^"]|"")+)"|([A-Za-z_][A-Za-z0-9_]*)\b))re"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = form.match(sql);
    if (!match.hasMatch()) return QString();
    if (match.capturedLength(1) > 0) return match.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return match.captured(2);
}

void Bind(sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    }
}

QVariant ReadColumn(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL: return QVariant();
    case SQLITE_INTEGER: return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt, column));
    default:
        return QVariant(QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
            sqlite3_column_bytes(stmt, column)));
    }
}

}  // namespace

bool Recordset::Open(sqlite3* db, const SqlStatement& statement) {
    Close();
    db_ = db;
    table_ = UpdatableTable(statement.text);
    QString sql = statement.text;
    if (!table_.isEmpty()) {
        static const QRegularExpression star(QStringLiteral(R"(^\s*select\s+\*)"),
                                             QRegularExpression::CaseInsensitiveOption);
        sql.replace(star, QStringLiteral("select rowid, *"));
    }
    sqlite3_stmt* stmt = Prepare(sql, statement.binds);
    if (!stmt) return false;

    const int first = table_.isEmpty() ? 0 : 1;
    const int count = sqlite3_column_count(stmt);
    for (int c = first; c < count; ++c) columns_ << QString::fromUtf8(sqlite3_column_name(stmt, c));
    changed_.assign(columns_.size(), false);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (first) rowIds_.push_back(sqlite3_column_int64(stmt, 0));
        std::vector<QVariant> row;
        row.reserve(count - first);
        for (int c = first; c < count; ++c) row.push_back(ReadColumn(stmt, c));
        rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) error_ = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        Close();
        return false;
    }
    open_ = true;
    return true;
}

void Recordset::Close() {
    open_ = false;
    db_ = nullptr;
    table_.clear();
    columns_.clear();
    rowIds_.clear();
    rows_.clear();
    current_ = 0;
    adding_ = false;
    newRow_.clear();
    changed_.clear();
}

void Recordset::MoveFirst() {
    current_ = 0;
}

void Recordset::MoveNext() {
    if (current_ < RecordCount()) ++current_;
}

bool Recordset::IsEOF() const {
    return current_ >= RecordCount();
}

int Recordset::ColumnIndex(const QString& column) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Recordset::Field(const QString& column) const {
    const int c = ColumnIndex(column);
    if (c < 0) return QVariant();
    if (adding_) return newRow_[c];
    if (IsEOF()) return QVariant();
    return rows_[current_][c];
}

void Recordset::SetField(const QString& column, const QVariant& value) {
    const int c = ColumnIndex(column);
    if (c < 0) return;
    if (adding_) {
        newRow_[c] = value;
    } else {
        if (IsEOF()) return;
        rows_[current_][c] = value;
    }
    changed_[c] = true;
}

void Recordset::AddNew() {
    adding_ = true;
    newRow_.assign(columns_.size(), QVariant());
    changed_.assign(columns_.size(), false);
}

bool Recordset::Update() {
    if (!open_ || table_.isEmpty()) {
        error_ = QStringLiteral("recordset is not updatable");
        return false;
    }
    const bool ok = adding_ ? InsertNewRow() : UpdateCurrentRow();
    changed_.assign(columns_.size(), false);
    return ok;
}

bool Recordset::UpdateCurrentRow() {
    if (IsEOF()) return false;
    QStringList sets;
    QVariantList binds;
    for (int c = 0; c < columns_.size(); ++c) {
        if (c >= static_cast<int>(changed_.size()) || !changed_[c]) continue;
        sets << SqlName(columns_[c]) + QStringLiteral(" = ?");
        binds << rows_[current_][c];
    }
    if (sets.isEmpty()) return true;
    binds << QVariant(static_cast<qlonglong>(rowIds_[current_]));
    return Execute(QStringLiteral("update %1 set %2 where rowid = ?")
                       .arg(SqlName(table_), sets.join(QStringLiteral(", "))),
                   binds);
}

bool Recordset::InsertNewRow() {
    QStringList names, marks;
    QVariantList binds;
    for (int c = 0; c < columns_.size(); ++c) {
        if (!changed_[c]) continue;
        names << SqlName(columns_[c]);
        marks << QStringLiteral("?");
        binds << newRow_[c];
    }
    adding_ = false;
    const QString sql = names.isEmpty()
        ? QStringLiteral("insert into %1 default values").arg(SqlName(table_))
        : QStringLiteral("insert into %1 (%2) values (%3)")
              .arg(SqlName(table_), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (!Execute(sql, binds)) return false;
    rowIds_.push_back(sqlite3_last_insert_rowid(db_));
    rows_.push_back(newRow_);
    current_ = RecordCount() - 1;
    return true;
}

sqlite3_stmt* Recordset::Prepare(const QString& sql, const QVariantList& binds) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        error_ = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        return nullptr;
    }
    for (int i = 0; i < binds.size(); ++i) Bind(stmt, i + 1, binds[i]);
    return stmt;
}

bool Recordset::Execute(const QString& sql, const QVariantList& binds) {
    sqlite3_stmt* stmt = Prepare(sql, binds);
    if (!stmt) return false;
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) error_ = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}
