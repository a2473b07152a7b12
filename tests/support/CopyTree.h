#pragma once

#include "tests/support/QtApp.h"

// Copies the folder tree from into to, which is created as needed; files
// already in to are replaced. False when any file could not be copied.
inline bool CopyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    bool ok = true;
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = to + "/" + QDir(from).relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            ok = QDir().mkpath(target) && ok;
        } else {
            QFile::remove(target);
            ok = QFile::copy(entry.filePath(), target) && ok;
        }
    }
    return ok;
}
