#pragma once

#include <QString>

// One running copy per installation: an advisory lock on a file in AppPics.
// The system releases it when the program ends, however it ends, so a copy
// that crashed (here or on another computer sharing the folder) never blocks
// a later start.
class InstanceLock {
public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    explicit InstanceLock(const QString& lockFilePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Unavailable when neither the file nor its folder can be locked at all;
    // the program then starts unguarded rather than not at all.
    Result TryLock();

private:
    QString path_;
    int fd_ = -1;
};
