#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"

namespace {

const QString kSource = QStringLiteral(ORVANEL_SOURCE_DIR);
const QRegularExpression kSoundServer("^(pulseaudio|pipewire|wireplumber|jackd)");

// The words a bash snippet prints after sourcing scripts/deps.sh.
QStringList InDepsScript(const QString& snippet) {
    QProcess bash;
    bash.start("/bin/bash", {"-c", "source \"$1\" && " + snippet, "bash", kSource + "/scripts/deps.sh"});
    EXPECT_TRUE(bash.waitForFinished(60000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    return QString::fromUtf8(bash.readAllStandardOutput()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

QString Read(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

// The packages to run the program hold no sound server, and neither does
// what apt would bring along with them (dependencies and recommendations,
// every alternative), where apt knows its package lists.
TEST(DepsScriptTest, RunPackagesHoldAndPullInNoSoundServer) {
    const QStringList run = InDepsScript("echo $ORVANEL_BUILD_PACKAGES $ORVANEL_CONTENT_PACKAGES");
    ASSERT_TRUE(run.contains("qt6-base-dev") && run.contains("festival")) << run.join(' ').toStdString();
    for (const QString& package : run) EXPECT_FALSE(kSoundServer.match(package).hasMatch()) << package.toStdString();
    for (const char* tool : {"xvfb", "xauth", "imagemagick"}) EXPECT_FALSE(run.contains(tool)) << tool;
    EXPECT_EQ(InDepsScript("echo $ORVANEL_TEST_PACKAGES"), QStringList({"pulseaudio", "pulseaudio-utils"}));
    if (QStandardPaths::findExecutable("apt-cache").isEmpty()) GTEST_SKIP() << "no apt-cache here";
    QProcess apt;
    apt.start("apt-cache", QStringList{"depends", "--recurse", "--no-suggests", "--no-conflicts", "--no-breaks",
                                       "--no-replaces", "--no-enhances"} + run);
    ASSERT_TRUE(apt.waitForFinished(120000));
    QStringList closure;
    for (const QString& line : QString::fromUtf8(apt.readAllStandardOutput()).split('\n'))
        if (!line.isEmpty() && !line.startsWith(' ')) closure << line.trimmed();
    if (!closure.contains("festival")) GTEST_SKIP() << "apt knows no package lists here";
    EXPECT_GT(closure.size(), 100);
    for (const QString& package : closure) EXPECT_FALSE(kSoundServer.match(package).hasMatch()) << package.toStdString();
}

TEST(DepsScriptTest, EveryInstallRefusesToRemovePackages) {
    int installs = 0;
    for (const QString& name : QDir(kSource + "/scripts").entryList(QDir::Files))
        for (const QString& line : Read(kSource + "/scripts/" + name).split('\n'))
            if (line.contains("apt-get install") || line.contains("apt install")) {
                ++installs;
                EXPECT_TRUE(line.contains("--no-remove")) << (name + ": " + line).toStdString();
            }
    EXPECT_GE(installs, 1);
    const QString run = Read(kSource + "/scripts/run");
    EXPECT_TRUE(run.contains("orvanel_install_run_deps"));
    EXPECT_FALSE(run.contains("test_deps")) << "scripts/run installs the test packages";
}

// The tests install PulseAudio, and its pactl, only where they are missing
// and no PipeWire server stands in for them.
TEST(DepsScriptTest, TestPackagesOnlyWhereNoSoundServer) {
    const std::pair<QStringList, QStringList> rows[] = {{{}, {"pulseaudio", "pulseaudio-utils"}},
                                                        {{"pipewire-pulse"}, {}},
                                                        {{"pulseaudio"}, {"pulseaudio-utils"}},
                                                        {{"pactl"}, {"pulseaudio", "pulseaudio-utils"}},
                                                        {{"pulseaudio", "pactl"}, {}}};
    for (const auto& [programs, needed] : rows) {
        QTemporaryDir bin;
        for (const QString& program : programs) {
            QFile file(bin.filePath(program));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        EXPECT_EQ(InDepsScript("PATH=\"" + bin.path() + "\" orvanel_needed_test_packages"), needed)
            << programs.join(' ').toStdString();
    }
}

}  // namespace
