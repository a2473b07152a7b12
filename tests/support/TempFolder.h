#pragma once

#include "tests/support/QtApp.h"

// A throwaway folder whose files the test writes and reads by relative path.
class TempFolder {
public:
    QString Path(const QString& relative) const { return dir.path() + "/" + relative; }

    void Write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Path(relative).toStdString();
        file.write(bytes);
    }

    QByteArray Read(const QString& relative) const {
        QFile file(Path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool Exists(const QString& relative) const { return QFileInfo::exists(Path(relative)); }

    QTemporaryDir dir;
};
