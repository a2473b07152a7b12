#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include "tests/support/ModalDriver.h"
#include "tests/support/QtApp.h"

namespace {

// The failures a piece of a test reports, caught instead of failing it.
template <typename Work>
std::vector<std::string> FailuresOf(Work&& work) {
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        work();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i) messages.push_back(results.GetTestPartResult(i).message());
    return messages;
}

class ModalDriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
};

TEST_F(ModalDriverTest, ActsOnTheWindowThatOpens) {
    QDialog dialog;
    dialog.setWindowTitle("选择教材");
    QWidget* seen = nullptr;
    WhenModal([&](QWidget* modal) {
        seen = modal;
        static_cast<QDialog*>(modal)->accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(seen, &dialog);
}

TEST_F(ModalDriverTest, NoWindowFailsTheTestLoudly) {
    bool acted = false;
    const auto failures = FailuresOf([&] {
        WhenModal([&](QWidget*) { acted = true; }, 200);
        QTest::qWait(500);
    });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("no modal window showed up"), std::string::npos) << failures[0];
    EXPECT_FALSE(acted);
}

TEST_F(ModalDriverTest, WindowLeftOpenIsClosedAndFailsTheTest) {
    QDialog dialog;
    dialog.setWindowTitle("帮助");
    int result = QDialog::Accepted;
    const auto failures = FailuresOf([&] {
        WhenModal([](QWidget*) {}, 200);
        result = dialog.exec();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("\"帮助\" was still open"), std::string::npos) << failures[0];
}

TEST_F(ModalDriverTest, WindowThatOpensTooLateIsClosed) {
    QDialog dialog;
    int result = QDialog::Accepted;
    const auto failures = FailuresOf([&] {
        WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); }, 100);
        QTest::qWait(300);
        result = dialog.exec();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("no modal window showed up"), std::string::npos) << failures[0];
    EXPECT_NE(failures[1].find("showed up too late"), std::string::npos) << failures[1];
}

}  // namespace
