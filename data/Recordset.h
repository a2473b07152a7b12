#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "data/SqlStatement.h"

struct sqlite3;
struct sqlite3_stmt;

// The recordset of the lesson database: opened on a query, it takes the rows
// (and, for "select * from <table>", their row ids) when it opens; an update
// writes the current row by its row id, a new row is inserted.
class Recordset {
public:
    bool Open(sqlite3* db, const SqlStatement& statement);
    void Close();
    bool IsOpen() const { return open_; }
    QString LastError() const { return error_; }

    int RecordCount() const { return static_cast<int>(rows_.size()); }
    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;

    QVariant Field(const QString& column) const;
    void SetField(const QString& column, const QVariant& value);
    void AddNew();
    bool Update();

private:
    int ColumnIndex(const QString& column) const;
    bool UpdateCurrentRow();
    bool InsertNewRow();
    sqlite3_stmt* Prepare(const QString& sql, const QVariantList& binds);
    bool Execute(const QString& sql, const QVariantList& binds);

    sqlite3* db_ = nullptr;
    bool open_ = false;
    QString error_;
    QString table_;  // empty when the rows cannot be written back
    QStringList columns_;
    std::vector<qint64> rowIds_;
    std::vector<std::vector<QVariant>> rows_;
    int current_ = 0;
    bool adding_ = false;
    std::vector<QVariant> newRow_;
    std::vector<bool> changed_;
};
