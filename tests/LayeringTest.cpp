#include "tests/support/QtApp.h"

const QString kSource = QStringLiteral(ORVANEL_SOURCE_DIR);

// Every include under folder, as "file: header" with the header's quotes or angle brackets.
QStringList IncludesUnder(const QString& folder) {
    static const QRegularExpression line(R"(^\s*#\s*include\s*([<"][^>"]+[>"]))", QRegularExpression::MultilineOption);
    QStringList found;
    for (QDirIterator files(kSource + '/' + folder, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        for (auto m = line.globalMatch(QString::fromUtf8(file.readAll())); m.hasNext();)
            found << QDir(kSource).relativeFilePath(file.fileName()) + ": " + m.next().captured(1);
    }
    return found;
}

// Each folder stands on the ones below it: app on views, quiz and games, those
// on data and media, everything on core. Tests and benchmarks sit on top.
TEST(LayeringTest, NoFolderIncludesALayerAboveItAndTheLowerLayersHaveNoWidgets) {
    const QStringList names = QDir(QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/QtWidgets").entryList(QDir::Files);
    const QSet<QString> widgets(names.begin(), names.end());
    const auto isWidgetHeader = [&](const QString& header) {
        return header.startsWith("<QtWidgets") || (header.startsWith('<') && widgets.contains(header.mid(1).chopped(1)));
    };
    ASSERT_TRUE(isWidgetHeader("<QLabel>") && isWidgetHeader("<QtWidgets/QWidget>") && !isWidgetHeader("<QImage>") &&
                !isWidgetHeader("\"QLabel\""));
    const QStringList upper = {"app/", "views/", "quiz/", "games/", "publish/", "tools/"};
    const std::vector<std::tuple<QString, QStringList, bool>> layers = {{"core", upper + QStringList{"data/", "media/"}, false},
        {"media", upper + QStringList{"data/"}, false}, {"data", upper, false}, {"views", {"app/"}, true}, {"quiz", {"app/"}, true},
        {"games", {"app/"}, true}, {"publish", {"app/"}, true}, {"tools", {"app/"}, true}};
    int checked = 0;
    for (const auto& [folder, above, widgetsAllowed] : layers)
        for (const QString& include : IncludesUnder(folder)) {
            const QString header = include.section(": ", 1);
            ++checked;
            for (const QString& prefix : above) EXPECT_FALSE(header.startsWith('"' + prefix)) << include.toStdString();
            EXPECT_TRUE(widgetsAllowed || !isWidgetHeader(header)) << include.toStdString() << " is a widget header";
        }
    EXPECT_GT(checked, 300);
}
