#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include "tests/support/QtPrinters.h"

namespace {

const QString kId = QStringLiteral("org.orvanel.Orvanel");
const QString kDesktop = QStringLiteral(ORVANEL_SOURCE_DIR "/app/desktop/");

struct Verdict {
    int exitCode = -1;
    QString output;
};

Verdict Validate(const QString& tool, const QStringList& args) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        ADD_FAILURE() << tool.toStdString() << " is not installed (scripts/deps.sh installs it)";
        return {};
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << tool.toStdString();
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// Lines that report a fault; hints, infos and pedantic notes are not faults.
QStringList Faults(const QString& output) {
    QStringList faults;
    for (const QString& line : output.split('\n'))
        if (line.contains(QLatin1String(": error: ")) || line.contains(QLatin1String(": warning: ")) ||
            line.startsWith(QLatin1String("E: ")) || line.startsWith(QLatin1String("W: ")))
            faults << line;
    return faults;
}

QString DesktopKey(const QString& key) {
    QFile file(kDesktop + kId + ".desktop");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.startsWith(key + '=')) return line.mid(key.size() + 1);
    return {};
}

// Text of the metainfo's elements by name, the untranslated one only.
QStringList MetainfoTexts(const QString& element) {
    QFile file(kDesktop + kId + ".metainfo.xml");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == element && !xml.attributes().hasAttribute("xml:lang"))
            texts << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return texts;
}

TEST(DesktopFilesTest, DesktopEntryPassesItsValidator) {
    const Verdict run = Validate("desktop-file-validate", {kDesktop + kId + ".desktop"});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(Faults(run.output), QStringList());
}

// The id's capital letters draw a pedantic note that the fixed id cannot
// avoid, so the check runs at the validator's ordinary level.
TEST(DesktopFilesTest, MetainfoPassesItsValidator) {
    const Verdict run = Validate("appstreamcli", {"validate", "--no-net", kDesktop + kId + ".metainfo.xml"});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(Faults(run.output), QStringList());
}

TEST(DesktopFilesTest, EntryMetainfoAndIconsAgreeOnTheId) {
    EXPECT_EQ(DesktopKey("Exec"), "orvanel");
    EXPECT_EQ(DesktopKey("Icon"), kId);
    EXPECT_EQ(MetainfoTexts("id"), QStringList{kId});
    EXPECT_EQ(MetainfoTexts("launchable"), QStringList{kId + ".desktop"});
    EXPECT_EQ(MetainfoTexts("binary"), QStringList{"orvanel"});
    // The publishing tool is for editors: it has no menu entry.
    EXPECT_EQ(QDir(kDesktop).entryList({"*.desktop"}), QStringList{kId + ".desktop"});
    QFile qrc(kDesktop + "icons.qrc");
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    const QString listed = QString::fromUtf8(qrc.readAll());
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("%1x%1/%2.png").arg(size).arg(kId);
        const QImage icon(kDesktop + "icons/" + name);
        EXPECT_EQ(icon.width(), size) << name.toStdString();
        EXPECT_EQ(icon.height(), size) << name.toStdString();
        EXPECT_TRUE(listed.contains("alias=\"" + name + "\">icons/" + name + "<")) << name.toStdString();
    }
}

}  // namespace
