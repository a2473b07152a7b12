#include "games/FlipCard.h"
#include "games/GamePicture.h"
#include "games/WordFFK.h"
#include "tests/support/GameFixture.h"

class FlipGameTest : public GameFixture {
protected:
    void Start(const QStringList& spellings, std::deque<int> draws = {}) {
        std::vector<TempInstall::Word> unit;
        for (const QString& english : spellings) unit.push_back({0, 0, english, "中文" + english});
        ASSERT_TRUE(LoadUnit(unit));
        view = std::make_unique<WordFFK>(context, nullptr);
        view->resize(800, 600);
        view->show();
        words.ResetRunFlags();
        random.draws = std::move(draws);
        view->StartGameFFK();
    }
    // A card's word, its picture's name in brackets, a star on the turned card, a dot for a card not on the board.
    QString Board() const {
        QStringList cards;
        for (FlipCard* card : view->PicWord) {
            const QString shown = card->imgWord->Picture().isNull() ? card->lblWord->text()
                : card->lblWord->text().isEmpty() && card->accessibleName() == card->imgWord->accessibleName()
                    ? "[" + card->imgWord->accessibleName() + "]" : "?";
            cards << (card->isVisible() ? shown + (card->Highlighted() ? "*" : "") : ".");
        }
        return cards.join(' ');
    }
    int PartnerOf(int i) const {
        for (int c = 0; c < 16; ++c) if (view->Rules().Tag(c) == i || (c == view->Rules().Tag(i) && i >= view->Rules().GroupSize())) return c;
        return -1;
    }
    void Click(int i) { QTest::mouseClick(view->PicWord[i], Qt::LeftButton); }

    std::unique_ptr<WordFFK> view;
};

// Group order c a e b d; background 2; partners 3 0 4 1 2 (a 5 past the group and a repeated 3 are
// drawn again); coins 1 0 1 0 1: the word on the second card or on its partner.
TEST_F(FlipGameTest, FiveWordsDealTenCardsWithPartnersInTheOtherHalfAndScrambledPictures) {
    Start({"apple", "bird", "cat", "dog", "egg"}, {2, 0, 4, 1, 3, 1, 3, 5, 3, 0, 4, 1, 2, 1, 0, 1, 0, 1});
    EXPECT_EQ(view->Rules().GroupWords, (std::vector<QString>{"cat", "apple", "egg", "bird", "dog"}));
    EXPECT_EQ(QString("%1 %2").arg(view->BackgroundNo()).arg(view->PicGame->Picture().width()), "2 82");
    EXPECT_EQ(Board(), "apple bird [dog] [cat] [egg] cat [apple] egg [bird] dog" + QString(" .").repeated(6));
    for (const QString english : {"apple", "bird", "cat", "dog", "egg"}) EXPECT_TRUE(install.Exists("Common/pics/" + english + ".pet") && !install.Exists("Common/pics/" + english + ".jpg"));
}

TEST_F(FlipGameTest, TurningThePartnerClearsThePairAndSpeaksItsWordTurningTheSameCardNothing) {
    Start({"apple", "bird", "cat"});
    const QString dealt = Board();
    for (QWidget* part : {static_cast<QWidget*>(view->PicWord[0]), static_cast<QWidget*>(view->PicWord[0]->lblWord),
                          static_cast<QWidget*>(view->PicWord[0]->imgWord)})
        QTest::mouseClick(part, Qt::LeftButton);
    EXPECT_EQ(Board() + " " + QString::number(view->Rules().MissCount) + Spoken().join(','), dealt.section(' ', 0, 0) + "* " + dealt.section(' ', 1) + " 0");
    const int partner = PartnerOf(0);
    QTest::mouseClick(view->PicWord[partner]->lblWord, Qt::LeftButton);
    EXPECT_FALSE(view->PicWord[0]->isVisible() || view->PicWord[partner]->isVisible() || view->Rules().SelectedCard != -1);
    EXPECT_EQ(Spoken(), QStringList{view->Rules().CardWord(partner)});
    EXPECT_TRUE(install.Exists("Common/voice/" + view->Rules().CardWord(partner) + ".abw"));
}

// Each miss plays the failure sound and turns both cards back; the third shows the message instead and deals again.
TEST_F(FlipGameTest, TheThirdMissShowsTheMessageWithoutTheFailureSoundAndDealsAgain) {
    Start({"apple", "bird", "cat"});
    const QString dealt = Board();
    for (int miss = 1; miss <= 3; ++miss) {
        Click(0);
        Click(1);  // the first half holds no partners
        EXPECT_EQ(Board(), dealt) << miss;
        EXPECT_EQ(view->Rules().MissCount, miss % 3) << miss;
        EXPECT_EQ(Spoken(), QStringList(std::min(miss, 2), "FailWav0")) << miss;
        EXPECT_EQ(messages.shown.size(), miss / 3u) << miss;
    }
    EXPECT_EQ(messages.shown[0].text + " / " + messages.shown[0].title, "没有过关啊，你要努力喔！！ / 测试版");
    EXPECT_TRUE(view->Rules().SelectedCard == -1 && view->PicWord[0]->lblWord->styleSheet() == "color: black;");
}

TEST_F(FlipGameTest, ClearingTheBoardPlaysSuccessShowsTheMessageAndDealsTheSameWordsAgain) {
    Start({"apple", "bird"});
    random.draws = {2, 1, 0, 1, 1};  // the next deal: background 3, partners 1 0, coins 1 1
    Click(2);
    Click(PartnerOf(2));
    EXPECT_TRUE(messages.shown.empty());
    Click(3);
    Click(PartnerOf(3));
    EXPECT_EQ(Spoken().mid(2), QStringList{"SuccessWav1"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text + " " + QString::number(view->BackgroundNo()), "恭喜你过关啦，你好棒喔！！ 3");
    EXPECT_EQ(Board(), "[bird] [apple] apple bird" + QString(" .").repeated(12));
}

// A group takes the first eight words, each spelling once; Restart deals the same words, Next draws them anew,
// both drop the turned card and the misses.
TEST_F(FlipGameTest, AGroupTakesTheFirstEightWordsEachSpellingOnceAndRestartOrNextDealsAgain) {
    Start({"cat", "dog", "egg", "cat", "fox", "hen", "owl", "pig", "yak"}, {0, 3, 1, 2, 4, 5, 6, 7});
    EXPECT_EQ(view->Rules().GroupWords, (std::vector<QString>{"cat", "dog", "egg", "fox", "hen", "owl", "pig"}));
    EXPECT_EQ(Board().count('.'), 2);
    for (QPushButton* button : {view->cmdRestart, view->cmdNext}) {
        Click(0);
        Click(1);  // the first half holds no partners
        Click(2);
        random.draws = {7, 6, 5, 4, 3, 2, 1, 0};
        button->click();
        EXPECT_TRUE(view->Rules().SelectedCard == -1 && view->Rules().MissCount == 0 && !Board().contains('*'));
    }
    EXPECT_EQ(view->Rules().GroupWords, (std::vector<QString>{"pig", "owl", "hen", "fox", "cat", "egg", "dog"}));
}

// The arrows walk the cards, a row's end leading to the next row's start, a cleared card skipped; Enter or Space
// turns the card that has the focus.
TEST_F(FlipGameTest, TheKeysWalkAndTurnTheCards) {
    Start({"apple", "bird", "cat"});
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    const auto focused = [&] { int i = 0; while (i < 16 && !view->PicWord[i]->hasFocus()) ++i; return i; };
    view->PicWord[0]->setFocus();
    QList<int> walked;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}) {
        QTest::keyClick(view->PicWord[focused()], key);
        walked << focused();
    }
    EXPECT_EQ(walked, QList<int>({1, 2, 3, 4, 4, 0, 0}));
    QTest::keyClick(view->PicWord[0], Qt::Key_Return);
    EXPECT_TRUE(view->PicWord[0]->Highlighted());
    const int partner = PartnerOf(0);
    QTest::keyClick(view->PicWord[partner], Qt::Key_Space);
    EXPECT_EQ(Spoken(), QStringList{view->Rules().CardWord(partner)});
    ASSERT_EQ(partner, 3);
    view->PicWord[4]->setFocus();
    QTest::keyClick(view->PicWord[4], Qt::Key_Left);
    EXPECT_EQ(focused(), 2) << "back along the row above, past the cleared card";
}

TEST(FlipRulesTest, CardsFillABoardOfAnySize) {
    EXPECT_EQ(FlipRules::CardRect(0, QSize(752, 495)), QRect(8, 8, 184, 119));
    EXPECT_EQ(FlipRules::CardRect(5, QSize(752, 495)).topLeft(), QPoint(192, 128));
    EXPECT_EQ(FlipRules::CardRect(15, QSize(1504, 990)), QRect(1120, 736, 368, 238));
}
