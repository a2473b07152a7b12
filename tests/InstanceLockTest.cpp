#include <gtest/gtest.h>

#include <QDir>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "media/InstanceLock.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TempInstall.h"

namespace {

using Result = InstanceLock::Result;

// Another running copy: a child process that takes the lock, says whether it has it, and waits to be killed.
class LockHolder {
public:
    LockHolder(const QString& path, bool asNobody) {
        int channel[2];
        if (pipe(channel) != 0) return;
        if ((pid_ = fork()) == 0) {
            if (asNobody && (setgid(AsNobody::kGid) != 0 || setuid(AsNobody::kUid) != 0)) _exit(90);
            InstanceLock lock(path);
            const char result = lock.TryLock() == Result::Acquired ? 'L' : 'x';
            if (write(channel[1], &result, 1) != 1) _exit(91);
            pause();
            _exit(0);
        }
        close(channel[1]);
        char result = 0;
        locked = read(channel[0], &result, 1) == 1 && result == 'L';
        close(channel[0]);
    }
    ~LockHolder() { Kill(); }
    void Kill() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    bool locked = false;

private:
    pid_t pid_ = -1;
};

// What an older copy, or one on another computer, left behind is only a file;
// a copy killed without a chance to clean up blocks nothing either.
TEST(InstanceLockTest, RunningCopyIsFoundAndNeitherALeftoverFileNorAKilledCopyBlocks) {
    TempInstall install;
    install.WriteFile("Bin/AppPics/orvanel.lock", "4242\norvanel\nclassroom-pc-07\n");
    const QString path = install.AppPicsDir() + "/orvanel.lock";
    LockHolder other(path, false);
    ASSERT_TRUE(other.locked);
    EXPECT_EQ(InstanceLock(path).TryLock(), Result::HeldElsewhere);
    other.Kill();
    InstanceLock next(path);
    EXPECT_EQ(next.TryLock(), Result::Acquired);
    EXPECT_EQ(next.TryLock(), Result::Acquired) << "asked again, still its own";
    EXPECT_EQ(InstanceLock(path).TryLock(), Result::HeldElsewhere);
    EXPECT_EQ(InstanceLock(install.Root() + "/missing/orvanel.lock").TryLock(), Result::Unavailable);
}

// A read-only installation (as the user nobody: root would create the file)
// cannot hold the file; its copies meet on the folder instead.
TEST(InstanceLockTest, ReadOnlyInstallationStillFindsTheRunningCopy) {
    TempInstall install;
    AsNobody::LetRead(install.Root());
    const QString path = install.AppPicsDir() + "/orvanel.lock";
    const auto tried = [&] { return AsNobody::Run([&] { return QString::number(int(InstanceLock(path).TryLock())); }).report; };
    LockHolder other(path, true);
    ASSERT_TRUE(other.locked);
    EXPECT_EQ(tried(), QString::number(int(Result::HeldElsewhere)));
    other.Kill();
    EXPECT_EQ(tried(), QString::number(int(Result::Acquired)));
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
