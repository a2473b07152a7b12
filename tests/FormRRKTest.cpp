#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "quiz/FormRRK.h"
#include "quiz/SpeakerButton.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ViewFixture.h"
#include "views/WordPicture.h"

namespace {

// A radio button reacts on its circle and caption, not on the empty space
// beside them.
void Pick(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

class FormRRKTest : public ViewFixture {
protected:
    void SetUp() override {
        CreateUnits({{{0, 0, "apple", "苹果"},
                      {0, 0, "banana", "香蕉"},
                      {0, 0, "cat", "猫"},
                      {0, 0, "dog", "狗", 0, "4|1|3"},
                      {0, 0, "egg", "鸡蛋"}}},
                    {"egg"});
        dialog = std::make_unique<FormRRK>(context, nullptr);
    }

    // Asks word 3 ("dog") with the options egg, dog, apple, cat.
    void AskDog() {
        random.draws = {1, 4, 0, 4, 2};
        dialog->SetTestWord(3);
    }

    std::unique_ptr<FormRRK> dialog;
};

TEST_F(FormRRKTest, PreparesFourPicturesAndMeaningsAndSpeaksTheWord) {
    AskDog();
    const QStringList meanings{"鸡蛋", "狗", "苹果", "猫"};
    const QStringList names{"egg", "dog", "apple", "cat"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog->optAns[i]->text(), meanings[i]);
        EXPECT_EQ(dialog->imgWord[i]->Word(), names[i]);
        EXPECT_EQ(dialog->imgWord[i]->accessibleName(), names[i]);
        EXPECT_FALSE(dialog->optAns[i]->isChecked());
    }
    EXPECT_TRUE(dialog->optAns[4]->isChecked());
    EXPECT_FALSE(dialog->cmdOK->isEnabled());
    EXPECT_TRUE(dialog->lblAns->isHidden());
    EXPECT_TRUE(dialog->retAns);
    EXPECT_EQ(Spoken(), QStringList{"dog"});
    // Every picture used is scrambled again; the missing one fell back.
    for (const QString word : {"dog", "apple", "cat"}) {
        EXPECT_TRUE(install.Exists("Common/pics/" + word + ".pet")) << word.toStdString();
        EXPECT_FALSE(install.Exists("Common/pics/" + word + ".jpg")) << word.toStdString();
    }
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg"));
    EXPECT_FALSE(install.Exists("Common/voice/dog.wav"));
}

TEST_F(FormRRKTest, OneWrongPickThenTheRightOneLeavesRetAnsFalse) {
    AskDog();
    dialog->show();
    Pick(dialog->optAns[2]);
    EXPECT_TRUE(dialog->cmdOK->isEnabled());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "dog;狗");
    EXPECT_EQ(messages.shown[0].title, "错啦，要努力喔！");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(dialog->retAns);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->lblAns->isHidden());
    EXPECT_EQ(dialog->lblAns->text(), "正确答案： dog;狗");

    Pick(dialog->optAns[1]);
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->retAns);
    EXPECT_EQ(messages.shown.size(), 1u);
    // Nothing was counted or saved.
    EXPECT_EQ(state.Words[3].testNum, 4);
    EXPECT_EQ(Stored("select Result from words where English = 'dog'"), "4|1|3");
}

TEST_F(FormRRKTest, ModalRunAnsweredByPictureAndKeyboard) {
    AskDog();
    bool acted = false;
    WhenModal([&](QWidget* modal) {
        acted = modal == dialog.get();
        QTest::mouseClick(dialog->imgWord[1], Qt::LeftButton);
        EXPECT_TRUE(dialog->optAns[1]->isChecked());
        EXPECT_TRUE(dialog->cmdOK->isEnabled());
        QTest::keyClick(dialog->optAns[1], Qt::Key_Enter);
    });
    dialog->exec();
    EXPECT_TRUE(acted);
    EXPECT_TRUE(dialog->retAns);
    EXPECT_TRUE(messages.shown.empty());

    // Next word: the arrow keys move the choice, Escape does not skip it.
    random.draws = {0, 1, 2, 3};
    dialog->SetTestWord(0);
    EXPECT_TRUE(dialog->retAns);
    WhenModal([&](QWidget*) {
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        dialog->optAns[0]->setFocus();
        // The options lie in two rows of two.
        QTest::keyClick(dialog->optAns[0], Qt::Key_Down);
        EXPECT_TRUE(dialog->optAns[2]->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_TRUE(dialog->optAns[1]->isChecked());
        EXPECT_TRUE(dialog->cmdOK->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(messages.shown.size(), 1u);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        EXPECT_TRUE(dialog->optAns[0]->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    dialog->exec();
    EXPECT_FALSE(dialog->retAns);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "apple;苹果");
}

TEST_F(FormRRKTest, SpeakerRepeatsTheWord) {
    AskDog();
    QTest::mouseClick(dialog->imgSound, Qt::LeftButton);
    EXPECT_EQ(Spoken(), (QStringList{"dog", "dog"}));
    EXPECT_FALSE(dialog->imgSound->accessibleName().isEmpty());
}

class FormRRKSmallUnitTest : public ViewFixture {};

TEST_F(FormRRKSmallUnitTest, TwoWordsShowTwoOptions) {
    CreateUnits({{{0, 0, "sun", "太阳"}, {0, 0, "moon", "月亮"}}});
    FormRRK dialog(context, nullptr);
    random.draws = {1, 0};
    dialog.SetTestWord(1);
    EXPECT_EQ(dialog.optAns[0]->text(), "太阳");
    EXPECT_EQ(dialog.optAns[1]->text(), "月亮");
    EXPECT_FALSE(dialog.optAns[0]->isHidden());
    EXPECT_FALSE(dialog.optAns[1]->isHidden());
    EXPECT_TRUE(dialog.optAns[2]->isHidden());
    EXPECT_TRUE(dialog.optAns[3]->isHidden());
    EXPECT_TRUE(dialog.imgWord[2]->isHidden());
    EXPECT_TRUE(dialog.imgWord[3]->isHidden());
    dialog.show();
    QTest::mouseClick(dialog.imgWord[1], Qt::LeftButton);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.retAns);
}

}  // namespace
