#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <sys/stat.h>

#include "media/ModuleCrpt.h"
#include "tests/support/TempInstall.h"

namespace {

// Whether some process holds an advisory lock on the file, as the system
// lists them.
bool IsLocked(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) return false;
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly)) return false;
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(inode)) return true;
    return false;
}

// The real program in a temporary installation, ended by SIGTERM as a
// logout or shutdown ends it: the position and every result are saved, and
// it ends at once, asking nothing.
TEST(SessionEndTest, SigtermSavesPositionAndResultsWithoutAsking) {
    TempInstall install;
    // The stored position lies outside the lists, so the program moves to
    // book 0, unit 0; the results of its words are NULL until saved.
    install.CreateDatabase({{"Unit 1"}}, {{0, 0, "hello", "你好"}, {0, 0, "red", "红色"}}, 5, 9);
    ModuleCrpt::ScrambleHeader(install.DbPath());
    const QString program = install.BinDir() + "/orvanel";
    ASSERT_TRUE(QFile::copy(ORVANEL_INSTALL_DIR "/Bin/orvanel", program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));
    const QString lockFile = install.AppPicsDir() + "/orvanel.lock";
    for (int i = 0; i < 600 && !IsLocked(lockFile) && process.state() == QProcess::Running; ++i)
        QThread::msleep(50);
    ASSERT_TRUE(IsLocked(lockFile)) << process.readAllStandardError().toStdString();

    kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(IsLocked(lockFile));

    ASSERT_TRUE(install.DbIsScrambled());
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
    EXPECT_EQ(install.Query("select count(*) from words where Result = '0|0|0'").toInt(), 2);
}

}  // namespace
