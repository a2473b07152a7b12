#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

// Every test program's Qt and test headers, readable QString values in failure messages, and the one
// application object widget tests need.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

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
