#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "tools/PupilProgress.h"

// Brings the pupil's installation up to date from a newly built one, or
// makes it when there is none: the program files, the content and the media
// come from the build; the pupil's results, unit marks, position and
// recordings (myvoice) stay. Every file that changes is first written
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

    bool Update();
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

    QString builtDir_;
    QString pupilDir_;
    QString error_;
    QStringList report_;
    std::vector<Staged> staged_;
    Staged database_;
    QStringList stale_;
    QStringList madeFolders_;
    int unchangedFiles_ = 0;
    bool fresh_ = false;
    PupilProgress progress_;
};
