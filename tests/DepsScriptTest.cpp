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

// Runs a bash snippet after sourcing scripts/deps.sh; its standard output.
QString InDepsScript(const QString& snippet) {
    QProcess bash;
    bash.start("/bin/bash", {"-c", "source \"$1\" && " + snippet, "bash", kSource + "/scripts/deps.sh"});
    EXPECT_TRUE(bash.waitForFinished(60000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    return QString::fromUtf8(bash.readAllStandardOutput()).trimmed();
}

QStringList Words(const QString& text) {
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

const QRegularExpression kSoundServer("^(pulseaudio|pipewire|wireplumber|jackd)");

QStringList RunPackages() {
    return Words(InDepsScript("echo $ORVANEL_BUILD_PACKAGES $ORVANEL_CONTENT_PACKAGES"));
}

TEST(DepsScriptTest, RunPackagesHoldNoSoundServer) {
    const QStringList run = RunPackages();
    ASSERT_TRUE(run.contains("qt6-base-dev"));
    ASSERT_TRUE(run.contains("festival"));
    for (const QString& package : run) EXPECT_FALSE(kSoundServer.match(package).hasMatch()) << package.toStdString();
    const QStringList test = Words(InDepsScript("echo $ORVANEL_TEST_PACKAGES"));
    EXPECT_EQ(test, QStringList({"pulseaudio", "pulseaudio-utils"}));
    for (const char* tool : {"xvfb", "xauth", "imagemagick"}) EXPECT_FALSE(run.contains(tool)) << tool;
}

// What apt would bring along with the run packages (dependencies and
// recommendations, every alternative) holds no sound server either.
TEST(DepsScriptTest, RunPackagesPullInNoSoundServer) {
    if (QStandardPaths::findExecutable("apt-cache").isEmpty()) GTEST_SKIP() << "no apt-cache here";
    QProcess apt;
    apt.start("apt-cache", QStringList{"depends", "--recurse", "--no-suggests", "--no-conflicts", "--no-breaks",
                                       "--no-replaces", "--no-enhances"} + RunPackages());
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
    for (const QString& name : QDir(kSource + "/scripts").entryList(QDir::Files)) {
        QFile file(kSource + "/scripts/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (!line.contains("apt-get install") && !line.contains("apt install")) continue;
            ++installs;
            EXPECT_TRUE(line.contains("--no-remove")) << (name + ": " + line).toStdString();
        }
    }
    EXPECT_GE(installs, 1);
    QFile run(kSource + "/scripts/run");
    ASSERT_TRUE(run.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(run.readAll());
    EXPECT_TRUE(text.contains("orvanel_install_run_deps"));
    EXPECT_FALSE(text.contains("test_deps")) << "scripts/run installs the test packages";
}

// The tests install PulseAudio only where no sound server program is found.
TEST(DepsScriptTest, TestPackagesOnlyWhereNoSoundServer) {
    QTemporaryDir bin;
    auto provide = [&](const QString& program) {
        QFile file(bin.filePath(program));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    };
    auto needed = [&] { return InDepsScript("PATH=\"" + bin.path() + "\" orvanel_needed_test_packages"); };
    EXPECT_EQ(needed(), "pulseaudio pulseaudio-utils");
    provide("pipewire-pulse");
    EXPECT_EQ(needed(), "");
    QFile::remove(bin.filePath("pipewire-pulse"));
    provide("pulseaudio");
    EXPECT_EQ(needed(), "pulseaudio-utils");
    provide("pactl");
    EXPECT_EQ(needed(), "");
}

}  // namespace
