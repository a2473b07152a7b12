#include "tests/support/QtApp.h"

namespace {

const QString kSource = QStringLiteral(ORVANEL_SOURCE_DIR);

struct Include {
    QString file;  // relative to the source folder
    QString header;
    bool quoted;
};

std::vector<Include> IncludesUnder(const QString& folder) {
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"),
                                         QRegularExpression::MultilineOption);
    std::vector<Include> found;
    QDirIterator files(kSource + '/' + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        const QString rel = QDir(kSource).relativeFilePath(file.fileName());
        for (auto m = line.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            found.push_back({rel, match.captured(2), match.captured(1) == QLatin1String("\"")});
        }
    }
    return found;
}

QSet<QString> WidgetHeaders() {
    const QString dir = QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets");
    const QStringList names = QDir(dir).entryList(QDir::Files);
    EXPECT_GT(names.size(), 100) << "no QtWidgets headers in " << dir.toStdString();
    return {names.begin(), names.end()};
}

bool IsWidgetHeader(const Include& include, const QSet<QString>& widgets) {
    if (include.quoted) return false;
    if (include.header.startsWith(QLatin1String("QtWidgets"))) return true;
    return widgets.contains(include.header);
}

// Each folder stands on the ones below it: app on views, quiz and games, those
// on data and media, everything on core. Tests and benchmarks sit on top.
TEST(LayeringTest, NoFolderIncludesALayerAboveItAndTheLowerLayersHaveNoWidgets) {
    struct Layer {
        QString folder;
        QStringList above;
        bool widgetsAllowed;
    };
    const QStringList upper = {"app/", "views/", "quiz/", "games/", "publish/", "tools/"};
    const std::vector<Layer> layers = {
        {"core", upper + QStringList{"data/", "media/"}, false},
        {"media", upper + QStringList{"data/"}, false},
        {"data", upper, false},
        {"views", {"app/"}, true},
        {"quiz", {"app/"}, true},
        {"games", {"app/"}, true},
        {"publish", {"app/"}, true},
        {"tools", {"app/"}, true},
    };
    const QSet<QString> widgets = WidgetHeaders();
    int checked = 0;
    for (const Layer& layer : layers) {
        for (const Include& include : IncludesUnder(layer.folder)) {
            ++checked;
            for (const QString& prefix : layer.above)
                EXPECT_FALSE(include.quoted && include.header.startsWith(prefix))
                    << include.file.toStdString() << " includes " << include.header.toStdString();
            if (!layer.widgetsAllowed)
                EXPECT_FALSE(IsWidgetHeader(include, widgets))
                    << include.file.toStdString() << " includes the widget header " << include.header.toStdString();
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(LayeringTest, AWidgetHeaderIsToldFromAGuiOne) {
    const QSet<QString> widgets = WidgetHeaders();
    EXPECT_TRUE(IsWidgetHeader({"x.h", "QLabel", false}, widgets));
    EXPECT_TRUE(IsWidgetHeader({"x.h", "QtWidgets/QWidget", false}, widgets));
    EXPECT_FALSE(IsWidgetHeader({"x.h", "QImage", false}, widgets));
    EXPECT_FALSE(IsWidgetHeader({"x.h", "QLabel", true}, widgets));
}

}  // namespace
