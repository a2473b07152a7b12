#include <QGuiApplication>
#include <cstdio>

#include "tools/InstallationBuilder.h"
#include "tools/InstallationUpdater.h"

// orvanel-content <content folder> <installation folder> <cache folder>
//   assembles the installation from the content folder;
// orvanel-content --update <built installation> <pupil's installation>
//   brings the pupil's installation up to date from the built one.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--update")) {
        InstallationUpdater updater(args[2], args[3]);
        if (!updater.Update()) {
            std::fprintf(stderr, "orvanel-content: %s\n", qPrintable(updater.Error()));
            return 1;
        }
        for (const QString& line : updater.Report()) std::printf("%s\n", qPrintable(line));
        return 0;
    }
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: orvanel-content <content folder> <installation folder> <cache folder>\n"
                             "       orvanel-content --update <built installation> <pupil's installation>\n");
        return 2;
    }
    return InstallationBuilder(args[1], args[2], args[3]).Build() ? 0 : 1;
}
