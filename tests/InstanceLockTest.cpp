#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "media/InstanceLock.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TempInstall.h"

namespace {

using Result = InstanceLock::Result;

// Another running copy: a child that takes the lock, says whether it has it, and waits to be killed.
struct LockHolder {
    LockHolder(const QString& path, bool asNobody) {
        int channel[2];
        if (pipe(channel) != 0) return;
        if ((pid = fork()) == 0) {
            if (asNobody && (setgid(AsNobody::kGid) != 0 || setuid(AsNobody::kUid) != 0)) _exit(90);
            InstanceLock lock(path);
            const char result = lock.TryLock() == Result::Acquired ? 'L' : 'x';
            if (write(channel[1], &result, 1) == 1) pause();
            _exit(91);
        }
        close(channel[1]);
        char result = 0;
        locked = read(channel[0], &result, 1) == 1 && result == 'L';
        close(channel[0]);
    }
    ~LockHolder() { Kill(); }
    void Kill() { if (pid > 0 && kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0); pid = -1; }
    pid_t pid = -1;
    bool locked = false;
};

// A leftover file (an older copy, another computer) is no lock, nor is a copy killed without cleaning up.
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
    // Started without a standard input, the lock file is opened as descriptor 0.
    const int input = dup(0);
    close(0);
    std::optional<InstanceLock> zero(install.Root() + "/zero.lock");
    const QList<Result> zeroTried = {zero->TryLock(), InstanceLock(install.Root() + "/zero.lock").TryLock()};
    zero.reset();
    if (input >= 0) dup2(input, 0), close(input);
    EXPECT_EQ(zeroTried, QList<Result>({Result::Acquired, Result::HeldElsewhere}));
}

// A read-only installation (as the user nobody: root would create the file) meets on the folder instead.
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
