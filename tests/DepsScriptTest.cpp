#include "tests/support/QtApp.h"

namespace {

const QString kSource = QStringLiteral(ORVANEL_SOURCE_DIR);
const QRegularExpression kSoundServer("^(pulseaudio|pipewire|wireplumber|jackd)");

// What a program prints, by default bash running a snippet after sourcing scripts/deps.sh.
QString Output(const QString& snippet, QStringList program = {}) {
    if (program.isEmpty()) program = QStringList{"/bin/bash", "-c", "source \"$1\" && " + snippet, "bash", kSource + "/scripts/deps.sh"};
    QProcess process;
    process.start(program[0], program.mid(1));
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
QStringList Words(const QString& snippet) { return Output(snippet).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts); }

// Neither the packages to run the program nor what apt brings along with them (every alternative) hold a sound server.
TEST(DepsScriptTest, RunPackagesHoldAndPullInNoSoundServer) {
    const QStringList run = Words("echo $ORVANEL_BUILD_PACKAGES $ORVANEL_CONTENT_PACKAGES");
    ASSERT_TRUE(run.contains("qt6-base-dev") && run.contains("festival")) << run.join(' ').toStdString();
    for (const QString& package : run) EXPECT_FALSE(kSoundServer.match(package).hasMatch()) << package.toStdString();
    for (const char* tool : {"xvfb", "xauth", "imagemagick"}) EXPECT_FALSE(run.contains(tool)) << tool;
    EXPECT_EQ(Words("echo $ORVANEL_TEST_PACKAGES"), QStringList({"pulseaudio", "pulseaudio-utils"}));
    if (QStandardPaths::findExecutable("apt-cache").isEmpty()) GTEST_SKIP() << "no apt-cache here";
    QStringList closure;  // the lines apt does not indent
    for (const QString& line : Output("", QStringList{"apt-cache", "depends", "--recurse", "--no-suggests", "--no-conflicts",
                                                      "--no-breaks", "--no-replaces", "--no-enhances"} + run).split('\n'))
        if (!line.isEmpty() && !line.startsWith(' ')) closure << line.trimmed();
    if (!closure.contains("festival")) GTEST_SKIP() << "apt knows no package lists here";
    EXPECT_GT(closure.size(), 100);
    for (const QString& package : closure) EXPECT_FALSE(kSoundServer.match(package).hasMatch()) << package.toStdString();
}

TEST(DepsScriptTest, EveryInstallRefusesToRemovePackages) {
    int installs = 0;
    for (const QString& name : QDir(kSource + "/scripts").entryList(QDir::Files))
        for (const QString& line : Output("", {"cat", kSource + "/scripts/" + name}).split('\n'))
            if (line.contains("apt-get install") || line.contains("apt install")) {
                ++installs;
                EXPECT_TRUE(line.contains("--no-remove")) << (name + ": " + line).toStdString();
            }
    EXPECT_GE(installs, 1);
    const QString run = Output("", {"cat", kSource + "/scripts/run"});
    EXPECT_TRUE(run.contains("orvanel_install_run_deps"));
    EXPECT_FALSE(run.contains("test_deps")) << "scripts/run installs the test packages";
}

// The tests install PulseAudio, and its pactl, only where they are missing and no PipeWire server stands in for them.
TEST(DepsScriptTest, TestPackagesOnlyWhereNoSoundServer) {
    const std::pair<QStringList, QStringList> rows[] = {{{}, {"pulseaudio", "pulseaudio-utils"}}, {{"pipewire-pulse"}, {}},
        {{"pulseaudio"}, {"pulseaudio-utils"}}, {{"pactl"}, {"pulseaudio", "pulseaudio-utils"}}, {{"pulseaudio", "pactl"}, {}}};
    for (const auto& [programs, needed] : rows) {
        QTemporaryDir bin;
        for (const QString& program : programs)
            ASSERT_EQ(Output("", {"/bin/sh", "-c", "printf '#!/bin/sh\\n' > \"$0\" && chmod 500 \"$0\"", bin.filePath(program)}), "");
        EXPECT_EQ(Words("PATH=\"" + bin.path() + "\" orvanel_needed_test_packages"), needed) << programs.join(' ').toStdString();
    }
}

}  // namespace
