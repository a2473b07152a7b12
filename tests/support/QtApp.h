#pragma once

#include <QApplication>

// Widget tests need one application object for the whole test program.
inline QApplication& EnsureQtApp() {
    static int argc = 1;
    static char name[] = "orvanel-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        app = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    return *app;
}
