#include "tests/support/QtApp.h"
#include "views/ClickableLabel.h"

namespace {

// A screen reader hears a button named by the text it shows now; a left click
// released inside, Return, Enter, Space and the reader's press work it.
TEST(ClickableLabelTest, ItIsAButtonForTheScreenReaderTheMouseAndTheKeyboard) {
    EnsureQtApp();
    QWidget window;
    window.resize(300, 100);
    auto* label = new ClickableLabel(QStringLiteral("标准发音"), &window);
    label->setGeometry(10, 10, 200, 40);
    QSignalSpy clicks{label, &ClickableLabel::clicked};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(label);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    for (const QString& text : {QStringLiteral("标准发音"), QStringLiteral("尚未录音"), QString()}) {
        label->setText(text);
        EXPECT_EQ(heard->text(QAccessible::Name), text);
    }
    ASSERT_TRUE(heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(199, 39));
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(200, 30));
    EXPECT_EQ(clicks.count(), 2) << "released outside, or another button";
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A}) QTest::keyClick(label, key);
    EXPECT_EQ(clicks.count(), 5);
}

}  // namespace
