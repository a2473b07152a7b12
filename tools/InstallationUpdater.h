#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "tools/PupilProgress.h"

// Brings the pupil's installation up to date from a newly built or installed
// one, or makes it when there is none: the content and the media come from
// there (the programs themselves stay where they are installed); the
// pupil's results, unit marks, review schedule, position and recordings (myvoice) stay. Every file that changes is first written
// beside the file it replaces; only when all of them are ready are they
// renamed into place, the lesson database last. A failure before that
// leaves the installation as it was.
class InstallationUpdater {
public:
    static inline const QString kStagedSuffix = QStringLiteral(".updating");
    // Names the content the pupil's database was made from, so that an
    // unchanged build leaves the database alone.
    static inline const QString kInstalledContent = QStringLiteral("InstalledContent");

    InstallationUpdater(const QString& builtDir, const QString& pupilDir);

    // callerHoldsLock: the program itself, which holds the installation's
    // lock already, brings its own folder up to date before it starts.
    bool Update(bool callerHoldsLock = false);
    // True when the pupil's folder was made from exactly this content.
    bool UpToDate() const;
    QString Error() const { return error_; }
    // What was done, one line a change; empty when the installation was up
    // to date already.
    QStringList Report() const { return report_; }

private:
    struct Staged {
        QString temp;
        QString target;
    };

    bool PrepareFolder(const QString& relative, bool recursive, bool removeStale);
    bool PrepareDatabase();
    bool MergeProgress(const QString& newDb, const QString& digest);
    bool MakeFolder(const QString& path);
    bool Commit();
    void Discard();
    void RemoveLeftovers();
    bool Fail(const QString& what);
    QString FingerprintPath() const;
    QString ContentFingerprint() const;
    bool RecordFingerprint(const QString& fingerprint);

    QString builtDir_;
    QString pupilDir_;
    QString error_;
    mutable QString contentFingerprint_;
    QStringList report_;
    std::vector<Staged> staged_;
    Staged database_;
    QStringList stale_;
    QStringList madeFolders_;
    int unchangedFiles_ = 0;
    bool fresh_ = false;
    PupilProgress progress_;
};
