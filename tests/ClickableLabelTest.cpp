#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include "tests/support/QtApp.h"
#include "views/ClickableLabel.h"

namespace {

class ClickableLabelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        window.resize(300, 100);
        label = new ClickableLabel(QStringLiteral("标准发音"), &window);
        label->setGeometry(10, 10, 200, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
    ClickableLabel* label = nullptr;
};

TEST_F(ClickableLabelTest, ScreenReadersHearAButtonNamedByTheTextItShowsNow) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "标准发音");
    QSignalSpy clicks(label, &ClickableLabel::clicked);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    label->setText(QStringLiteral("尚未录音"));
    EXPECT_EQ(label->text(), "尚未录音");
    EXPECT_EQ(accessible->text(QAccessible::Name), "尚未录音");
    label->clear();
    EXPECT_TRUE(accessible->text(QAccessible::Name).isEmpty());
}

TEST_F(ClickableLabelTest, MouseAndKeyboardWorkItAndAClickDraggedOffDoesNot) {
    QSignalSpy clicks(label, &ClickableLabel::clicked);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(250, 30));
    EXPECT_EQ(clicks.count(), 1) << "released outside, or another button";

    label->setFocus();
    EXPECT_TRUE(label->hasFocus());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) QTest::keyClick(label, key);
    QTest::keyClick(label, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 4);
}

TEST_F(ClickableLabelTest, SizeFollowsTextAndFontAndStyleSheetColourIsUsed) {
    const QSize before = label->sizeHint();
    QFont font = label->font();
    font.setPointSize(font.pointSize() * 2);
    label->setFont(font);
    const QSize bigger = label->sizeHint();
    EXPECT_GT(bigger.width(), before.width());
    EXPECT_GT(bigger.height(), before.height());
    label->setText(QStringLiteral("标准发音标准发音"));
    EXPECT_GT(label->sizeHint().width(), bigger.width());

    label->setStyleSheet(QStringLiteral("color: red;"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    // And the text is drawn in it.
    label->setText(QStringLiteral("■■■■"));
    label->setAlignment(Qt::AlignCenter);
    const QImage shot = label->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor colour = shot.pixelColor(x, y);
            red += colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
        }
    EXPECT_GT(red, 50);
}

}  // namespace
