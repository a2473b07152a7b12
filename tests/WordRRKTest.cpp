#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "quiz/SpeakerButton.h"
#include "quiz/WordRRK.h"
#include "tests/support/ViewFixture.h"
#include "views/WordList.h"
#include "views/WordPicture.h"

namespace {

class WordRRKTest : public ViewFixture {
protected:
    void Start(int wordCount) {
        CreateUnits({NumberedWords(wordCount)});
        StartTest();
    }

    // What the main window does for the test: reset, ask, show.
    void StartTest() {
        list = std::make_unique<WordList>(context, nullptr);
        list->resize(800, 500);
        view = std::make_unique<WordRRK>(context, *list, nullptr);
        view->resize(900, 560);
        words.ResetRunFlags();
        view->SetTestWord();
        view->show();
    }

    int TestWord() const {
        for (int i = 0; i < static_cast<int>(state.Words.size()); ++i)
            if (state.Words[i].English == view->lblTestWord->text()) return i;
        return -1;
    }

    int OptionWith(bool right) const {
        const QString answer = state.Words[TestWord()].Chinese;
        for (int i = 0; i < 4; ++i)
            if (!view->optAns[i]->isHidden() && (view->optAns[i]->text() == answer) == right) return i;
        return -1;
    }

    void Answer(bool right) {
        const int option = OptionWith(right);
        ASSERT_GE(option, 0);
        // on the circle: the space beside the caption does not choose
        QTest::mouseClick(view->optAns[option], Qt::LeftButton, {}, QPoint(8, view->optAns[option]->height() / 2));
        ASSERT_TRUE(view->cmdOK->isEnabled());
        QTest::mouseClick(view->cmdOK, Qt::LeftButton);
    }

    std::unique_ptr<WordList> list;
    std::unique_ptr<WordRRK> view;
};

TEST_F(WordRRKTest, AsksTheWordWithItsOptionsAndSpeaksItWhenShown) {
    CreateUnits({NumberedWords(6)});
    // pick word 4; answer in slot 2; distractors 4 (the word), 1, 1 (taken), 5, 0
    random.draws = {4, 2, 4, 1, 1, 5, 0};
    StartTest();
    EXPECT_EQ(view->lblTestWord->text(), "w4");
    EXPECT_EQ(view->optAns[0]->text(), "意1");
    EXPECT_EQ(view->optAns[1]->text(), "意5");
    EXPECT_EQ(view->optAns[2]->text(), "意4");
    EXPECT_EQ(view->optAns[3]->text(), "意0");
    EXPECT_TRUE(view->optAns[4]->isChecked());
    EXPECT_FALSE(view->cmdOK->isEnabled());
    EXPECT_TRUE(view->lblAns->isHidden());
    EXPECT_TRUE(view->imgWord->isHidden());
    EXPECT_EQ(view->imgWord->accessibleName(), "w4");
    EXPECT_TRUE(view->lblTestedNum->text().isEmpty());
    EXPECT_EQ(Spoken(), QStringList{"w4"});
    EXPECT_FALSE(install.Exists("Common/pics/w4.jpg"));
    EXPECT_TRUE(install.Exists("Common/pics/w4.pet"));

    QTest::mouseClick(view->imgSound, Qt::LeftButton);
    EXPECT_EQ(Spoken(), (QStringList{"w4", "w4"}));
}

TEST_F(WordRRKTest, WrongTwiceThenRightCountsThreeAnswersAndOneErrorWord) {
    Start(4);
    const int asked = TestWord();
    const CWordType before = state.Words[asked];
    output.played.clear();

    Answer(false);
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString answer = "正确答案是： " + before.Chinese;
    EXPECT_EQ(messages.shown[0].text, answer);
    EXPECT_EQ(messages.shown[0].title, "错啦！");
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(view->lblAns->text(), answer);
    EXPECT_FALSE(view->lblAns->isHidden());
    EXPECT_FALSE(view->imgWord->isHidden());
    EXPECT_TRUE(view->cmdOK->isEnabled());
    EXPECT_EQ(TestWord(), asked);
    EXPECT_EQ(Spoken(), QStringList{before.English});
    EXPECT_TRUE(view->lblTestedNum->text().isEmpty());

    Answer(false);
    EXPECT_EQ(TestWord(), asked);
    Answer(true);
    const CWordType& after = state.Words[asked];
    EXPECT_EQ(after.testNum, before.testNum + 3);
    EXPECT_EQ(after.errNum, before.errNum + 2);
    EXPECT_EQ(after.rightNum, 1);
    EXPECT_TRUE(after.Tested);
    EXPECT_TRUE(after.CurrErr);
    EXPECT_EQ(state.TestedCount, 1);
    EXPECT_EQ(view->lblTestedNum->text(), "1/4");
    EXPECT_FALSE(view->cmdOK->isEnabled());
    EXPECT_TRUE(view->lblAns->isHidden());
    EXPECT_NE(TestWord(), asked);
    EXPECT_EQ(Spoken().size(), 3);
    EXPECT_EQ(Spoken().last(), view->lblTestWord->text());

    for (int i = 0; i < 3; ++i) Answer(true);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, "本次共测试了4个单词,有1次错误！还要继续努力喔！");
    EXPECT_EQ(messages.shown[2].title, "单词认知测试");
    EXPECT_EQ(host.modes, std::vector<qint16>{2});
    EXPECT_FALSE(view->Frame1->isEnabled());
    EXPECT_EQ(view->GetErrNum(), 1);
    EXPECT_EQ(list->lblResult->text(), "本次共测试4个单词,其中有1个单词出错！");
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 4);
    EXPECT_EQ(Stored(QString("select Result from words where English = '%1'").arg(before.English)), "3|2|1");
    EXPECT_EQ(Stored("select count(*) from words where Result = '1|0|1'"), "3");
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 0);
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where UnitID = 0"), "");
}

TEST_F(WordRRKTest, RunOfTwentyWithTwoWrongWordsReportsTwo) {
    Start(20);
    int wrongWords = 0;
    for (int asked = 0; asked < 20; ++asked) {
        if (asked == 3 || asked == 7) {
            Answer(false);
            if (asked == 7) Answer(false);
            ++wrongWords;
        }
        Answer(true);
    }
    EXPECT_EQ(wrongWords, 2);
    EXPECT_EQ(messages.shown.back().text, "本次共测试了20个单词,有2次错误！还要继续努力喔！");
    EXPECT_EQ(host.modes, std::vector<qint16>{2});
    EXPECT_EQ(list->lblResult->text(), "本次共测试20个单词,其中有2个单词出错！");
}

TEST_F(WordRRKTest, PerfectRunMarksTheUnitAndReturnsToReading) {
    CreateUnits({NumberedWords(5), {{0, 0, "sun", "太阳"}, {0, 0, "moon", "月亮"}}});
    StoreExec("update words_BookUnit set UnitStatus = 1 where BookID = 0 and UnitID = 0");
    ASSERT_TRUE(catalogue.LoadUnits(0));
    StartTest();
    std::set<QString> asked;
    for (int i = 0; i < 5; ++i) {
        asked.insert(view->lblTestWord->text());
        Answer(true);
    }
    EXPECT_EQ(asked.size(), 5u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "你好棒喔！全对了耶！！");
    EXPECT_EQ(messages.shown[0].title, "单词认知测试");
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 3);
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0"), "3");
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 1"), "");
    EXPECT_EQ(Stored("select count(*) from words where Result = '1|0|1'"), "5");
}

TEST_F(WordRRKTest, CancelAtEndKeepsTheTestButSavesWhatWasRight) {
    Start(4);
    const QString first = view->lblTestWord->text();
    Answer(true);
    const QString second = view->lblTestWord->text();
    Answer(false);

    messages.Answer(MsgAnswer::Cancel);
    QTest::mouseClick(view->cmdExit, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "还没有完成测试，你确定要结束单元测试吗?");
    EXPECT_EQ(messages.shown[1].title, "单词测试");
    EXPECT_EQ(messages.shown[1].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(host.modes.empty());
    EXPECT_EQ(view->lblTestWord->text(), second);
    EXPECT_TRUE(view->Frame1->isEnabled());
    EXPECT_EQ(Stored(QString("select Result from words where English = '%1'").arg(first)), "1|0|1");
    // A word answered wrongly waits for the save of the whole unit.
    EXPECT_EQ(Stored(QString("select Result from words where English = '%1'").arg(second)), "");

    messages.Answer(MsgAnswer::Ok);
    EXPECT_TRUE(view->EndTest());
    QTest::mouseClick(view->cmdExit, Qt::LeftButton);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
}

TEST_F(WordRRKTest, UnitOfTwoWordsAsksWithTwoOptions) {
    Start(2);
    EXPECT_FALSE(view->optAns[0]->isHidden());
    EXPECT_FALSE(view->optAns[1]->isHidden());
    EXPECT_TRUE(view->optAns[2]->isHidden());
    EXPECT_TRUE(view->optAns[3]->isHidden());
    EXPECT_EQ(QSet<QString>({view->optAns[0]->text(), view->optAns[1]->text()}), QSet<QString>({"意0", "意1"}));
    Answer(false);
    Answer(true);
    Answer(true);
    EXPECT_EQ(messages.shown.back().text, "本次共测试了2个单词,有1次错误！还要继续努力喔！");
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 2);
}

TEST_F(WordRRKTest, KeyboardChoosesWithArrowsAndJudgesWithEnter) {
    Start(5);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    const int right = OptionWith(true);
    const int start = right == 0 ? 1 : 0;
    view->optAns[start]->setFocus();
    for (int i = start; i != right; i += right > start ? 1 : -1)
        QTest::keyClick(QApplication::focusWidget(), right > start ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_TRUE(view->optAns[right]->isChecked());
    EXPECT_TRUE(view->cmdOK->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(state.TestedCount, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WordRRKTest, HidingTheEnglishWordAsksAgainAndStillSpeaks) {
    Start(5);
    output.played.clear();
    QTest::mouseClick(view->cmdEnglishVisible, Qt::LeftButton);
    EXPECT_TRUE(view->lblTestWord->isHidden());
    EXPECT_TRUE(view->cmdEnglishVisible->isHidden());
    EXPECT_EQ(view->cmdEnglishVisible->text(), "显示英语单词");
    EXPECT_EQ(Spoken(), QStringList{view->lblTestWord->text()});
    QTest::mouseClick(view->imgSound, Qt::LeftButton);
    EXPECT_EQ(Spoken().size(), 2);
    Answer(true);
    EXPECT_EQ(view->lblTestedNum->text(), "1/5");

    // Shown again: the button is back with its caption, the progress cleared.
    view->hide();
    view->show();
    EXPECT_FALSE(view->cmdEnglishVisible->isHidden());
    EXPECT_EQ(view->cmdEnglishVisible->text(), "显示英语单词");
    EXPECT_TRUE(view->lblTestedNum->text().isEmpty());
    QTest::mouseClick(view->cmdEnglishVisible, Qt::LeftButton);
    EXPECT_FALSE(view->lblTestWord->isHidden());
    EXPECT_EQ(view->cmdEnglishVisible->text(), "隐藏英语单词");
}

}  // namespace
