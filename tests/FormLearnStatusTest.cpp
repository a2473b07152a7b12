#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "quiz/FormLearnStatus.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ReadableText.h"
#include "tests/support/ViewFixture.h"

namespace {

class FormLearnStatusTest : public ViewFixture {
protected:
    QStringList Row(const FormLearnStatus& window, int row) const {
        const QTreeWidgetItem* item = window.ListDetail->topLevelItem(row);
        return {item->text(0), item->text(1), item->text(2), item->text(3)};
    }
};

TEST_F(FormLearnStatusTest, TwelveUnitsWithTheirMarks) {
    std::vector<std::vector<TempInstall::Word>> units;
    for (int u = 0; u < 12; ++u) units.push_back({{0, 0, QString("word%1").arg(u), "词"}});
    CreateUnits(units);
    const int statuses[] = {0, 1, 2, 3, 5};
    for (int u = 0; u < 12; ++u)
        StoreExec(QString("update words_BookUnit set UnitStatus = %1 where UnitID = %2").arg(statuses[u % 5]).arg(u));
    FormLearnStatus window(context, nullptr);
    WhenModal([&](QWidget*) {
        EXPECT_EQ(window.lblTitle->text(), "测试版课程学习测试完成情况");
        EXPECT_EQ(window.windowTitle(), "单元学习测试情况汇总");
        ASSERT_EQ(window.ListDetail->topLevelItemCount(), 12);
        EXPECT_EQ(Row(window, 0), (QStringList{"01", "Unit 1", "未完成", "未完成"}));
        EXPECT_EQ(Row(window, 1), (QStringList{"02", "Unit 2", "完成", "未完成"}));
        EXPECT_EQ(Row(window, 2), (QStringList{"03", "Unit 3", "未完成", "完成"}));
        EXPECT_EQ(Row(window, 3), (QStringList{"04", "Unit 4", "完成", "完成"}));
        EXPECT_EQ(Row(window, 4), (QStringList{"05", "Unit 5", "", ""}));
        EXPECT_EQ(Row(window, 11), (QStringList{"12", "Unit 12", "完成", "未完成"}));
        // Narrow columns still show their whole caption.
        const QFontMetrics metrics(window.ListDetail->header()->font());
        EXPECT_GE(window.ListDetail->columnWidth(3), metrics.horizontalAdvance("单元测试"));
        EXPECT_GE(SmallestTextPointSize(window), 13);
        QTest::mouseClick(window.cmdOK, Qt::LeftButton);
    });
    window.exec();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FormLearnStatusTest, OpensOnTheCurrentBookAndBrowsesOthers) {
    install.CreateDatabase({{"Book A unit"}, {"Book B unit 1", "Book B unit 2"}, {"Book C unit"}},
                           {{0, 0, "a", "甲"}, {1, 0, "b", "乙"}, {1, 1, "c", "丙"}, {2, 0, "d", "丁"}}, 1, 1);
    db.BuildConnString(install.AppPicsDir());
    ASSERT_TRUE(db.LoadSettings());
    ASSERT_TRUE(catalogue.LoadUnits(state.CurBook));
    ASSERT_TRUE(words.LoadUnitWords(state.CurBook, state.CurUnit));
    FormLearnStatus window(context, nullptr);
    WhenModal([&](QWidget*) {
        EXPECT_EQ(window.lstBook->count(), 3);
        EXPECT_EQ(window.lstBook->currentRow(), 1);
        ASSERT_EQ(window.ListDetail->topLevelItemCount(), 2);
        EXPECT_EQ(window.ListDetail->topLevelItem(1)->text(1), "Book B unit 2");
        const QRect first = window.lstBook->visualItemRect(window.lstBook->item(0));
        QTest::mouseClick(window.lstBook->viewport(), Qt::LeftButton, {}, first.center());
        ASSERT_EQ(window.ListDetail->topLevelItemCount(), 1);
        EXPECT_EQ(window.ListDetail->topLevelItem(0)->text(1), "Book A unit");
        // The keyboard browses too.
        QTest::keyClick(window.lstBook, Qt::Key_End);
        ASSERT_EQ(window.ListDetail->topLevelItemCount(), 1);
        EXPECT_EQ(window.ListDetail->topLevelItem(0)->text(1), "Book C unit");
        QTest::mouseClick(window.cmdOK, Qt::LeftButton);
    });
    window.exec();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.CurBook, 1);
    EXPECT_EQ(state.CurUnit, 1);
}

}  // namespace
