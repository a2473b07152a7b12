#pragma once

#include <QString>
#include <QtGlobal>

#include "core/MessageService.h"
#include "data/Recordset.h"
#include "data/SqlStatement.h"

struct LessonState;
struct sqlite3;

// The lesson database file and the one shared recordset through which every
// query runs. Each query opens the file, works and closes it; at rest the
// file is scrambled. A file that cannot be written is read into memory once
// and left untouched; the pupil is told that results will not be kept.
class LessonDatabase {
public:
    static inline const QString kFileName = QStringLiteral("orvanel.pet");

    LessonDatabase(LessonState& state, MessageService& messages);
    ~LessonDatabase();
    LessonDatabase(const LessonDatabase&) = delete;
    LessonDatabase& operator=(const LessonDatabase&) = delete;

    void BuildConnString(const QString& appPicsDir);
    // How long a read waits for a file that another program holds.
    void SetBusyWait(int milliseconds) { busyWaitMs_ = milliseconds; }
    QString DbFilePath() const { return dbFilePath_; }
    QString ConnString() const { return connString_; }

    // The query being run; every query is composed here before it is opened.
    SqlStatement SqlText;
    Recordset SharedRecordset;

    bool OpenRecordset(const SqlStatement& query);
    void CloseRecordset();

    // Runs the writes of one save within one open of the file and one
    // transaction; work returns whether all of them succeeded. A save that
    // did not happen is rolled back and told to the pupil once; a save
    // started inside another one joins it, and the outer one tells.
    template <typename Work>
    bool InOneTransaction(Work&& work) {
        if (inBatch_) return work();
        if (!BeginBatch()) return false;
        const bool done = work();
        return EndBatch(done);
    }

    // Runs several reads within one open of the file: it is closed and left
    // scrambled once, after the last of them, instead of after each (and
    // before any message of the database's is shown).
    template <typename Work>
    bool InOneOpen(Work&& work) {
        ++holdOpen_;
        const bool done = work();
        if (--holdOpen_ == 0 && !inBatch_) CloseFile();
        return done;
    }

    // Before a message box of a read inside InOneOpen: the file is closed
    // and left scrambled while the message waits for the pupil; the next
    // read opens it again.
    void CloseBeforeMessage();

    bool LoadSettings();
    bool SavePosition();

    // False while the database is only read from memory: writes reach the
    // memory copy for this session, never the file.
    bool CanSaveToFile() const { return !inMemory_; }

    // Counts are 16-bit in the program: a larger count refuses the database,
    // with one message naming the file. Refused() stays true afterwards.
    bool CountFits(qint64 count);
    bool Refused() const { return refused_; }

    // A new, plain database with the tables of the lesson database (content
    // builder and tests).
    static bool CreateEmptyDatabase(const QString& path, const QString& versionDB, QString* error);

private:
    enum class Access { Ok, Missing, NotWritable, Damaged, Busy };

    bool ReadSettings();
    Access Connect();
    Access OpenInPlace();
    Access OpenInMemory();
    Access TryConnect(const QByteArray& path, int flags);
    Access WritesReachTheFile();
    bool Busy() const;
    void Disconnect();
    void Release();
    // Closes the shared recordset and leaves the file scrambled, if open.
    void CloseFile();
    bool BeginBatch();
    bool EndBatch(bool done);
    void ReportReadFailure(Access access);
    void Report(const QString& text, MsgIcon icon);
    void TellResultsNotKept();

    LessonState& state_;
    MessageService& messages_;
    QString dbFilePath_;
    QString connString_;
    sqlite3* db_ = nullptr;
    bool inBatch_ = false;
    int holdOpen_ = 0;
    int busyWaitMs_ = 2000;
    bool checkedWritable_ = false;
    bool inMemory_ = false;
    bool toldNotKept_ = false;
    bool refused_ = false;
};
