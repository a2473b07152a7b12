#include "quiz/FormHistory.h"
#include "quiz/TestHistory.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ViewFixture.h"

class FormHistoryTest : public ViewFixture {
protected:
    FormHistoryTest() : history(state, db, messages) {}
    void SetUp() override { CreateUnits({NumberedWords(2)}); }

    // The rows shown, as "number|time|task".
    QStringList ShowAndRead(int loaded) {
        EXPECT_EQ(history.LoadHistory(), loaded);
        FormHistory window(history.HistoryList, nullptr); QStringList rows;
        WhenModal([&](QWidget*) {
            EXPECT_GE(SmallestTextPointSize(window), 13);
            for (int i = 0; i < window.ListView1->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = window.ListView1->topLevelItem(i);
                rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
            }
            QTest::mouseClick(window.Command1, Qt::LeftButton);
        });
        window.exec();
        return rows;
    }

    TestHistory history;
};

// Empty fields read as blanks; past fifty the oldest is left out; a load finding none says so and keeps the list.
TEST_F(FormHistoryTest, OnlyUserZeroTheNewestFiftyFirstAndNoneLeftSaysSo) {
    install.OnScrambled("insert into History values (1, 0, '2010-4-1', '9:00', 'Unit 1'), (2, 5, '2010-4-2', '9:00', 'x'), "
              "(3, 0, '2010-5-1 ', '10:20 ', ' Unit 3 '), (2, 0, '2010-4-9', '8:00', 'Unit 2'), "
              "(4, 5, '2010-4-3', '9:00', 'x'), (5, 0, NULL, NULL, NULL)");
    EXPECT_EQ(ShowAndRead(4), QStringList({"1| | |", "2|2010-5-1 | 10:20|Unit 3", "3|2010-4-9 | 8:00|Unit 2",
                                           "4|2010-4-1 | 9:00|Unit 1"}));
    EXPECT_TRUE(messages.shown.empty() && install.DbIsScrambled());
    install.OnScrambled("insert into History with recursive n(i) as (select 6 union all select i + 1 from n where i < 52) "
              "select i, 0, '2011-1-1', '8:00', '任务' || i from n");
    const QStringList rows = ShowAndRead(50);
    EXPECT_EQ(rows.size() == 50 ? rows.front() + " " + rows.back() : "", "1|2011-1-1 | 8:00|任务52 50|2010-4-9 | 8:00|Unit 2");
    install.OnScrambled("delete from History where userID = 0");
    EXPECT_EQ(history.LoadHistory(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text + "|" + messages.shown[0].title, "没有练习记录！|测试版");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(history.HistoryList.size() == 50 ? history.HistoryList[49].myTask : "", "Unit 2");
}
