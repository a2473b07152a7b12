#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>

#include "media/ModuleCrpt.h"
#include "tests/support/FileLocks.h"
#include "tests/support/TempInstall.h"

namespace {

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
