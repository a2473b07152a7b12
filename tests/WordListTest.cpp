#include "tests/support/ViewFixture.h"
#include "views/WordList.h"

// Each row's cells joined by "|", the header's first; column c only when given.
QStringList Rows(QTreeWidget* list, int only = -1) {
    QStringList rows;
    for (int r = only < 0 ? -1 : 0; r < list->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            if (only < 0 || c == only) cells << (r < 0 ? list->headerItem() : list->topLevelItem(r))->text(c);
        rows << cells.join('|');
    }
    return rows;
}

class WordListTest : public ViewFixture {
protected:
    void SetUp() override {
        CreateUnits({NumberedWords(20)});
        view->resize(900, 560);
        view->show();
    }
    void Click(int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center()); }
    std::unique_ptr<WordList> view = std::make_unique<WordList>(context, nullptr);
    QTreeWidget* list = view->ListView1;
};

// Each header click flips the order, descending first; numbers sort as text; the order stays for the next fill.
TEST_F(WordListTest, ErrorCountsAreNumberedAndAHeaderClickFlipsTheOrder) {
    state.Words[4].errNum = 3;
    state.Words[4].rightNum = 2;
    view->FillWordErrNum();
    const QStringList rows = Rows(list);
    ASSERT_EQ(rows.size(), 21);
    EXPECT_EQ(rows.mid(0, 2) + rows.mid(9, 2), (QStringList{"序号|单词|中文解释|出错次数|答对次数", "01|w0|意0|0|0", "09|w8|意8|0|0", "10|w9|意9|0|0"}));
    EXPECT_EQ(list->topLevelItem(4)->data(0, Qt::AccessibleTextRole).toString(), "序号 05，单词 w4，中文解释 意4，出错次数 3，答对次数 2");
    EXPECT_NEAR(list->columnWidth(2), list->viewport()->width() / 3, 1);
    EXPECT_NEAR(list->columnWidth(1), list->viewport()->width() / 4, 1);
    for (const auto& [column, ends] : std::vector<std::pair<int, QString>>{{0, "20|01"}, {0, "01|20"}, {1, "10|01"}}) {
        QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, QPoint(list->header()->sectionViewportPosition(column) + 5, 5));
        EXPECT_EQ(Rows(list)[1].left(2) + "|" + Rows(list).last().left(2), ends) << column;
    }
    EXPECT_EQ(Rows(list)[9], "20|w19|意19|0|0");
    view->FillWordErrNum();
    EXPECT_EQ(Rows(list)[1], "10|w9|意9|0|0");
}

// A word answered wrongly and never right in the run has no row; the first and the last word count too.
TEST_F(WordListTest, TestResultsListTheTestedWordsAndCountThem) {
    view->FillWordTestResultList();
    EXPECT_EQ(Rows(list).join(' ') + " " + view->lblResult->text(), "序号|单词|中文解释|测试结果 本次共测试0个单词,其中有0个单词出错！");
    for (int i = 0; i < 20; ++i) state.Words[i].Tested = i != 6 && i != 18;
    state.Words[0].CurrErr = state.Words[6].CurrErr = state.Words[19].CurrErr = true;
    view->FillWordTestResultList();
    const QStringList rows = Rows(list);
    ASSERT_EQ(rows.size(), 19);
    EXPECT_EQ(rows.filter("错误") + rows.mid(2, 1) + rows.mid(7, 1), (QStringList{"01|w0|意0|错误", "20|w19|意19|错误", "02|w1|意1|正确", "08|w7|意7|正确"}));
    EXPECT_EQ(view->lblResult->text(), "本次共测试18个单词,其中有2个单词出错！");
    view->FillWordErrNum();
    EXPECT_EQ(QString::number(Rows(list).size()) + view->lblResult->text(), "21本次共测试18个单词,其中有2个单词出错！") << "the error counts leave the summary";
}

// A click (or Space) speaks the row's word once, after the click, even on a
// desktop where one click activates; a double click, Enter or the button goes back.
TEST_F(WordListTest, AClickSpeaksOnceAfterTheDelayAndADoubleClickReturns) {
    view->FillWordErrNum();
    Click(3);
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !output.played.isEmpty(); }, 5000));
    EXPECT_EQ(Spoken(), QStringList{"w3"});
    EXPECT_FALSE(install.Exists("Common/voice/w3.wav")) << "left unscrambled";
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Space}) QTest::keyClick(list, key);
    EXPECT_TRUE(QTest::qWaitFor([&] { return output.played.size() == 2; }, 5000));
    struct SingleClickStyle : QProxyStyle {
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override {
            return hint == SH_ItemView_ActivateItemOnSingleClick ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
        }
    } style;
    list->setStyle(&style);
    Click(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return output.played.size() == 3; }, 5000));
    EXPECT_EQ(Spoken(), (QStringList{"w3", "w4", "w2"}));
    EXPECT_FALSE(view->Timer1->isActive() || !host.modes.empty());
    const qint16 current = state.CurWordIndex;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(list, key);
    Click(1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    QTest::mouseClick(view->cmdToOrvanel, Qt::LeftButton);
    EXPECT_EQ(host.modes, (std::vector<qint16>{1, 1, 1, 1}));
    EXPECT_EQ(state.CurWordIndex, current);
}

// English without regard to letter case, Chinese by pinyin, numbers as text.
TEST(ListColumnsTest, RowsSortAsAPupilReads) {
    EnsureQtApp();
    QTreeWidget list;
    const std::vector<ListColumns::Column> columns = {{"英文", 1, 3, Qt::AlignLeft}, {"中文", 1, 3, Qt::AlignLeft}, {"次数", 1, 3, Qt::AlignRight}};
    ListColumns::SetColumns(&list, columns);
    for (const QStringList& row : {QStringList{"banana", "香蕉", "10"}, {"Apple", "苹果", "9"}, {"cherry", "橙子", "0"}})
        list.addTopLevelItem(ListColumns::MakeRow(columns, row));
    for (const auto& [column, order] : std::vector<std::pair<int, QString>>{{0, "Apple|banana|cherry"}, {1, "橙子|苹果|香蕉"}, {2, "0|10|9"}}) {
        list.sortItems(column, Qt::AscendingOrder);
        EXPECT_EQ(Rows(&list, column).join('|'), order) << "column " << column;
    }
}
