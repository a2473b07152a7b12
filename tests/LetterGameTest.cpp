#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "tests/support/GameFixture.h"
#include "tests/support/ModalDriver.h"

namespace {

const QString kAllDone = "恭喜你熟悉了全部单词，重来一遍?";
const QString kNotDone = "还没有完成游戏，你确定要结束吗?";

class LetterGameTest : public GameFixture {
protected:
    void Load(const std::vector<TempInstall::Word>& unit) {
        ASSERT_TRUE(LoadUnit(unit));
        for (const TempInstall::Word& w : unit) {
            StorePicture(w.english);
            install.WriteFile("Common/voice/" + w.english + ".wav", TempInstall::MakeWav(0.05));
        }
        StorePicture("ffe");
        StoreFeedbackSounds();
        for (int n = 1; n <= 4; ++n)
            install.WriteFile(QString("Bin/AppPics/Background%1.jpg").arg(n), TempInstall::MakeJpeg(60 + n, 40));
        view = std::make_unique<WordPPK2>(context, nullptr);
        view->resize(896, 576);
        view->show();
    }

    // The picture question before each word: the right meaning is picked,
    // after a wrong one when asked to. What comes next is set up once the
    // question has closed.
    void ExpectQuestion(bool wrongFirst = false, std::function<void()> next = {}) {
        WhenModal([=, this](QWidget* modal) {
            auto* question = dynamic_cast<FormRRK*>(modal);
            ASSERT_TRUE(question) << "no picture question";
            const QString meaning = state.Words[view->PuzzleIndex].Chinese;
            asked << state.Words[view->PuzzleIndex].English;
            if (wrongFirst) {
                for (int twice = 0; twice < 2; ++twice) {
                    for (int i = 0; i < 4; ++i) {
                        if (question->optAns[i]->isVisible() && question->optAns[i]->text() != meaning) {
                            question->optAns[i]->click();
                            break;
                        }
                    }
                    question->cmdOK->click();
                }
            }
            for (int i = 0; i < 4; ++i)
                if (question->optAns[i]->text() == meaning) question->optAns[i]->click();
            question->cmdOK->click();
            if (next) next();
        });
    }

    // The tip window: its word is remembered, and it is closed as soon as it may be.
    void ExpectTip(std::function<void()> next = {}) {
        WhenModal([=, this](QWidget* modal) {
            auto* tip = dynamic_cast<FormTip*>(modal);
            ASSERT_TRUE(tip) << "no tip window";
            tips << tip->lblEnglish->text() + " " + tip->lblChinese->text();
            ASSERT_TRUE(WaitFor([tip] { return tip->cmdOK->isEnabled(); }, 3000));
            tip->cmdOK->click();
            if (next) next();
        });
    }

    // The question speaks its word as it opens; the game's own sounds are counted from here.
    void Start(bool wrongFirst = false) {
        words.PrepareArrangeRun();
        ExpectQuestion(wrongFirst);
        view->InitGamePPK();
        output.played.clear();
    }

    QLabel* Tile(int i) const { return view->picChar[i]; }

    // Carries tile i with the mouse so that its top left corner lands on left.
    void Place(int i, QPoint left) {
        const QPoint grab(5, 5);
        QTest::mouseClick(Tile(i), Qt::LeftButton, {}, grab);
        ASSERT_TRUE(view->Carrying);
        QTest::mouseMove(view.get(), left + grab);
        ASSERT_EQ(Tile(i)->pos(), left);
        QTest::mouseClick(Tile(i), Qt::LeftButton, {}, grab);
    }

    // The tiles of the current word carried into one row, in the word's order.
    void SpellInARow(QPoint start = {128, 216}) {
        for (int i = 1; i <= view->TileCount; ++i) Place(i, start + QPoint((i - 1) * 64, 0));
    }

    int Stored(const QString& sql) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        const int value = install.Query(sql).toInt();
        ModuleCrpt::ScrambleHeader(install.DbPath());
        return value;
    }

    std::unique_ptr<WordPPK2> view;
    QStringList asked;
    QStringList tips;
};

TEST_F(LetterGameTest, ASpelledWordIsCountedSpokenAndShownInTheTip) {
    Load({{0, 0, "cat", "猫"}, {0, 0, "ice cream", "冰淇淋"}, {0, 0, "dog", "狗"}});
    Start();
    ASSERT_EQ(asked, QStringList{"cat"});
    EXPECT_EQ(view->lblResult->text(), "单词排排看 0/2");
    ASSERT_EQ(view->TileCount, 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(Tile(i)->isVisible());
        EXPECT_EQ(Tile(i)->text(), QString("cat").mid(i - 1, 1));
        EXPECT_EQ(Tile(i)->size(), view->picChar[0]->size());
    }

    // In order, but the gaps add up to more than 1.3 widths each: not yet.
    Place(1, {128, 216});
    Place(2, {192, 216});
    Place(3, {300, 216});
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_EQ(state.Words[0].testNum, 0);

    ExpectTip([this] { ExpectQuestion(); });
    Place(3, {256, 216});
    // Success, the word, then the next question speaks its own word.
    EXPECT_EQ(Spoken(), (QStringList{"SuccessWav1", "cat", "dog"}));
    EXPECT_EQ(tips, QStringList{"cat 猫"});
    const CWordType& cat = state.Words[0];
    EXPECT_EQ((std::vector<int>{cat.testNum, cat.errNum, cat.rightNum}), (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(cat.Tested);
    EXPECT_EQ(state.TestedCount, 1);
    EXPECT_EQ(view->lblResult->text(), "单词排排看 1/2");
    // The next word: never the one with a blank.
    EXPECT_EQ(asked, (QStringList{"cat", "dog"}));
    EXPECT_EQ(view->PuzzleWord, "dog");
    EXPECT_EQ(view->TileCount, 3);
}

TEST_F(LetterGameTest, AFailedPictureQuestionCountsOneMissHoweverManyWrongPicks) {
    Load({{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}, {0, 0, "hen", "母鸡"}, {0, 0, "pig", "猪"}});
    Start(true);
    EXPECT_EQ(view->WordMisses, 1);
    ExpectTip([this] { ExpectQuestion(); });
    SpellInARow();
    const CWordType& cat = state.Words[0];
    EXPECT_EQ((std::vector<int>{cat.testNum, cat.errNum, cat.rightNum}), (std::vector<int>{1, 1, 0}));
    EXPECT_FALSE(cat.Tested);
    EXPECT_EQ(state.TestedCount, 0);
    EXPECT_EQ(view->lblResult->text(), "单词排排看 0/4");
    // Still unmastered, the word comes back.
    EXPECT_EQ(asked, (QStringList{"cat", "cat"}));
}

TEST_F(LetterGameTest, GivingUpShowsTheTipScattersAgainAndCountsAMiss) {
    Load({{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}});
    Start();
    Place(1, {320, 288});
    random.draws = {2, 3, 4, 5, 6, 2};
    ExpectTip();
    view->cmdTip->click();
    EXPECT_EQ(tips, QStringList{"cat 猫"});
    EXPECT_EQ(Spoken(), QStringList{"cat"});
    EXPECT_EQ(view->WordMisses, 1);
    EXPECT_TRUE(view->cmdTip->isEnabled());
    EXPECT_EQ(Tile(1)->pos(), QPoint(3 * 64, 4 * 72));
    EXPECT_EQ(Tile(2)->pos(), QPoint(5 * 64, 6 * 72));
    EXPECT_EQ(Tile(3)->pos(), QPoint(7 * 64, 3 * 72));

    ExpectTip([this] { ExpectQuestion(); });
    SpellInARow();
    const CWordType& cat = state.Words[0];
    EXPECT_EQ((std::vector<int>{cat.testNum, cat.errNum, cat.rightNum}), (std::vector<int>{1, 1, 0}));
    EXPECT_FALSE(cat.Tested);
    EXPECT_EQ(state.TestedCount, 0);
}

TEST_F(LetterGameTest, EqualLettersAreInterchangeable) {
    Load({{0, 0, "book", "书"}, {0, 0, "dog", "狗"}});
    Start();
    ExpectTip([this] { ExpectQuestion(); });
    Place(1, {128, 216});
    Place(3, {192, 216});
    Place(2, {256, 216});
    Place(4, {320, 216});
    EXPECT_TRUE(state.Words[0].Tested);
}

TEST_F(LetterGameTest, FinishingMarksTheUnitAndNoReturnsToTheReadView) {
    // A one-letter word is complete at its first drop.
    Load({{0, 0, "a", "一个"}, {0, 0, "o'clock", "……点钟"}});
    Start();
    EXPECT_EQ(view->PlayableCount, 1);
    messages.Answer(MsgAnswer::No);
    QTest::mouseClick(Tile(1), Qt::LeftButton);
    QTest::mouseClick(Tile(1), Qt::LeftButton);
    EXPECT_EQ(Spoken(), QStringList{"SuccessWav1"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kAllDone);
    EXPECT_EQ(messages.shown[0].title, "单词排排看");
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 1);
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0"), 1);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
    EXPECT_EQ(view->TileCount, 0);
    EXPECT_EQ(view->picChar.size(), 1u);
    EXPECT_TRUE(tips.isEmpty());
}

TEST_F(LetterGameTest, FinishingAndAnsweringYesStartsAgain) {
    Load({{0, 0, "a", "一个"}});
    Start();
    ExpectQuestion();
    QTest::mouseClick(Tile(1), Qt::LeftButton);
    QTest::mouseClick(Tile(1), Qt::LeftButton);
    EXPECT_EQ(asked, (QStringList{"a", "a"}));
    EXPECT_EQ(state.TestedCount, 0);
    EXPECT_FALSE(state.Words[0].Tested);
    EXPECT_EQ(view->lblResult->text(), "单词排排看 0/1");
    EXPECT_TRUE(host.modes.empty());
}

TEST_F(LetterGameTest, AUnitWithoutPlayableWordsShowsNoTilesAndLeavesWithoutAsking) {
    Load({{0, 0, "ice cream", "冰淇淋"}, {0, 0, "o'clock", "……点钟"}});
    words.PrepareArrangeRun();
    view->InitGamePPK();
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(view->TileCount, 0);
    EXPECT_EQ(view->PlayableCount, 0);
    EXPECT_EQ(view->lblResult->text(), "这个单元没有可以拼写的单词。");
    EXPECT_FALSE(view->cmdTip->isEnabled());
    view->cmdReturn->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
}

TEST_F(LetterGameTest, LeavingEarlyAsksAndCancelKeepsTheGame) {
    Load({{0, 0, "cat", "猫"}});
    Start();
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(view->EndGame());
    EXPECT_EQ(messages.shown.back().text, kNotDone);
    EXPECT_EQ(messages.shown.back().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(view->TileCount, 3);
    EXPECT_TRUE(Tile(1)->isVisible());
    view->cmdReturn->click();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(view->TileCount, 0);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
}

TEST_F(LetterGameTest, AWordIsSpelledWithTheKeyboardAlone) {
    Load({{0, 0, "dog", "狗"}, {0, 0, "cat", "猫"}});
    Start();
    // Every tile starts in cell (1, 1); each goes one cell further right and one down.
    // The test platform does not hand the activation back when a dialog closes.
    view->activateWindow();
    ASSERT_TRUE(WaitFor([this] { return Tile(1)->hasFocus(); }, 2000));
    ExpectTip([this] { ExpectQuestion(); });
    for (int i = 1; i <= 3; ++i) {
        QWidget* tile = QApplication::focusWidget();
        ASSERT_EQ(tile, Tile(i));
        QTest::keyClick(tile, Qt::Key_Space);
        ASSERT_TRUE(view->Carrying);
        for (int step = 0; step < i; ++step) QTest::keyClick(tile, Qt::Key_Right);
        QTest::keyClick(tile, Qt::Key_Down);
        EXPECT_EQ(Tile(i)->pos(), QPoint(64 * (i + 1), 144));
        QTest::keyClick(tile, Qt::Key_Return);
        if (i < 3) QTest::keyClick(tile, Qt::Key_Tab);
    }
    EXPECT_TRUE(state.Words[0].Tested);
    EXPECT_EQ(tips, QStringList{"dog 狗"});
    EXPECT_EQ(asked, (QStringList{"dog", "cat"}));
}

TEST_F(LetterGameTest, ACarriedTileStopsAtTheBoardsEdgeAndTheArrowsWalkCells) {
    Load({{0, 0, "cat", "猫"}});
    Start();
    QTest::mouseClick(Tile(1), Qt::LeftButton, {}, QPoint(10, 10));
    view->BoardMouseMove(QPoint(12, 77));
    EXPECT_EQ(Tile(1)->pos(), QPoint(2, 67));
    // Over the tile the move is kept on the board; over the board it is not.
    QTest::mouseMove(Tile(1), QPoint(1, 15));
    EXPECT_EQ(Tile(1)->pos(), QPoint(0, 72));
    view->BoardMouseMove(QPoint(4, 4));
    EXPECT_EQ(Tile(1)->pos(), QPoint(-6, -6));
    QTest::keyClick(Tile(1), Qt::Key_Left);
    EXPECT_EQ(Tile(1)->pos(), QPoint(0, 0));
    QTest::mouseClick(Tile(1), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(view->Carrying);
    EXPECT_EQ(view->CarriedTile, -1);
    // Arrows move only a carried tile.
    QTest::keyClick(Tile(1), Qt::Key_Right);
    EXPECT_EQ(Tile(1)->pos(), QPoint(0, 0));
}

TEST_F(LetterGameTest, AfterTheBoardShrinksEveryTileIsOnIt) {
    Load({{0, 0, "dog", "狗"}, {0, 0, "cat", "猫"}});
    Start();
    Place(1, {800, 480});
    Place(2, {540, 300});
    view->resize(600, 400);
    ASSERT_EQ(view->size(), QSize(600, 400));
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(view->rect().contains(Tile(i)->geometry())) << i << " at " << Tile(i)->x() << "," << Tile(i)->y();
}

TEST_F(LetterGameTest, TheBoardsBackgroundsCycleAndTheBarButtonsWork) {
    Load({{0, 0, "cat", "猫"}});
    Start();
    EXPECT_EQ(view->BackgroundNo, 1);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(850, 540));
    EXPECT_EQ(view->BackgroundNo, 4);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(view->BackgroundNo, 3);
    // A quick second press on a tile drops it and leaves the background alone.
    QTest::mouseDClick(Tile(2), Qt::LeftButton);
    EXPECT_EQ(view->BackgroundNo, 3);

    view->imgHelp->click();
    EXPECT_EQ(host.helpShown, 1);
    QTest::keyClick(view->imgStandardAudio, Qt::Key_Space);
    EXPECT_EQ(Spoken(), QStringList{"cat"});
    EXPECT_EQ(view->imgStandardAudio->accessibleName(), "读单词");
    EXPECT_EQ(Tile(1)->accessibleName(), "");
    EXPECT_EQ(Tile(1)->text(), "c");
}

}  // namespace
