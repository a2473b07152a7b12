#include <QGuiApplication>

#include "tools/InstallationBuilder.h"

// orvanel-content <content folder> <installation folder> <cache folder>
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        qCritical("usage: orvanel-content <content folder> <installation folder> <cache folder>");
        return 2;
    }
    return InstallationBuilder(args[1], args[2], args[3]).Build() ? 0 : 1;
}
