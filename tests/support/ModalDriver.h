#pragma once

#include "tests/support/QtApp.h"

// Acts on the next modal window once it is open: the test schedules this,
// then triggers the command that opens the window. The act is expected to
// close the window. When no modal window shows up in time, or the window is
// still open after the act, the test fails and the driver closes what is
// open, so that a test never hangs in a modal loop.
namespace modal_driver {

constexpr int kPollMs = 10;
constexpr int kWaitMs = 10000;

inline void Close(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->done(QDialog::Rejected);
    } else {
        modal->close();
    }
}

inline bool StillOurTest(const ::testing::TestInfo* owner) {
    return ::testing::UnitTest::GetInstance()->current_test_info() == owner;
}

inline void ExpectClosed(QPointer<QWidget> modal, QDeadlineTimer deadline, const ::testing::TestInfo* owner) {
    QTimer::singleShot(kPollMs, [modal, deadline, owner] {
        if (!modal || !modal->isVisible() || !StillOurTest(owner)) return;
        if (!deadline.hasExpired()) {
            ExpectClosed(modal, deadline, owner);
            return;
        }
        ADD_FAILURE() << "the modal window \"" << modal->windowTitle().toStdString()
                      << "\" was still open after the test acted on it; the driver closed it";
        Close(modal);
    });
}

// After a failed wait: a window that opens late would block the test for
// good, so it is closed as soon as it shows up.
inline void CloseLateModal(const ::testing::TestInfo* owner) {
    QTimer::singleShot(kPollMs, [owner] {
        if (!StillOurTest(owner)) return;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the modal window \"" << modal->windowTitle().toStdString()
                          << "\" showed up too late; the driver closed it";
            Close(modal);
        } else {
            CloseLateModal(owner);
        }
    });
}

inline void AwaitModal(std::function<void(QWidget*)> act, int waitMs, QDeadlineTimer deadline,
                       const ::testing::TestInfo* owner) {
    QTimer::singleShot(kPollMs, [act = std::move(act), waitMs, deadline, owner]() mutable {
        if (!StillOurTest(owner)) {
            // The test that asked is over; its act may refer to what it left behind.
            std::fprintf(stderr, "modal driver: a modal window awaited by %s.%s never showed up during that test\n",
                         owner ? owner->test_suite_name() : "?", owner ? owner->name() : "?");
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            QPointer<QWidget> guard(modal);
            act(modal);
            ExpectClosed(guard, QDeadlineTimer(waitMs), owner);
        } else if (deadline.hasExpired()) {
            ADD_FAILURE() << "no modal window showed up within " << waitMs << " ms";
            CloseLateModal(owner);
        } else {
            AwaitModal(std::move(act), waitMs, deadline, owner);
        }
    });
}

}  // namespace modal_driver

// waitMs bounds both the wait for the window and the wait for it to close
// after the act.
inline void WhenModal(std::function<void(QWidget*)> act, int waitMs = modal_driver::kWaitMs) {
    modal_driver::AwaitModal(std::move(act), waitMs, QDeadlineTimer(waitMs),
                             ::testing::UnitTest::GetInstance()->current_test_info());
}
