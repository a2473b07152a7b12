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
    // Opens the window, runs the act on it and closes it with OK.
    void Shown(const std::function<void(FormLearnStatus&)>& act) {
        FormLearnStatus window(context, nullptr);
        WhenModal([&](QWidget*) {
            act(window);
            QTest::mouseClick(window.cmdOK, Qt::LeftButton);
        });
        window.exec();
        EXPECT_FALSE(window.isVisible());
    }
    static QStringList Rows(const FormLearnStatus& window) {
        QStringList rows;
        for (int i = 0; i < window.ListDetail->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = window.ListDetail->topLevelItem(i);
            rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
        }
        return rows;
    }
};

// Each unit's mark reads as learnt and tested, or neither; the list is readable.
TEST_F(FormLearnStatusTest, TwelveUnitsWithTheirMarks) {
    std::vector<std::vector<TempInstall::Word>> units;
    for (int u = 0; u < 12; ++u) units.push_back({{0, 0, QString("word%1").arg(u), "词"}});
    CreateUnits(units);
    const int statuses[] = {0, 1, 2, 3, 5};
    for (int u = 0; u < 12; ++u)
        StoreExec(QString("update words_BookUnit set UnitStatus = %1 where UnitID = %2").arg(statuses[u % 5]).arg(u));
    Shown([](FormLearnStatus& window) {
        EXPECT_EQ(window.lblTitle->text(), "测试版课程学习测试完成情况");
        const QStringList rows = Rows(window);
        ASSERT_EQ(rows.size(), 12);
        EXPECT_EQ(rows.mid(0, 5), QStringList({"01|Unit 1|未完成|未完成", "02|Unit 2|完成|未完成",
                                               "03|Unit 3|未完成|完成", "04|Unit 4|完成|完成", "05|Unit 5||"}));
        EXPECT_EQ(rows[11], "12|Unit 12|完成|未完成");
        const QFontMetrics metrics(window.ListDetail->header()->font());
        EXPECT_GE(window.ListDetail->columnWidth(3), metrics.horizontalAdvance("单元测试"));
        EXPECT_GE(SmallestTextPointSize(window), 13);
    });
}

// Browsed by mouse or keyboard, other books leave the current unit as it is.
TEST_F(FormLearnStatusTest, OpensOnTheCurrentBookAndBrowsesOthers) {
    install.CreateDatabase({{"Book A unit"}, {"Book B unit 1", "Book B unit 2"}, {"Book C unit"}},
                           {{0, 0, "a", "甲"}, {1, 0, "b", "乙"}, {1, 1, "c", "丙"}, {2, 0, "d", "丁"}}, 1, 1);
    db.BuildConnString(install.AppPicsDir());
    ASSERT_TRUE(db.LoadSettings() && catalogue.LoadUnits(state.CurBook) && words.LoadUnitWords(1, 1));
    Shown([](FormLearnStatus& window) {
        EXPECT_EQ(window.lstBook->count(), 3);
        EXPECT_EQ(window.lstBook->currentRow(), 1);
        EXPECT_EQ(Rows(window), QStringList({"01|Book B unit 1|未完成|未完成", "02|Book B unit 2|未完成|未完成"}));
        const QRect first = window.lstBook->visualItemRect(window.lstBook->item(0));
        QTest::mouseClick(window.lstBook->viewport(), Qt::LeftButton, {}, first.center());
        EXPECT_EQ(Rows(window), QStringList{"01|Book A unit|未完成|未完成"});
        QTest::keyClick(window.lstBook, Qt::Key_End);
        EXPECT_EQ(Rows(window), QStringList{"01|Book C unit|未完成|未完成"});
    });
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.CurBook * 10 + state.CurUnit, 11);
}

}  // namespace
