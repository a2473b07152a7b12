#include "quiz/FormRRK.h"
#include "quiz/SpeakerButton.h"
#include "tests/support/ViewFixture.h"
#include "views/WordPicture.h"

class FormRRKTest : public ViewFixture {
protected:
    // "egg" has no picture of its own; "dog" has earlier results.
    void Open(const std::vector<TempInstall::Word>& unit = {{0, 0, "apple", "苹果"}, {0, 0, "banana", "香蕉"},
              {0, 0, "cat", "猫"}, {0, 0, "dog", "狗", 0, "4|1|3"}, {0, 0, "egg", "鸡蛋"}}) {
        CreateUnits({unit}, {"egg"});
        dialog = std::make_unique<FormRRK>(context, nullptr);
    }
    void Ask(qint16 word, std::deque<int> draws) { random.draws = std::move(draws); dialog->SetTestWord(word); }
    // Each option as the pupil sees it: meaning and picture, a star when chosen, empty when hidden.
    QStringList Options() const {
        QStringList shown;
        for (int i = 0; i < 4; ++i)
            shown << (dialog->optAns[i]->isHidden() && dialog->imgWord[i]->isHidden() ? QString()
                      : dialog->optAns[i]->text() + " " + (dialog->imgWord[i]->isHidden() ? "-" : dialog->imgWord[i]->Word()) +
                            (dialog->optAns[i]->isChecked() ? "*" : ""));
        return shown;
    }
    void Pick(int i) { QTest::mouseClick(dialog->optAns[i], Qt::LeftButton, {}, QPoint(8, dialog->optAns[i]->height() / 2)); }

    std::unique_ptr<FormRRK> dialog;
};

// A wrong pick shows the answer once; Escape does not close; the right one (a click on its picture, then Enter)
// closes with retAns false and saves nothing, the picture question never counting for the word.
TEST_F(FormRRKTest, ShowsPicturesAndMeaningsSpeaksTheWordAndAWrongPickShowsTheAnswerOnce) {
    Open();
    Ask(3, {1, 4, 0, 4, 2});  // dog in slot 1; egg, then dog and egg again (taken), apple, cat
    EXPECT_EQ(Options(), (QStringList{"鸡蛋 egg", "狗 dog", "苹果 apple", "猫 cat"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog->imgWord[i]->accessibleName(), dialog->imgWord[i]->Word());
    EXPECT_FALSE(dialog->cmdOK->isEnabled() || dialog->lblAns->isVisible() || dialog->imgSound->accessibleName().isEmpty());
    for (const QString word : {"dog", "apple", "cat"})
        EXPECT_TRUE(install.Exists("Common/pics/" + word + ".pet") && !install.Exists("Common/pics/" + word + ".jpg")) << word.toStdString();
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg") && !install.Exists("Common/voice/dog.wav"));  // the missing picture fell back to it
    dialog->show();
    QTest::mouseClick(dialog->imgSound, Qt::LeftButton);
    EXPECT_EQ(Spoken(), (QStringList{"dog", "dog"}));
    Pick(2);
    ASSERT_TRUE(dialog->cmdOK->isEnabled());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text + " / " + messages.shown[0].title, "dog;狗 / 错啦，要努力喔！");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    QTest::keyClick(dialog->optAns[2], Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible() && dialog->lblAns->isVisible());
    EXPECT_EQ(dialog->lblAns->text(), "正确答案： dog;狗");
    QTest::mouseClick(dialog->imgWord[1], Qt::LeftButton);
    ASSERT_TRUE(dialog->optAns[1]->isChecked());
    QTest::keyClick(dialog->optAns[1], Qt::Key_Enter);
    EXPECT_FALSE(dialog->isVisible() || dialog->retAns);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(QString::number(state.Words[3].testNum) + " " + install.OnScrambled("select Result from words where English = 'dog'"), "4 4|1|3");
}

// Fewer than four words fill as many options; a word outside the unit asks nothing.
TEST_F(FormRRKTest, ASmallUnitShowsFewerOptionsAndAWordOutsideItNone) {
    Open({{0, 0, "sun", "太阳"}, {0, 0, "moon", "月亮"}});
    for (const qint16 outside : {qint16(-1), qint16(2)}) {
        Ask(outside, {});
        EXPECT_EQ(Options(), QStringList(4)) << outside;
    }
    EXPECT_TRUE(Spoken().isEmpty());
    Ask(1, {1, 0});
    EXPECT_EQ(Options(), (QStringList{"太阳 sun", "月亮 moon", "", ""}));
    dialog->show();
    QTest::mouseClick(dialog->imgWord[1], Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_TRUE(dialog->result() == QDialog::Accepted && dialog->retAns);
}
