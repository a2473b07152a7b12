#include "tests/support/QtApp.h"

namespace {

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

}  // namespace
