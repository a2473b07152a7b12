#include <gtest/gtest.h>

#include <QDir>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "media/InstanceLock.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TempInstall.h"

namespace {

// Another running copy: a child process that takes the lock, says so and
// waits to be killed.
class LockHolder {
public:
    LockHolder(const QString& path, bool asNobody) {
        int channel[2];
        if (pipe(channel) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(channel[0]);
            if (asNobody && (setgid(AsNobody::kGid) != 0 || setuid(AsNobody::kUid) != 0)) _exit(90);
            InstanceLock lock(path);
            const char result = lock.TryLock() == InstanceLock::Result::Acquired ? 'L' : 'x';
            if (write(channel[1], &result, 1) != 1) _exit(91);
            pause();
            _exit(0);
        }
        close(channel[1]);
        char result = 0;
        locked_ = read(channel[0], &result, 1) == 1 && result == 'L';
        close(channel[0]);
    }
    ~LockHolder() { Kill(); }

    bool Locked() const { return locked_; }
    void Kill() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

const char* Name(InstanceLock::Result result) {
    switch (result) {
    case InstanceLock::Result::Acquired: return "Acquired";
    case InstanceLock::Result::HeldElsewhere: return "HeldElsewhere";
    case InstanceLock::Result::Unavailable: return "Unavailable";
    }
    return "?";
}

}  // namespace

TEST(InstanceLockTest, RunningCopyIsFoundAndAKilledOneBlocksNothing) {
    TempInstall install;
    const QString path = install.AppPicsDir() + "/orvanel.lock";
    LockHolder other(path, false);
    ASSERT_TRUE(other.Locked());
    EXPECT_STREQ(Name(InstanceLock(path).TryLock()), "HeldElsewhere");
    other.Kill();  // dies without a chance to clean up
    InstanceLock next(path);
    EXPECT_STREQ(Name(next.TryLock()), "Acquired");
    EXPECT_STREQ(Name(InstanceLock(path).TryLock()), "HeldElsewhere");
}

// What an older copy, or one on another computer, left behind is only a file.
TEST(InstanceLockTest, LeftoverLockFileFromAnotherComputerDoesNotBlock) {
    TempInstall install;
    install.WriteFile("Bin/AppPics/orvanel.lock", "4242\norvanel\nclassroom-pc-07\n");
    InstanceLock lock(install.AppPicsDir() + "/orvanel.lock");
    EXPECT_STREQ(Name(lock.TryLock()), "Acquired");
}

// A read-only installation (as the user nobody: root would create the file)
// cannot hold the file; its copies meet on the folder instead.
TEST(InstanceLockTest, ReadOnlyInstallationStillFindsTheRunningCopy) {
    TempInstall install;
    AsNobody::LetRead(install.Root());
    const QString path = install.AppPicsDir() + "/orvanel.lock";
    LockHolder other(path, true);
    ASSERT_TRUE(other.Locked());
    const AsNobody::Outcome outcome = AsNobody::Run([&] { return QString(Name(InstanceLock(path).TryLock())); });
    EXPECT_EQ(outcome.report, "HeldElsewhere");
    other.Kill();
    const AsNobody::Outcome after = AsNobody::Run([&] { return QString(Name(InstanceLock(path).TryLock())); });
    EXPECT_EQ(after.report, "Acquired");
    EXPECT_FALSE(QFile::exists(path));
}
