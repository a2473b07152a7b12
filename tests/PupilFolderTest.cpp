#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/PupilFolder.h"
#include "data/LessonDatabase.h"
#include "media/InstanceLock.h"
#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/CopyTree.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"
#include "tools/InstallationUpdater.h"

namespace {

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

// Whether some process holds an advisory lock on the file, as the system lists them.
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

// Installed as a package: <prefix>/bin/orvanel, the content in <prefix>/share/orvanel, the pupil's in the data folder.
class PupilFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempInstall built;
        built.CreateDatabase({{"Unit 1"}}, {{0, 0, "hello", "你好"}, {0, 0, "red", "红色"}}, 5, 9);  // outside the lists
        ModuleCrpt::ScrambleHeader(built.DbPath());
        for (const char* word : {"hello", "red"}) built.WriteFile(QString("Common/pics/%1.pet").arg(word), "picture of " + QByteArray(word));
        ASSERT_TRUE(CopyTree(built.Root(), Content()) && QDir().mkpath(root.Path("usr/bin")));
        ASSERT_TRUE(QFile::copy(ORVANEL_INSTALL_DIR "/Bin/orvanel", Program()));
        QFile::setPermissions(Program(), QFile::permissions(Program()) | QFile::ExeOwner);
    }
    QString Program() const { return root.Path("usr/bin/orvanel"); }
    QString Content() const { return root.Path("usr/share/orvanel"); }
    QString Pupil() const { return root.Path("data/orvanel"); }
    bool Has(const QString& relative) const { return root.Exists("data/orvanel/" + relative); }
    void Start(QProcess& process) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair<QString, QString>{"QT_QPA_PLATFORM", "offscreen"},
                                          {"XDG_DATA_HOME", root.Path("data")}, {"HOME", root.Path("home")}})
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
        process.start(Program(), {});
        ASSERT_TRUE(process.waitForStarted(10000));
    }
    static bool Eventually(const std::function<bool()>& holds, int tries = 200) {
        for (int i = 0; i < tries && !holds(); ++i) QThread::msleep(50);
        return holds();
    }

    TempFolder root;
};

TEST_F(PupilFolderTest, ARealStartMakesTheFolderGuardsItAndSavesOnSigterm) {
    QProcess first, second;
    Start(first);
    const QString lock = Pupil() + "/Bin/AppPics/orvanel.lock";
    Eventually([&] { return IsLocked(lock) || first.state() != QProcess::Running; }, 600);
    ASSERT_TRUE(IsLocked(lock)) << first.readAllStandardError().toStdString();
    EXPECT_TRUE(Eventually([&] { return Has("Common/pics/hello.pet"); }));
    EXPECT_TRUE(Has(kDb) && QDir(Pupil() + "/Common/myvoice").exists() && !Has("Bin/orvanel"));
    EXPECT_TRUE(Eventually([&] { return first.waitForReadyRead(50) || first.bytesAvailable() > 0; }));
    EXPECT_TRUE(first.readAllStandardOutput().contains(Pupil().toUtf8()));
    Start(second);  // hands over to the running program and ends by itself
    ASSERT_TRUE(second.waitForFinished(20000) && second.exitCode() == 0 && first.state() == QProcess::Running);
    // As a logout ends it: position and every result saved, the lock gone.
    kill(static_cast<pid_t>(first.processId()), SIGTERM); ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(QString("%1 %2 %3").arg(first.exitStatus()).arg(first.exitCode()).arg(IsLocked(lock)), "0 0 0");
    TempInstall plain;
    plain.WriteFile(kDb, root.Read("data/orvanel/" + kDb));
    EXPECT_EQ(plain.OnScrambled("select LastBook || ',' || LastUnit || ' ' || group_concat(Result) from FeatureTable, words"), "0,0 0|0|0,0|0|0");
}

// A new picture that cannot be written leaves the old folder whole.
TEST_F(PupilFolderTest, OutcomesAndWhatThePupilIsTold) {
    using O = PupilFolder::Outcome;
    PupilFolder folder(Content(), Pupil());
    ASSERT_TRUE(folder.MakeLockFolder());
    EXPECT_EQ(QList<O>({folder.Prepare(), folder.Prepare()}), QList<O>({O::Made, O::UpToDate}));
    root.Write("usr/share/orvanel/Common/pics/red.pet", "a redder red");
    const QString blocker = Pupil() + "/Common/pics/red.pet" + InstallationUpdater::kStagedSuffix;
    ASSERT_TRUE(QDir().mkpath(blocker));
    EXPECT_EQ(folder.Prepare(), O::UpdateFailed);
    EXPECT_EQ(root.Read("data/orvanel/Common/pics/red.pet"), "picture of red");
    ASSERT_TRUE(QDir(blocker).removeRecursively());
    EXPECT_EQ(folder.Prepare(), O::Updated);
    EXPECT_EQ(root.Read("data/orvanel/Common/pics/red.pet"), "a redder red");
    root.Write("blocked", "not a folder");
    PupilFolder blocked(Content(), root.Path("blocked/orvanel"));
    EXPECT_EQ(QString("%1 %2").arg(blocked.MakeLockFolder()).arg(int(blocked.Prepare())), QString("0 %1").arg(int(O::CannotMake)));
    ASSERT_TRUE(QFile::remove(Content() + "/" + kDb));
    EXPECT_EQ(PupilFolder(Content(), root.Path("other/orvanel")).Prepare(), O::ContentUnreadable);
    EXPECT_FALSE(root.Exists("other/orvanel/" + kDb));
    const std::pair<O, QString> told[] = {{O::Made, Pupil()}, {O::UpdateFailed, "原来的学习记录都还在"},
                                          {O::CannotMake, "无法建立你的学习文件夹"}, {O::ContentUnreadable, "请重新安装本软件"}};
    for (const auto& [outcome, text] : told) EXPECT_TRUE(folder.Message(outcome).contains(text)) << text.toStdString();
    EXPECT_EQ(folder.Message(O::UpToDate) + folder.Message(O::Updated), "");
    EXPECT_EQ(PupilFolder::InstalledContent(root.Path("usr/bin")), QDir::cleanPath(Content()));
    EXPECT_EQ(PupilFolder::InstalledContent(ORVANEL_INSTALL_DIR "/Bin"), QString());
}

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
    EXPECT_EQ(QList<Result>({next.TryLock(), next.TryLock(), InstanceLock(path).TryLock()}),
              QList<Result>({Result::Acquired, Result::Acquired, Result::HeldElsewhere})) << "asked again, still its own";
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
