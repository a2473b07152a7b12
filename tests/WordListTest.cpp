#include <QHeaderView>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "tests/support/ViewFixture.h"
#include "views/WordList.h"

namespace {

class WordListTest : public ViewFixture {
protected:
    void Create(int wordCount) {
        CreateUnits({NumberedWords(wordCount)});
        view = std::make_unique<WordList>(context, nullptr);
        view->resize(900, 560);
        view->show();
    }

    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < view->ListView1->topLevelItemCount(); ++i)
            texts << view->ListView1->topLevelItem(i)->text(column);
        return texts;
    }

    QStringList Captions() const {
        QStringList texts;
        for (int c = 0; c < view->ListView1->columnCount(); ++c) texts << view->ListView1->headerItem()->text(c);
        return texts;
    }

    void ClickRow(int row, bool twice = false) {
        QTreeWidget* list = view->ListView1;
        const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    void ClickHeader(int column) {
        QHeaderView* header = view->ListView1->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }

    std::unique_ptr<WordList> view;
};

TEST_F(WordListTest, ErrorCountsNumberedAndSortedDescendingFirst) {
    Create(12);
    state.Words[4].errNum = 3;
    state.Words[4].rightNum = 2;
    view->FillWordErrNum();
    EXPECT_EQ(Captions(), (QStringList{"序号", "单词", "中文解释", "出错次数", "答对次数"}));
    const QStringList numbers = Column(0);
    ASSERT_EQ(numbers.size(), 12);
    EXPECT_EQ(numbers.first(), "01");
    EXPECT_EQ(numbers[8], "09");
    EXPECT_EQ(numbers.last(), "12");
    EXPECT_EQ(Column(3)[4], "3");
    EXPECT_EQ(Column(4)[4], "2");
    EXPECT_EQ(Column(3)[0], "0");
    EXPECT_EQ(Column(4)[0], "0");
    EXPECT_EQ(view->ListView1->topLevelItem(0)->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(view->ListView1->topLevelItem(0)->textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    const int width = view->ListView1->viewport()->width();
    EXPECT_NEAR(view->ListView1->columnWidth(2), width / 3, 1);
    EXPECT_NEAR(view->ListView1->columnWidth(1), width / 4, 1);
    EXPECT_EQ(view->ListView1->topLevelItem(4)->data(0, Qt::AccessibleTextRole).toString(),
              "序号 05，单词 w4，中文解释 意4，出错次数 3，答对次数 2");

    ClickHeader(0);
    EXPECT_EQ(Column(0).first(), "12");
    EXPECT_EQ(Column(0).last(), "01");
    ClickHeader(0);
    EXPECT_EQ(Column(0).first(), "01");
    // Another column flips again, and its numbers sort as text.
    ClickHeader(1);
    EXPECT_EQ(Column(1).first(), "w9");
    EXPECT_EQ(Column(1)[8], "w11");
    // The order chosen stays for the next fill.
    view->FillWordErrNum();
    EXPECT_EQ(Column(1).first(), "w9");
}

TEST_F(WordListTest, TestResultsListOnlyWordsAnsweredRight) {
    Create(20);
    for (int i = 0; i < 20; ++i) state.Words[i].Tested = true;
    state.Words[2].CurrErr = true;
    state.Words[6].CurrErr = true;
    view->FillWordTestResultList();
    EXPECT_EQ(Captions(), (QStringList{"序号", "单词", "中文解释", "测试结果"}));
    ASSERT_EQ(Column(3).size(), 20);
    EXPECT_EQ(Column(3).count("错误"), 2);
    EXPECT_EQ(Column(3)[2], "错误");
    EXPECT_EQ(Column(3)[6], "错误");
    EXPECT_EQ(Column(3)[0], "正确");
    EXPECT_EQ(view->lblResult->text(), "本次共测试20个单词,其中有2个单词出错！");
    EXPECT_EQ(view->ListView1->font().pointSize(), 12);

    // A word answered wrongly and never right has no row.
    state.Words[6].Tested = false;
    state.Words[10].Tested = false;
    view->FillWordTestResultList();
    EXPECT_EQ(Column(0).size(), 18);
    EXPECT_FALSE(Column(0).contains("07"));
    EXPECT_FALSE(Column(0).contains("11"));
    EXPECT_EQ(view->lblResult->text(), "本次共测试18个单词,其中有1个单词出错！");

    // The error-count layout leaves the summary alone.
    view->FillWordErrNum();
    EXPECT_EQ(Column(0).size(), 20);
    EXPECT_EQ(view->lblResult->text(), "本次共测试18个单词,其中有1个单词出错！");
}

TEST_F(WordListTest, EmptyRunGivesZeroSummary) {
    Create(3);
    view->FillWordTestResultList();
    EXPECT_EQ(view->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(view->lblResult->text(), "本次共测试0个单词,其中有0个单词出错！");
}

TEST_F(WordListTest, ClickSpeaksOnceAfterTheDelayAndDoubleClickReturns) {
    Create(5);
    view->FillWordErrNum();
    ClickRow(3);
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_TRUE(view->Timer1->isActive());
    QTest::qWait(60);
    EXPECT_EQ(Spoken(), QStringList{"w3"});
    EXPECT_FALSE(view->Timer1->isActive());
    EXPECT_FALSE(install.Exists("Common/voice/w3.wav"));

    // Keyboard: Space speaks the current row, Enter goes back.
    QTest::keyClick(view->ListView1, Qt::Key_Down);
    QTest::keyClick(view->ListView1, Qt::Key_Space);
    QTest::qWait(60);
    EXPECT_EQ(Spoken(), (QStringList{"w3", "w4"}));
    QTest::keyClick(view->ListView1, Qt::Key_Return);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});

    // A desktop that activates items on one click: a click still only speaks.
    struct SingleClickStyle : QProxyStyle {
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* data) const override {
            return hint == SH_ItemView_ActivateItemOnSingleClick ? 1
                                                                  : QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    SingleClickStyle style;
    view->ListView1->setStyle(&style);
    ClickRow(2);
    EXPECT_EQ(host.modes, std::vector<qint16>{1});
    QTest::qWait(60);
    EXPECT_EQ(Spoken(), (QStringList{"w3", "w4", "w2"}));

    const qint16 current = state.CurWordIndex;
    ClickRow(1, true);
    EXPECT_EQ(host.modes, (std::vector<qint16>{1, 1}));
    QTest::mouseClick(view->cmdToOrvanel, Qt::LeftButton);
    EXPECT_EQ(host.modes, (std::vector<qint16>{1, 1, 1}));
    EXPECT_EQ(state.CurWordIndex, current);
}

}  // namespace

namespace {

// Sorting compares as a pupil reads: English without regard to letter case,
// Chinese by pinyin; numbers as text.
TEST(ListColumnsTest, RowsSortAsAPupilReads) {
    EnsureQtApp();
    QTreeWidget list;
    const std::vector<ListColumns::Column> columns = {
        {"英文", 1, 3, Qt::AlignLeft}, {"中文", 1, 3, Qt::AlignLeft}, {"错误次数", 1, 3, Qt::AlignRight}};
    ListColumns::SetColumns(&list, columns);
    const QStringList rows[] = {{"banana", "香蕉", "10"}, {"Apple", "苹果", "9"}, {"cherry", "橙子", "0"}};
    for (const QStringList& row : rows) list.addTopLevelItem(ListColumns::MakeRow(columns, row));
    const std::pair<int, QStringList> expected[] = {
        {0, {"Apple", "banana", "cherry"}}, {1, {"橙子", "苹果", "香蕉"}}, {2, {"0", "10", "9"}}};
    for (const auto& [column, order] : expected) {
        list.sortItems(column, Qt::AscendingOrder);
        QStringList shown;
        for (int i = 0; i < list.topLevelItemCount(); ++i) shown << list.topLevelItem(i)->text(column);
        EXPECT_EQ(shown, order) << "column " << column;
    }
}

}  // namespace
