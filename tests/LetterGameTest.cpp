#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "tests/support/GameFixture.h"
#include "tests/support/ModalDriver.h"

class LetterGameTest : public GameFixture {
protected:
    // Loads the unit, answers the first picture question (after two wrong picks when asked) and starts the game.
    void Start(const std::vector<TempInstall::Word>& unit, bool wrongFirst = false) {
        ASSERT_TRUE(LoadUnit(unit));
        AddPicture("ffe");
        view = std::make_unique<WordPPK2>(context, nullptr);
        view->resize(896, 576);
        view->show();
        words.PrepareArrangeRun();
        ExpectQuestion(wrongFirst);
        view->InitGamePPK();
        output.played.clear();  // the question spoke its word
    }
    void ExpectQuestion(bool wrongFirst = false) {
        WhenModal([=, this](QWidget* modal) {
            auto* question = dynamic_cast<FormRRK*>(modal);
            ASSERT_TRUE(question) << "no picture question";
            asked << state.Words[view->PuzzleIndex].English;
            for (int pick = wrongFirst ? 0 : 2, i = 0; pick < 3; ++pick, i = 0) {
                while ((question->optAns[i]->text() == state.Words[view->PuzzleIndex].Chinese) != (pick == 2)) ++i;
                question->optAns[i]->click();
                question->cmdOK->click();
            }
        });
    }
    // The tip's word is remembered, the tip closed once it may be, then the next question answered.
    void ExpectTip(bool thenQuestion = true) {
        WhenModal([=, this](QWidget* modal) {
            auto* tip = dynamic_cast<FormTip*>(modal);
            ASSERT_TRUE(tip) << "no tip window";
            tips << tip->lblEnglish->text() + " " + tip->lblChinese->text();
            ASSERT_TRUE(QTest::qWaitFor([tip] { return tip->cmdOK->isEnabled(); }, 3000));
            tip->cmdOK->click();
            if (thenQuestion) ExpectQuestion();
        });
    }
    QLabel* Tile(int i) const { return view->picChar[i]; }
    // Carries tile i with the mouse so that its top left corner lands on left.
    void Place(int i, QPoint left) {
        QTest::mouseClick(Tile(i), Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(view->Carrying);
        QTest::mouseMove(view.get(), left + QPoint(5, 5));
        ASSERT_EQ(Tile(i)->pos(), left);
        QTest::mouseClick(Tile(i), Qt::LeftButton, {}, QPoint(5, 5));
    }
    // The same with the keys alone: Space picks the tile up, the arrows step it a cell at a time, Enter drops it.
    void KeyPlace(int i, QPoint left) {
        QTest::keyClick(Tile(i), Qt::Key_Space);
        for (int step = 0; step < 30 && Tile(i)->pos() != left; ++step) {
            const QPoint to = left - Tile(i)->pos();
            QTest::keyClick(Tile(i), to.x() ? (to.x() > 0 ? Qt::Key_Right : Qt::Key_Left) : to.y() > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
        QTest::keyClick(Tile(i), Qt::Key_Return);
    }
    void SpellInARow(std::vector<int> order = {1, 2, 3}) {
        for (size_t n = 0; n < order.size(); ++n) Place(order[n], QPoint(128 + 64 * int(n), 216));
    }
    // What the pupil met: the questions, the tips, the sounds, the progress, the tiles, the views asked for;
    // then word w's tests, misses, rights and whether it was tested.
    QString Seen(int w = 0) const {
        const CWordType& word = state.Words[w];
        return QStringList{asked.join(','), tips.join(','), Spoken().join(','), QString::number(state.TestedCount), view->lblResult->text(),
                           QString::number(view->TileCount), QString::number(host.modes.size()),
                           QString("%1 %2 %3 %4").arg(word.testNum).arg(word.errNum).arg(word.rightNum).arg(word.Tested)}.join(" | ");
    }

    std::unique_ptr<WordPPK2> view;
    QStringList asked, tips;
};

TEST_F(LetterGameTest, ASpelledWordIsCountedSpokenAndShownInTheTipAndEqualLettersAreInterchangeable) {
    Start({{0, 0, "cat", "猫"}, {0, 0, "ice cream", "冰淇淋"}, {0, 0, "book", "书"}, {0, 0, "dog", "狗"}});
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(Tile(i)->isVisible() && Tile(i)->text() == QString("cat")[i - 1] && Tile(i)->size() == QSize(64, 72)) << i;
    Place(1, {128, 216});  // in order, but the gaps add up to more than 1.3 widths each: not yet
    Place(2, {192, 216});
    Place(3, {300, 216});
    EXPECT_EQ(Seen(), "cat |  |  | 0 | 单词排排看 0/3 | 3 | 0 | 0 0 0 0");
    ExpectTip();
    Place(3, {256, 216});
    // Success, the word, then the next question speaks its own word: never the one with a blank.
    EXPECT_EQ(Seen(), "cat,book | cat 猫 | SuccessWav1,cat,book | 1 | 单词排排看 1/3 | 4 | 0 | 1 0 1 1");
    ExpectTip();
    SpellInARow({1, 3, 2, 4});
    EXPECT_EQ(Seen(2), "cat,book,dog | cat 猫,book 书 | SuccessWav1,cat,book,SuccessWav1,book,dog | 2 | 单词排排看 2/3 | 3 | 0 | 1 0 1 1");
}

// However many wrong picks, a failed picture question counts one miss: the word is not mastered and comes back.
TEST_F(LetterGameTest, AFailedPictureQuestionCountsOneMiss) {
    Start({{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}, {0, 0, "hen", "母鸡"}, {0, 0, "pig", "猪"}}, true);
    EXPECT_EQ(view->WordMisses, 1);
    ExpectTip();
    SpellInARow();
    EXPECT_EQ(Seen(), "cat,cat | cat 猫 | SuccessWav1,cat,cat | 0 | 单词排排看 0/4 | 3 | 0 | 1 1 0 0");
}

// Giving up shows the tip, drops the carried tile, scatters again and counts a miss; hiding the game drops a carried tile too.
TEST_F(LetterGameTest, GivingUpShowsTheTipScattersAgainAndCountsAMiss) {
    Start({{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}});
    QTest::mouseClick(Tile(1), Qt::LeftButton);
    random.draws = {2, 3, 4, 5, 6, 2};
    ExpectTip(false);
    view->cmdTip->click();
    EXPECT_EQ(Seen().section(" | ", 0, 6) + " " + QString::number(view->WordMisses), "cat | cat 猫 | cat | 0 | 单词排排看 0/2 | 3 | 0 1");
    EXPECT_TRUE(view->cmdTip->isEnabled() && !view->Carrying && !Tile(1)->property("carried").toBool());
    EXPECT_EQ((std::vector<QPoint>{Tile(1)->pos(), Tile(2)->pos(), Tile(3)->pos()}), (std::vector<QPoint>{{3 * 64, 4 * 72}, {5 * 64, 6 * 72}, {7 * 64, 3 * 72}}));
    QTest::mouseClick(Tile(3), Qt::LeftButton);
    ASSERT_TRUE(view->Carrying && Tile(3)->property("carried").toBool());
    view->hide();
    view->show();
    EXPECT_TRUE(!view->Carrying && !Tile(3)->property("carried").toBool() && view->CarriedTile == -1);
    ExpectTip();
    SpellInARow();
    EXPECT_EQ(Seen().section(" | ", 7) + " " + asked.join(','), "1 1 0 0 cat,cat");
}

// The last word marks the unit; Yes plays the unit again, No returns to the read view.
TEST_F(LetterGameTest, FinishingMarksTheUnitAndYesPlaysAgainWhileNoLeaves) {
    Start({{0, 0, "a", "一个"}, {0, 0, "o'clock", "……点钟"}});  // one letter: complete at its first drop
    ExpectQuestion();
    for (int click = 0; click < 2; ++click) QTest::mouseClick(Tile(1), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text + " / " + messages.shown[0].title, "恭喜你熟悉了全部单词，重来一遍? / 单词排排看");
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Seen(), "a,a |  | SuccessWav1,a | 0 | 单词排排看 0/1 | 1 | 0 | 1 0 1 0");
    EXPECT_EQ(install.OnScrambled("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0"), "1");
    messages.Answer(MsgAnswer::No);
    for (int click = 0; click < 2; ++click) QTest::mouseClick(Tile(1), Qt::LeftButton);
    EXPECT_EQ(Seen().section(" | ", 0, 6), "a,a |  | SuccessWav1,a,SuccessWav1 | 1 | 单词排排看 1/1 | 0 | 1");
    EXPECT_EQ(QString("%1 %2 %3").arg(host.modes.at(0)).arg(view->picChar.size()).arg(state.BookUnits[0].UnitStatus), "1 1 1");
}

TEST_F(LetterGameTest, AWordIsSpelledWithTheKeysAlone) {
    Start({{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}});
    ExpectTip();
    for (int n = 1; n <= 3; ++n) KeyPlace(n, QPoint(128 + 64 * (n - 1), 216));
    EXPECT_EQ(Seen(), "cat,dog | cat 猫 | SuccessWav1,cat,dog | 1 | 单词排排看 1/2 | 3 | 0 | 1 0 1 1");
}
