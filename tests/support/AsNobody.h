#pragma once

#include "tests/support/QtApp.h"
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// File permissions do not bind root, and the tests run as root: work that
// must meet a folder or file it cannot write runs in a child process as the
// user "nobody". The child cannot use test assertions; it describes what it
// saw in a text that the test then checks.
namespace AsNobody {

constexpr uid_t kUid = 65534;
constexpr gid_t kGid = 65534;

struct Outcome { int exitCode = -1; QString report; };

inline Outcome Run(const std::function<QString()>& work) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kGid) != 0 || setuid(kUid) != 0)) _exit(90);
        const QByteArray report = work().toUtf8();
        const bool sent = write(channel[1], report.constData(), report.size()) == report.size();
        _exit(sent ? 0 : 91);
    }
    close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), QString::fromUtf8(report)};
}

// Lets nobody reach everything under root (read and enter), without giving
// it anything to write.
inline void LetRead(const QString& root) {
    QFile::setPermissions(root, QFile::permissions(root) | QFile::ReadOther | QFile::ExeOther);
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOther |
                                        (it.fileInfo().isDir() ? QFile::ExeOther : QFile::Permissions()));
    }
}

// Makes nobody the owner of one file or folder.
inline bool Give(const QString& path) {
    return chown(QFile::encodeName(path).constData(), kUid, kGid) == 0;
}

}  // namespace AsNobody
