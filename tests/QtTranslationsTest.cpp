#include "tests/support/QtApp.h"
#include "app/QtTranslations.h"

// Every standard button the pupil meets reads Chinese.
TEST(QtTranslationsTest, StandardButtonsReadChinese) {
    int argc = 1;
    char name[] = "QtTranslationsTest";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ASSERT_TRUE(LoadQtTranslations(app));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    const std::pair<QMessageBox::StandardButton, QString> expected[] = {
        {QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"}, {QMessageBox::Yes, "是"}, {QMessageBox::No, "否"}};
    for (const auto& [button, text] : expected)
        EXPECT_EQ(box.button(button)->text().remove('&').remove(QRegularExpression("\\(.*\\)")), text);
}
