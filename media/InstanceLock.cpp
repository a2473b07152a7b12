#include "media/InstanceLock.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const QString& lockFilePath) : path_(lockFilePath) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

// Where the file cannot be created (a read-only installation) the folder
// itself is locked: every copy of that installation meets the same lock.
InstanceLock::Result InstanceLock::TryLock() {
    if (fd_ >= 0) return Result::Acquired;
    const QByteArray file = QFile::encodeName(path_);
    int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fd = ::open(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return Result::Acquired;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
}
