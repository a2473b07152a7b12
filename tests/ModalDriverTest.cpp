#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include "tests/support/ModalDriver.h"
#include "tests/support/QtApp.h"

namespace {

// The driver acts on the window that opens; a window left open, or one that
// opens after the wait (the act never runs then), fails the test loudly
// (caught here) and is closed, so that no test hangs. The late row comes
// last: its driver watches for late windows until the test ends.
TEST(ModalDriverTest, ActsOnTheWindowThatOpensAndFailsLoudlyOtherwise) {
    EnsureQtApp();
    const struct {
        const char* name;
        int waitMs, delayMs;
        bool accepts, acted;
        int result;
        std::vector<std::string> failures;
    } rows[] = {
        {"opens", modal_driver::kWaitMs, 0, true, true, QDialog::Accepted, {}},
        {"left open", 200, 0, false, true, QDialog::Rejected, {"\"帮助\" was still open"}},
        {"too late", 100, 300, true, false, QDialog::Rejected, {"no modal window showed up", "showed up too late"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QDialog dialog;
        dialog.setWindowTitle("帮助");
        QWidget* seen = nullptr;
        int result = 0;
        ::testing::TestPartResultArray failures;
        {
            ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
            WhenModal([&](QWidget* modal) {
                seen = modal;
                if (row.accepts) static_cast<QDialog*>(modal)->accept();
            }, row.waitMs);
            QTest::qWait(row.delayMs);
            result = dialog.exec();
        }
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(seen, row.acted ? &dialog : nullptr);
        EXPECT_FALSE(dialog.isVisible());
        ASSERT_EQ(static_cast<size_t>(failures.size()), row.failures.size());
        for (int i = 0; i < failures.size(); ++i)
            EXPECT_NE(std::string(failures.GetTestPartResult(i).message()).find(row.failures[i]), std::string::npos)
                << failures.GetTestPartResult(i).message();
    }
}

}  // namespace
