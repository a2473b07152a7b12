#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "games/FlipCard.h"
#include "games/GamePicture.h"
#include "games/WordFFK.h"
#include "tests/support/GameFixture.h"

namespace {

const QString kLost = "没有过关啊，你要努力喔！！";
const QString kWon = "恭喜你过关啦，你好棒喔！！";

class FlipGameTest : public GameFixture {
protected:
    void Start(const QStringList& spellings) {
        std::vector<TempInstall::Word> unit;
        for (const QString& english : spellings) unit.push_back({0, 0, english, "中文" + english});
        ASSERT_TRUE(LoadUnit(unit));
        for (const QString& english : spellings) {
            StorePicture(english);
            install.WriteFile("Common/voice/" + english + ".wav", TempInstall::MakeWav(0.05));
        }
        StoreFeedbackSounds();
        for (int n = 1; n <= 3; ++n)
            install.WriteFile(QString("Bin/AppPics/Background%1.jpg").arg(n), TempInstall::MakeJpeg(80 + n, 60));
        view = std::make_unique<WordFFK>(context, nullptr);
        view->resize(800, 600);
        view->show();
        words.ResetRunFlags();
        view->StartGameFFK();
    }

    // The card dealt as the partner of card i.
    int PartnerOf(int i) const {
        const FlipRules& rules = view->Rules();
        if (i >= rules.GroupSize()) return rules.Tag(i);
        for (int c = rules.GroupSize(); c < 2 * rules.GroupSize(); ++c)
            if (rules.Tag(c) == i) return c;
        return -1;
    }

    // Some card of another pair than card i's.
    int StrangerOf(int i) const {
        for (int c = 0; c < 2 * view->Rules().GroupSize(); ++c)
            if (c != i && c != PartnerOf(i) && view->PicWord[c]->isVisible()) return c;
        return -1;
    }

    void Click(int i) { QTest::mouseClick(view->PicWord[i], Qt::LeftButton); }

    std::unique_ptr<WordFFK> view;
};

TEST_F(FlipGameTest, FiveWordsDealTenCardsWithPartnersInTheOtherHalf) {
    // Group order c a e b d; background 2; partners 3 0 4 1 2 (a repeated 3
    // is drawn again); coins 1 0 1 0 1.
    random.draws = {2, 0, 4, 1, 3, 1, 3, 3, 0, 4, 1, 2, 1, 0, 1, 0, 1};
    Start({"apple", "bird", "cat", "dog", "egg"});

    const FlipRules& rules = view->Rules();
    EXPECT_EQ(rules.GroupWords, (std::vector<QString>{"cat", "apple", "egg", "bird", "dog"}));
    EXPECT_EQ(view->BackgroundNo(), 2);
    EXPECT_EQ(view->PicGame->Picture().width(), 82);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view->PicWord[i]->isVisible(), i < 10) << i;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rules.Tag(i), -1);
    EXPECT_EQ((std::vector<int>{rules.Tag(5), rules.Tag(6), rules.Tag(7), rules.Tag(8), rules.Tag(9)}),
              (std::vector<int>{3, 0, 4, 1, 2}));

    const int coins[] = {1, 0, 1, 0, 1};
    for (int c = 5; c < 10; ++c) {
        const int k = rules.Tag(c);
        const QString english = rules.GroupWords[c - 5];
        const int textCard = coins[c - 5] == 1 ? c : k;
        const int pictureCard = textCard == c ? k : c;
        EXPECT_EQ(view->PicWord[textCard]->lblWord->text(), english);
        EXPECT_TRUE(view->PicWord[textCard]->imgWord->Picture().isNull());
        EXPECT_TRUE(view->PicWord[pictureCard]->lblWord->text().isEmpty());
        EXPECT_FALSE(view->PicWord[pictureCard]->imgWord->Picture().isNull());
        EXPECT_EQ(view->PicWord[pictureCard]->imgWord->accessibleName(), english);
        EXPECT_EQ(view->PicWord[pictureCard]->accessibleName(), english);
        // The picture went back to its scrambled form.
        EXPECT_TRUE(install.Exists("Common/pics/" + english + ".pet"));
        EXPECT_FALSE(install.Exists("Common/pics/" + english + ".jpg"));
    }
}

TEST_F(FlipGameTest, ClickingTheSelectedCardAgainChangesNothing) {
    Start({"apple", "bird", "cat"});
    Click(0);
    EXPECT_EQ(view->Rules().SelectedCard, 0);
    EXPECT_TRUE(view->PicWord[0]->Highlighted());
    // Its text or picture is part of the card.
    QTest::mouseClick(view->PicWord[0]->lblWord, Qt::LeftButton);
    QTest::mouseClick(view->PicWord[0]->imgWord, Qt::LeftButton);
    EXPECT_EQ(view->Rules().SelectedCard, 0);
    EXPECT_EQ(view->Rules().MissCount, 0);
    EXPECT_TRUE(view->PicWord[0]->Highlighted());
    EXPECT_TRUE(output.played.isEmpty());
}

TEST_F(FlipGameTest, AMatchClearsThePairAndSpeaksItsWord) {
    Start({"apple", "bird", "cat"});
    const int partner = PartnerOf(1);
    QTest::mouseClick(view->PicWord[1]->imgWord, Qt::LeftButton);
    QTest::mouseClick(view->PicWord[partner]->lblWord, Qt::LeftButton);
    EXPECT_FALSE(view->PicWord[1]->isVisible());
    EXPECT_FALSE(view->PicWord[partner]->isVisible());
    EXPECT_EQ(view->Rules().SelectedCard, -1);
    EXPECT_EQ(Spoken(), QStringList{view->Rules().CardWord(partner)});
    EXPECT_TRUE(install.Exists("Common/voice/" + view->Rules().CardWord(partner) + ".abw"));
}

TEST_F(FlipGameTest, AMissLeavesNoHighlightAndPlaysTheFailureSound) {
    Start({"apple", "bird", "cat"});
    const int stranger = StrangerOf(0);
    Click(0);
    Click(stranger);
    EXPECT_FALSE(view->PicWord[0]->Highlighted());
    EXPECT_FALSE(view->PicWord[stranger]->Highlighted());
    EXPECT_EQ(view->PicWord[0]->lblWord->styleSheet(), "color: black;");
    EXPECT_TRUE(view->PicWord[0]->isVisible());
    EXPECT_EQ(view->Rules().MissCount, 1);
    EXPECT_EQ(Spoken(), QStringList{"FailWav0"});
}

TEST_F(FlipGameTest, TheThirdMissShowsTheMessageWithoutTheFailureSoundAndDealsAgain) {
    Start({"apple", "bird", "cat"});
    for (int miss = 0; miss < 3; ++miss) {
        Click(0);
        Click(StrangerOf(0));
    }
    EXPECT_EQ(Spoken(), (QStringList{"FailWav0", "FailWav0"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kLost);
    EXPECT_EQ(messages.shown[0].title, "测试版");
    EXPECT_EQ(view->Rules().MissCount, 0);
    EXPECT_EQ(view->Rules().SelectedCard, -1);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(view->PicWord[i]->isVisible());
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(view->PicWord[i]->Highlighted());
}

TEST_F(FlipGameTest, ClearingTheBoardPlaysSuccessShowsTheMessageAndDealsTheSameWords) {
    Start({"apple", "bird"});
    const std::vector<QString> group = view->Rules().GroupWords;
    random.draws = {2, 1, 0, 1, 1};  // the next deal: background 3, partners 1 0, coins 1 1
    Click(2);
    Click(PartnerOf(2));
    EXPECT_TRUE(messages.shown.empty());
    Click(3);
    Click(PartnerOf(3));
    const QStringList played = Spoken();
    ASSERT_EQ(played.size(), 3);
    EXPECT_EQ(played[2], "SuccessWav1");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kWon);
    EXPECT_EQ(view->Rules().GroupWords, group);
    EXPECT_EQ(view->BackgroundNo(), 3);
    EXPECT_EQ(view->Rules().Tag(2), 1);
    EXPECT_EQ(view->Rules().Tag(3), 0);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(view->PicWord[i]->isVisible());
    EXPECT_EQ(view->PicWord[2]->lblWord->text(), group[0]);
    EXPECT_EQ(view->PicWord[1]->imgWord->accessibleName(), group[0]);
}

TEST_F(FlipGameTest, ADuplicatedSpellingIsDealtOnce) {
    // The first eight words hold "cat" twice; the group takes it once.
    random.draws = {0, 3, 1, 2, 4, 5, 6, 7};
    Start({"cat", "dog", "egg", "cat", "fox", "hen", "owl", "pig", "yak"});
    const FlipRules& rules = view->Rules();
    EXPECT_EQ(rules.GroupWords, (std::vector<QString>{"cat", "dog", "egg", "fox", "hen", "owl", "pig"}));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view->PicWord[i]->isVisible(), i < 14) << i;
    for (int c = 7; c < 14; ++c) EXPECT_EQ(rules.CardWord(rules.Tag(c)), rules.GroupWords[c - 7]);
}

TEST_F(FlipGameTest, NextDealsTheUnitsFirstEightWordsInANewOrder) {
    Start({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    random.draws = {7, 6, 5, 4, 3, 2, 1, 0};
    view->cmdNext->click();
    EXPECT_EQ(view->Rules().GroupWords, (std::vector<QString>{"h", "g", "f", "e", "d", "c", "b", "a"}));
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(view->PicWord[i]->isVisible());
}

TEST_F(FlipGameTest, RestartDealsAgainAndDropsTheSelection) {
    Start({"apple", "bird", "cat"});
    Click(0);
    Click(StrangerOf(0));
    Click(1);
    view->cmdRestart->click();
    EXPECT_EQ(view->Rules().SelectedCard, -1);
    EXPECT_EQ(view->Rules().MissCount, 0);
    EXPECT_FALSE(view->PicWord[1]->Highlighted());
}

TEST_F(FlipGameTest, AUnitWithoutWordsShowsAnEmptyBoardAndANote) {
    ASSERT_TRUE(LoadUnit({{0, 0, "cat", "猫"}}));
    state.WordCount = 0;
    view = std::make_unique<WordFFK>(context, nullptr);
    view->resize(800, 600);
    view->show();
    view->StartGameFFK();
    for (int i = 0; i < 16; ++i) EXPECT_FALSE(view->PicWord[i]->isVisible());
    EXPECT_TRUE(view->lblNote->isVisible());
    EXPECT_FALSE(view->cmdRestart->isEnabled());
    EXPECT_FALSE(view->cmdNext->isEnabled());
}

TEST_F(FlipGameTest, ThePupilPlaysWithTheKeyboardAlone) {
    Start({"apple", "bird", "cat", "dog", "egg", "fox"});
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->PicWord[0]->setFocus();
    QTest::keyClick(view->PicWord[0], Qt::Key_Right);
    EXPECT_TRUE(view->PicWord[1]->hasFocus());
    QTest::keyClick(view->PicWord[1], Qt::Key_Down);
    EXPECT_TRUE(view->PicWord[5]->hasFocus());
    QTest::keyClick(view->PicWord[5], Qt::Key_Left);
    QTest::keyClick(view->PicWord[4], Qt::Key_Left);
    EXPECT_TRUE(view->PicWord[3]->hasFocus());

    // Turn card 3 and its partner, found by walking the grid.
    QTest::keyClick(view->PicWord[3], Qt::Key_Space);
    EXPECT_EQ(view->Rules().SelectedCard, 3);
    const int partner = PartnerOf(3);
    for (int at = 3; at != partner;) {
        const int step = partner > at ? 1 : -1;
        QTest::keyClick(view->PicWord[at], step > 0 ? Qt::Key_Right : Qt::Key_Left);
        at += step;
        ASSERT_TRUE(view->PicWord[at]->hasFocus());
    }
    QTest::keyClick(view->PicWord[partner], Qt::Key_Return);
    EXPECT_FALSE(view->PicWord[3]->isVisible());
    EXPECT_FALSE(view->PicWord[partner]->isVisible());
    EXPECT_FALSE(view->PicWord[partner]->hasFocus());
}

TEST(FlipRulesTest, CardsFillABoardOfAnySize) {
    const QRect first = FlipRules::CardRect(0, QSize(752, 495));
    EXPECT_EQ(first, QRect(8, 8, 184, 119));
    const QRect last = FlipRules::CardRect(15, QSize(1504, 990));
    EXPECT_EQ(last.topLeft(), QPoint(1120, 736));
    EXPECT_EQ(last.size(), QSize(368, 238));
    EXPECT_EQ(FlipRules::CardRect(5, QSize(752, 495)).topLeft(), QPoint(192, 128));
}

}  // namespace
