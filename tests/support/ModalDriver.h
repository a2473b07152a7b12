#pragma once

#include "tests/support/QtApp.h"

// Acts on the next modal window once it is open: the test schedules this, then triggers the command that opens
// the window, which the act is expected to close. A window that does not show up within waitMs, or is still
// open waitMs after the act, fails the test and is closed, so that a test never hangs in a modal loop.
namespace modal_driver {

// Runs step every few milliseconds, while the test that asked lasts, until it returns true.
inline void Poll(const ::testing::TestInfo* owner, std::function<bool()> step) {
    QTimer::singleShot(10, [owner, step = std::move(step)]() mutable {
        if (::testing::UnitTest::GetInstance()->current_test_info() == owner && !step()) Poll(owner, std::move(step));
    });
}

inline void Close(QWidget* modal, const char* why) {
    ADD_FAILURE() << "the modal window \"" << modal->windowTitle().toStdString() << "\" " << why << "; the driver closed it";
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected); else modal->close();
}

}  // namespace modal_driver

inline void WhenModal(std::function<void(QWidget*)> act, int waitMs = 10000) {
    using namespace modal_driver;
    const ::testing::TestInfo* owner = ::testing::UnitTest::GetInstance()->current_test_info();
    Poll(owner, [owner, act = std::move(act), waitMs, opening = QDeadlineTimer(waitMs)] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal && !opening.hasExpired()) return false;
        if (!modal) {
            ADD_FAILURE() << "no modal window showed up within " << waitMs << " ms";
            Poll(owner, [] {  // one that opens late would block the test for good
                QWidget* late = QApplication::activeModalWidget();
                if (late) Close(late, "showed up too late");
                return late != nullptr;
            });
            return true;
        }
        act(modal);
        Poll(owner, [modal, closing = QDeadlineTimer(waitMs)] {
            if (!modal || !modal->isVisible()) return true;
            if (closing.hasExpired()) Close(modal, "was still open after the test acted on it");
            return closing.hasExpired();
        });
        return true;
    });
}
