#include "tests/support/QtApp.h"

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

const QString kId = QStringLiteral("org.orvanel.Orvanel");
const QString kDesktop = QStringLiteral(ORVANEL_SOURCE_DIR "/app/desktop/");

QString Read(const QString& name) {
    QFile file(kDesktop + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

// Errors and warnings are faults; hints and pedantic notes are not (the id's capitals draw one that cannot be avoided).
TEST(DesktopFilesTest, EntryAndMetainfoPassTheirValidators) {
    for (const QStringList& run : {QStringList{"desktop-file-validate", kDesktop + kId + ".desktop"},
                                   QStringList{"appstreamcli", "validate", "--no-net", kDesktop + kId + ".metainfo.xml"}}) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(run[0], run.mid(1));
        ASSERT_TRUE(process.waitForFinished(60000)) << run[0].toStdString() << " not installed (scripts/deps.sh installs it)";
        const QString output = QString::fromUtf8(process.readAll());
        EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
        for (const QString& line : output.split('\n'))
            EXPECT_FALSE(line.contains(": error: ") || line.contains(": warning: ") || line.startsWith("E: ") ||
                         line.startsWith("W: ")) << line.toStdString();
    }
}

TEST(DesktopFilesTest, EntryMetainfoAndIconsAgreeOnTheId) {
    const QStringList entry = Read(kId + ".desktop").split('\n');
    EXPECT_TRUE(entry.contains("Exec=orvanel") && entry.contains("Icon=" + kId)) << entry.join('\n').toStdString();
    QMap<QString, QStringList> named;  // the untranslated texts of the elements that name the program
    QXmlStreamReader xml(Read(kId + ".metainfo.xml"));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && !xml.attributes().hasAttribute("xml:lang") &&
            QStringList({"id", "launchable", "binary"}).contains(xml.name().toString()))
            named[xml.name().toString()] << xml.readElementText();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(named, (QMap<QString, QStringList>{{"id", {kId}}, {"launchable", {kId + ".desktop"}}, {"binary", {"orvanel"}}}));
    EXPECT_EQ(QDir(kDesktop).entryList({"*.desktop"}), QStringList{kId + ".desktop"}) << "the publishing tool has no menu entry";
    const QString listed = Read("icons.qrc");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("%1x%1/%2.png").arg(size).arg(kId);
        EXPECT_EQ(QImage(kDesktop + "icons/" + name).size(), QSize(size, size)) << name.toStdString();
        EXPECT_TRUE(listed.contains("alias=\"" + name + "\">icons/" + name + "<")) << name.toStdString();
    }
}
