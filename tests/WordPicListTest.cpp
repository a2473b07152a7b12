#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "tests/support/ViewFixture.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

namespace {

class WordPicListTest : public ViewFixture {
protected:
    void Create(const std::vector<std::vector<TempInstall::Word>>& units, const QStringList& withoutPicture = {}) {
        CreateUnits(units, withoutPicture);
        view = std::make_unique<WordPicList>(context, nullptr);
        view->resize(900, 560);
        view->show();
        view->LoadPics();
    }

    int VisibleSlots() const {
        int count = 0;
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(view->imgWord[i]->isHidden(), view->lblWord[i]->isHidden());
            if (!view->imgWord[i]->isHidden()) ++count;
        }
        return count;
    }

    std::unique_ptr<WordPicList> view;
};

TEST_F(WordPicListTest, EightWordsMakeOneGroupWithBothButtonsOff) {
    Create({NumberedWords(8)}, {"w5"});
    EXPECT_EQ(VisibleSlots(), 8);
    EXPECT_EQ(view->GroupCount(), 8);
    EXPECT_FALSE(view->cmdNextGroup->isEnabled());
    EXPECT_FALSE(view->cmdPrevGroup->isEnabled());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(view->lblWord[i]->text(), QString("w%1").arg(i));
        EXPECT_EQ(view->imgWord[i]->accessibleName(), QString("w%1").arg(i));
        EXPECT_EQ(view->imgWord[i]->HasBorder(), i == 0);
    }
    // Every picture is scrambled again; the missing one shows the default.
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(install.Exists(QString("Common/pics/w%1.jpg").arg(i)));
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg"));
    EXPECT_EQ(view->cmdNextGroup->text(), "下一组      >>");
    EXPECT_EQ(view->cmdPrevGroup->text(), "<<      上一组");
    EXPECT_EQ(view->cmdReturn->text(), "返回普通视图");
}

TEST_F(WordPicListTest, NineteenWordsPageByEight) {
    Create({NumberedWords(19)});
    EXPECT_TRUE(view->cmdNextGroup->isEnabled());
    EXPECT_FALSE(view->cmdPrevGroup->isEnabled());
    QTest::mouseClick(view->cmdNextGroup, Qt::LeftButton);
    EXPECT_EQ(view->GroupStart(), 8);
    EXPECT_EQ(view->lblWord[0]->text(), "w8");
    QTest::mouseClick(view->cmdNextGroup, Qt::LeftButton);
    EXPECT_EQ(view->GroupStart(), 16);
    EXPECT_EQ(view->GroupCount(), 3);
    EXPECT_EQ(VisibleSlots(), 3);
    EXPECT_EQ(view->lblWord[2]->text(), "w18");
    EXPECT_FALSE(view->cmdNextGroup->isEnabled());
    EXPECT_TRUE(view->cmdPrevGroup->isEnabled());
    QTest::mouseClick(view->cmdPrevGroup, Qt::LeftButton);
    EXPECT_EQ(view->GroupStart(), 8);
    EXPECT_EQ(VisibleSlots(), 8);

    // Third picture of the second group: word 10.
    QTest::mouseDClick(view->imgWord[2], Qt::LeftButton);
    EXPECT_EQ(state.CurWordIndex, 10);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
    // The group is kept for the next showing of the same unit.
    view->LoadPics();
    EXPECT_EQ(view->GroupStart(), 8);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WordPicListTest, ClickSpeaksWithoutMovingTheMark) {
    Create({NumberedWords(5)});
    QTest::mouseClick(view->imgWord[3], Qt::LeftButton);
    QTest::mouseClick(view->lblWord[1], Qt::LeftButton);
    EXPECT_EQ(Spoken(), (QStringList{"w3", "w1"}));
    EXPECT_TRUE(view->imgWord[0]->HasBorder());
    EXPECT_FALSE(view->imgWord[3]->HasBorder());
    EXPECT_TRUE(host.modes.empty());

    // Keyboard: Space speaks, Enter studies the word.
    view->imgWord[4]->setFocus();
    QTest::keyClick(view->imgWord[4], Qt::Key_Space);
    EXPECT_EQ(Spoken().last(), "w4");
    QTest::keyClick(view->imgWord[4], Qt::Key_Return);
    EXPECT_EQ(state.CurWordIndex, 4);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});

    state.CurWordIndex = 2;
    QTest::mouseClick(view->cmdReturn, Qt::LeftButton);
    EXPECT_EQ(state.CurWordIndex, 2);
    EXPECT_EQ(host.modes, (std::vector<qint16>{1, 1}));
}

TEST_F(WordPicListTest, AnotherUnitStartsAtItsFirstGroup) {
    Create({NumberedWords(19), {{0, 0, "sun", "太阳"}, {0, 0, "moon", "月亮"}}});
    QTest::mouseClick(view->cmdNextGroup, Qt::LeftButton);
    QTest::mouseClick(view->cmdNextGroup, Qt::LeftButton);
    ASSERT_EQ(view->GroupStart(), 16);
    state.CurUnit = 1;
    ASSERT_TRUE(words.LoadUnitWords(0, 1));
    view->LoadPics();
    EXPECT_EQ(view->GroupStart(), 0);
    EXPECT_EQ(VisibleSlots(), 2);
    EXPECT_EQ(view->lblWord[1]->text(), "moon");
    EXPECT_FALSE(view->cmdNextGroup->isEnabled());
    EXPECT_FALSE(view->cmdPrevGroup->isEnabled());
}

TEST_F(WordPicListTest, PicturesGrowWithTheViewInTwoRowsOfFour) {
    Create({NumberedWords(8)});
    const QRect first = view->imgWord[0]->geometry();
    const QRect fifth = view->imgWord[4]->geometry();
    const QRect fourth = view->imgWord[3]->geometry();
    EXPECT_EQ(first.left(), fifth.left());
    EXPECT_GT(fifth.top(), view->lblWord[0]->geometry().bottom());
    EXPECT_GT(fourth.left(), view->imgWord[2]->geometry().right());
    EXPECT_LE(fourth.right(), view->width());
    EXPECT_LE(view->cmdReturn->geometry().bottom(), view->height());
    EXPECT_GT(view->cmdPrevGroup->geometry().top(), view->lblWord[4]->geometry().bottom());
    // Larger than the 167 x 117 pixels of the original layout.
    EXPECT_GT(first.width(), 167);
    EXPECT_NEAR(first.width() * 1.0 / first.height(), 2500.0 / 1750.0, 0.05);
    view->resize(1200, 800);
    EXPECT_GT(view->imgWord[0]->width(), first.width());
}

// Worked by the mouse or by Tab and Space, 下一组 leaves the keys with the
// pictures once the last group disables it.
TEST_F(WordPicListTest, TheLastGroupLeavesTheKeysWithThePictures) {
    Create({NumberedWords(19)});
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    for (const bool byTab : {false, true}) {
        while (view->GroupStart() > 0) view->cmdPrevGroup->click();
        (byTab ? static_cast<QWidget*>(view->cmdNextGroup) : view->imgWord[0])->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 2; ++i)
            byTab ? QTest::keyClick(view->cmdNextGroup, Qt::Key_Space) : QTest::mouseClick(view->cmdNextGroup, Qt::LeftButton);
        ASSERT_EQ(view->GroupStart(), 16);
        output.played.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_EQ(Spoken(), QStringList{"w16"}) << (byTab ? "by Tab" : "by mouse");
    }
    EXPECT_TRUE(host.modes.empty()) << "返回普通视图 got the key";
}
}  // namespace
