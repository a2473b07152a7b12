#pragma once

#include <QString>

#include "data/Recordset.h"
#include "data/SqlStatement.h"

struct LessonState;
struct sqlite3;
class MessageService;

// The lesson database file and the one shared recordset through which every
// query runs. Each query opens the file, works and closes it; at rest the
// file is scrambled.
class LessonDatabase {
public:
    static inline const QString kFileName = QStringLiteral("orvanel.pet");

    LessonDatabase(LessonState& state, MessageService& messages);
    ~LessonDatabase();
    LessonDatabase(const LessonDatabase&) = delete;
    LessonDatabase& operator=(const LessonDatabase&) = delete;

    void BuildConnString(const QString& appPicsDir);
    QString DbFilePath() const { return dbFilePath_; }
    QString ConnString() const { return connString_; }

    // The query being run; every query is composed here before it is opened.
    SqlStatement SqlText;
    Recordset SharedRecordset;

    bool OpenRecordset(const SqlStatement& query);
    void CloseRecordset();

    // Runs several queries within one open of the file and one transaction.
    template <typename Work>
    bool InOneTransaction(Work&& work) {
        if (!BeginBatch()) return false;
        work();
        EndBatch();
        return true;
    }

    bool LoadSettings();
    void SavePosition();

    // A new, plain database with the tables of the lesson database (content
    // builder and tests).
    static bool CreateEmptyDatabase(const QString& path, const QString& versionDB, QString* error);

private:
    bool Connect();
    bool TryConnect();
    void Disconnect();
    bool BeginBatch();
    void EndBatch();
    void ReportFailure(const QString& text);

    LessonState& state_;
    MessageService& messages_;
    QString dbFilePath_;
    QString connString_;
    sqlite3* db_ = nullptr;
    bool inBatch_ = false;
};
