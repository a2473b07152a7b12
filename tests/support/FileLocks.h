#pragma once

#include "tests/support/QtApp.h"
#include <sys/stat.h>

// Whether some process holds an advisory lock on the file, as the system
// lists them.
inline bool IsLocked(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) return false;
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly)) return false;
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(inode)) return true;
    return false;
}
