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
        label->setGeometry(10, 10, 200, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    ClickableLabel* label = new ClickableLabel(QStringLiteral("标准发音"), &window);
    QSignalSpy clicks{label, &ClickableLabel::clicked};
};

TEST_F(ClickableLabelTest, ScreenReadersHearAButtonNamedByTheTextItShowsNow) {
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(label);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    for (const QString& text : {QStringLiteral("标准发音"), QStringLiteral("尚未录音"), QString()}) {
        label->setText(text);
        EXPECT_EQ(heard->text(QAccessible::Name), text);
    }
    ASSERT_TRUE(heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
}

// A left click released inside, Return, Enter and Space work it.
TEST_F(ClickableLabelTest, MouseAndKeyboardWorkItAndAClickDraggedOffDoesNot) {
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(199, 39));
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(200, 30));
    EXPECT_EQ(clicks.count(), 1) << "released outside, or another button";
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A}) QTest::keyClick(label, key);
    EXPECT_EQ(clicks.count(), 4);
}

TEST_F(ClickableLabelTest, SizeFollowsTextAndFontAndTheTextIsDrawnInTheStyleSheetColour) {
    const QSize before = label->sizeHint();
    QFont font = label->font();
    font.setPointSize(font.pointSize() * 2);
    label->setFont(font);
    const QSize bigger = label->sizeHint();
    EXPECT_GT(bigger.width(), before.width());
    EXPECT_GT(bigger.height(), before.height());
    label->setText(QStringLiteral("标准发音标准发音"));
    EXPECT_GT(label->sizeHint().width(), bigger.width());
    label->setText(QStringLiteral("■■■■"));
    label->setStyleSheet(QStringLiteral("color: red;"));
    label->setAlignment(Qt::AlignCenter);
    const QImage shot = label->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) red += shot.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(red, 50);
}

}  // namespace
