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

    void AddRecord(int no, int user, const QString& date, const QString& time, const QString& task) {
        StoreExec(QString("insert into History values (%1, %2, '%3', '%4', '%5')")
                      .arg(no).arg(user).arg(date, time, task));
    }

    // Opens the window modally and reads its rows before closing it.
    std::vector<QStringList> ShowAndRead() {
        FormHistory window(history.HistoryList, nullptr);
        std::vector<QStringList> rows;
        bool shown = false;
        WhenModal([&](QWidget* modal) {
            shown = modal == &window;
            EXPECT_GE(SmallestTextPointSize(window), 13);
            for (int i = 0; i < window.ListView1->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = window.ListView1->topLevelItem(i);
                rows.push_back({item->text(0), item->text(1), item->text(2)});
            }
            QTest::mouseClick(window.Command1, Qt::LeftButton);
        });
        window.exec();
        EXPECT_TRUE(shown);
        EXPECT_EQ(window.windowTitle(), "测试完成记录");
        EXPECT_EQ(window.ListView1->headerItem()->text(1), "完成时间");
        return rows;
    }

    TestHistory history;
};

TEST_F(FormHistoryTest, OnlyUserZeroNewestFirstWithDateAndTime) {
    AddRecord(1, 0, "2010-4-1", "9:00", "Unit 1");
    AddRecord(2, 5, "2010-4-2", "9:00", "其他用户");
    AddRecord(3, 0, "2010-5-1 ", "10:20 ", " Unit 3 ");
    AddRecord(2, 0, "2010-4-9", "8:00", "Unit 2");
    AddRecord(4, 5, "2010-4-3", "9:00", "其他用户");
    EXPECT_EQ(history.LoadHistory(), 3);
    const std::vector<QStringList> rows = ShowAndRead();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{"1", "2010-5-1 | 10:20", "Unit 3"}));
    EXPECT_EQ(rows[1][2], "Unit 2");
    EXPECT_EQ(rows[2], (QStringList{"3", "2010-4-1 | 9:00", "Unit 1"}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(install.DbIsScrambled());
}

TEST_F(FormHistoryTest, SixtyRecordsGiveTheNewestFifty) {
    for (int no = 1; no <= 60; ++no) AddRecord(no, 0, "2011-1-1", "8:00", QString("任务%1").arg(no));
    EXPECT_EQ(history.LoadHistory(), 50);
    const std::vector<QStringList> rows = ShowAndRead();
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows.front()[0], "1");
    EXPECT_EQ(rows.front()[2], "任务60");
    EXPECT_EQ(rows.back()[0], "50");
    EXPECT_EQ(rows.back()[2], "任务11");
}

TEST_F(FormHistoryTest, NoRecordsSaySoAndKeepTheList) {
    AddRecord(1, 0, "2010-4-1", "9:00", "Unit 1");
    ASSERT_EQ(history.LoadHistory(), 1);
    StoreExec("delete from History");
    AddRecord(7, 3, "2010-4-1", "9:00", "别人的");
    EXPECT_EQ(history.LoadHistory(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "没有练习记录！");
    EXPECT_EQ(messages.shown[0].title, "测试版");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
    ASSERT_EQ(history.HistoryList.size(), 1u);
    EXPECT_EQ(history.HistoryList[0].myTask, "Unit 1");
}

TEST_F(FormHistoryTest, EmptyColumnsReadAsZeroAndEmptyText) {
    StoreExec("insert into History values (1, 0, NULL, NULL, NULL)");
    ASSERT_EQ(history.LoadHistory(), 1);
    EXPECT_EQ(history.HistoryList[0].userID, 0);
    const std::vector<QStringList> rows = ShowAndRead();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (QStringList{"1", " | ", ""}));
}

}  // namespace
