#pragma once

#include <QString>

// Each pupil's own copy of the lesson content, in the desktop's data folder:
// made from the installed content on the first start, brought up to date
// when the installed content changes, never holding the programs. Results,
// unit marks, position and recordings survive every update.
class PupilFolder {
public:
    enum class Outcome { UpToDate, Made, Updated, UpdateFailed, CannotMake, ContentUnreadable };

    PupilFolder(const QString& installedContent, const QString& path);

    // The content installed beside a program in <prefix>/bin, or an empty
    // text when the program runs from a self-contained installation.
    static QString InstalledContent(const QString& programDir);
    // ${XDG_DATA_HOME:-~/.local/share}/orvanel: one per account.
    static QString DefaultPath();

    QString Path() const { return path_; }
    QString BinDir() const { return path_ + QStringLiteral("/Bin"); }
    // Makes the folder that holds the program's lock.
    bool MakeLockFolder() const;
    // Brings the folder up to date; the caller holds the lock.
    Outcome Prepare();
    // What to tell the pupil about the outcome; empty when there is nothing.
    QString Message(Outcome outcome) const;
    QString Error() const { return error_; }

private:
    QString content_;
    QString path_;
    QString error_;
};
