#include "tests/support/ViewFixture.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

// Units of 19, 8 and 9 words "w0", "w1", …; w5 has no picture.
class WordPicListTest : public ViewFixture {
protected:
    void SetUp() override {
        CreateUnits({NumberedWords(19), NumberedWords(8), NumberedWords(9)}, {"w5"});
        view->resize(900, 560);
        view->show();
        view->LoadPics();
    }
    // The shown slots' words (picture named as its caption), "*" on the bordered one, then whether 上一组 and 下一组 work.
    QString Shown() const {
        QStringList shown;
        for (int i = 0; i < 8; ++i)
            if (!view->imgWord[i]->isHidden() || !view->lblWord[i]->isHidden())
                shown << (view->imgWord[i]->isHidden() || view->lblWord[i]->isHidden() || view->imgWord[i]->accessibleName() != view->lblWord[i]->text()
                              ? "?" : view->lblWord[i]->text() + (view->imgWord[i]->HasBorder() ? "*" : ""));
        return shown.join(' ') + QString(" |%1%2").arg(view->cmdPrevGroup->isEnabled()).arg(view->cmdNextGroup->isEnabled());
    }
    std::unique_ptr<WordPicList> view = std::make_unique<WordPicList>(context, nullptr);
};

TEST_F(WordPicListTest, GroupsOfEightPageForwardAndBackAndEachUnitStartsAtItsFirst) {
    const std::vector<std::tuple<int, QString, QString>> rows = {{1, "", "w0* w1 w2 w3 w4 w5 w6 w7 |00"}, {2, "", "w0* w1 w2 w3 w4 w5 w6 w7 |01"},
        {2, ">", "w8* |10"}, {0, ">", "w8* w9 w10 w11 w12 w13 w14 w15 |11"}, {0, ">>", "w16* w17 w18 |10"},
        {0, ">><", "w8* w9 w10 w11 w12 w13 w14 w15 |11"}, {0, ">><<", "w0* w1 w2 w3 w4 w5 w6 w7 |01"}};
    for (const auto& [unit, clicks, shown] : rows) {
        state.CurUnit = static_cast<qint16>(unit);
        ASSERT_TRUE(words.LoadUnitWords(0, unit));
        view->LoadPics();
        for (const QChar click : clicks) QTest::mouseClick(click == '>' ? view->cmdNextGroup : view->cmdPrevGroup, Qt::LeftButton);
        EXPECT_EQ(Shown(), shown) << "unit " << unit << " " << clicks.toStdString();
    }
    EXPECT_FALSE(!messages.shown.empty() || install.Exists("Common/pics/w0.jpg") || install.Exists("Common/pics/w18.jpg")) << "no message, left plain";
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg")) << "w5 showed the default";
}

// A click (or Space) speaks without moving the mark; a double click (or Enter) studies the word, and
// the group stays for the next showing. Once the last group disables 下一组, the keys stay with the pictures.
TEST_F(WordPicListTest, AClickSpeaksTheGroupsWordADoubleClickStudiesItAndTheLastGroupKeepsTheKeys) {
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    const auto nextGroupBySpace = [&] { view->cmdNextGroup->setFocus(Qt::TabFocusReason); QTest::keyClick(view->cmdNextGroup, Qt::Key_Space); };
    nextGroupBySpace();
    QTest::mouseClick(view->imgWord[3], Qt::LeftButton);
    QTest::mouseClick(view->lblWord[7], Qt::LeftButton);
    QTest::mouseClick(view->lblWord[6], Qt::RightButton);
    view->imgWord[4]->setFocus();
    QTest::keyClick(view->imgWord[4], Qt::Key_Space);
    EXPECT_EQ(Spoken(), (QStringList{"w11", "w15", "w12"}));
    EXPECT_EQ(Shown() + QString::number(host.modes.size()), "w8* w9 w10 w11 w12 w13 w14 w15 |110");
    QTest::keyClick(view->imgWord[4], Qt::Key_Return);
    const qint16 byEnter = state.CurWordIndex;
    QTest::mouseDClick(view->imgWord[7], Qt::LeftButton);
    EXPECT_EQ(QString("%1 %2").arg(byEnter).arg(state.CurWordIndex), "12 15");
    view->LoadPics();
    EXPECT_EQ(Shown(), "w8* w9 w10 w11 w12 w13 w14 w15 |11");
    state.CurWordIndex = 2;
    QTest::mouseClick(view->cmdReturn, Qt::LeftButton);
    EXPECT_EQ(std::make_pair(state.CurWordIndex, host.modes), std::make_pair(qint16(2), std::vector<qint16>{1, 1, 1}));
    nextGroupBySpace();
    output.played.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(Spoken().join(',') + " " + QString::number(host.modes.size()), "w16 3") << "返回普通视图 got the key";
}

TEST_F(WordPicListTest, PicturesGrowWithTheViewInTwoRowsOfFour) {
    const QRect first = view->imgWord[0]->geometry(), fourth = view->imgWord[3]->geometry();
    EXPECT_TRUE(first.left() == view->imgWord[4]->geometry().left() && view->imgWord[4]->geometry().top() > view->lblWord[0]->geometry().bottom());
    EXPECT_TRUE(fourth.left() > view->imgWord[2]->geometry().right() && fourth.right() <= view->width());
    EXPECT_TRUE(view->cmdReturn->geometry().bottom() <= view->height() && view->cmdPrevGroup->geometry().top() > view->lblWord[4]->geometry().bottom());
    EXPECT_GT(first.width(), 167) << "larger than the original layout's 167 x 117 pixels";
    EXPECT_NEAR(first.width() * 1.0 / first.height(), 2500.0 / 1750.0, 0.05);
    view->resize(1200, 800);
    EXPECT_GT(view->imgWord[0]->width(), first.width());
}
