#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Acts on the next modal window once it is open: the test schedules this,
// then triggers the command that opens the window.
inline void WhenModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else if (triesLeft > 0) {
            WhenModal(std::move(act), triesLeft - 1);
        }
    });
}
