#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "quiz/FormHistory.h"
#include "quiz/TestHistory.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ReadableText.h"
#include "tests/support/ViewFixture.h"

namespace {

class FormHistoryTest : public ViewFixture {
protected:
    FormHistoryTest() : history(state, db, messages) {}
    void SetUp() override { CreateUnits({NumberedWords(2)}); }

    // Loads the records and reads the rows the window shows, as "number|time|task".
    QStringList ShowAndRead(int loaded) {
        EXPECT_EQ(history.LoadHistory(), loaded);
        FormHistory window(history.HistoryList, nullptr);
        QStringList rows;
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(modal, &window);
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

TEST_F(FormHistoryTest, OnlyUserZeroNewestFirstWithDateAndTime) {
    StoreExec("insert into History values (1, 0, '2010-4-1', '9:00', 'Unit 1'), (2, 5, '2010-4-2', '9:00', 'x'), "
              "(3, 0, '2010-5-1 ', '10:20 ', ' Unit 3 '), (2, 0, '2010-4-9', '8:00', 'Unit 2'), "
              "(4, 5, '2010-4-3', '9:00', 'x'), (5, 0, NULL, NULL, NULL)");
    EXPECT_EQ(ShowAndRead(4), QStringList({"1| | |", "2|2010-5-1 | 10:20|Unit 3", "3|2010-4-9 | 8:00|Unit 2",
                                           "4|2010-4-1 | 9:00|Unit 1"}));
    EXPECT_EQ(history.HistoryList[0].userID, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(install.DbIsScrambled());
}

// At most the newest fifty: one record over the limit is left out, one under is shown.
TEST_F(FormHistoryTest, TheNewestFiftyAtMost) {
    for (const int records : {49, 51}) {
        StoreExec("delete from History");
        for (int no = 1; no <= records; ++no)
            StoreExec(QString("insert into History values (%1, 0, '2011-1-1', '8:00', '任务%1')").arg(no));
        const QStringList rows = ShowAndRead(std::min(records, 50));
        ASSERT_EQ(rows.size(), std::min(records, 50));
        EXPECT_EQ(rows.front(), QString("1|2011-1-1 | 8:00|任务%1").arg(records));
        EXPECT_EQ(rows.back(), QString("%1|2011-1-1 | 8:00|任务%2").arg(rows.size()).arg(records - rows.size() + 1));
    }
}

TEST_F(FormHistoryTest, NoRecordsSaySoAndKeepTheList) {
    StoreExec("insert into History values (1, 0, '2010-4-1', '9:00', 'Unit 1')");
    ASSERT_EQ(history.LoadHistory(), 1);
    StoreExec("delete from History; insert into History values (7, 3, '2010-4-1', '9:00', '别人的')");
    EXPECT_EQ(history.LoadHistory(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text + "|" + messages.shown[0].title, "没有练习记录！|测试版");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
    ASSERT_EQ(history.HistoryList.size(), 1u);
    EXPECT_EQ(history.HistoryList[0].myTask, "Unit 1");
}

}  // namespace
