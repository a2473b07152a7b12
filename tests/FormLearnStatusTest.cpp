#include "quiz/FormLearnStatus.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ViewFixture.h"

class FormLearnStatusTest : public ViewFixture {
protected:
    // Opens the window, runs the act on its rows ("number|unit|spelling|test") and closes it with OK.
    void Shown(const std::function<void(FormLearnStatus&, const std::function<QStringList()>&)>& act) {
        FormLearnStatus window(context, nullptr);
        const auto rows = [&window] {
            QStringList rows;
            for (int i = 0; i < window.ListDetail->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = window.ListDetail->topLevelItem(i);
                rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
            }
            return rows;
        };
        WhenModal([&](QWidget*) { act(window, rows); QTest::mouseClick(window.cmdOK, Qt::LeftButton); });
        window.exec();
        EXPECT_FALSE(window.isVisible());
    }
};

// Each unit's mark reads as learnt and tested, or neither, down to the last unit; the list is readable.
TEST_F(FormLearnStatusTest, TwelveUnitsWithTheirMarks) {
    std::vector<std::vector<TempInstall::Word>> units;
    for (int u = 0; u < 12; ++u) units.push_back({{0, 0, QString("word%1").arg(u), "词"}});
    CreateUnits(units);
    install.OnScrambled("update words_BookUnit set UnitStatus = case UnitID % 5 when 4 then 5 else UnitID % 5 end");
    const QString marks[] = {"未完成|未完成", "完成|未完成", "未完成|完成", "完成|完成", "|"};
    QStringList expected{"测试版课程学习测试完成情况"};
    for (int u = 0; u < 12; ++u) expected << QString("%1|Unit %2|").arg(u + 1, 2, 10, QChar('0')).arg(u + 1) + marks[u % 5];
    Shown([&](FormLearnStatus& window, const auto& rows) {
        EXPECT_EQ(QStringList(window.lblTitle->text()) + rows(), expected);
        EXPECT_GE(window.ListDetail->columnWidth(3), QFontMetrics(window.ListDetail->header()->font()).horizontalAdvance("单元测试"));
        EXPECT_GE(SmallestTextPointSize(window), 13);
    });
}

// Opens on the current book; browsed by mouse or keyboard, others leave the current unit as it is.
TEST_F(FormLearnStatusTest, OpensOnTheCurrentBookAndBrowsesOthers) {
    install.CreateDatabase({{"A"}, {"B1", "B2"}, {"C"}}, {{0, 0, "a", "甲"}, {1, 0, "b", "乙"}, {1, 1, "c", "丙"}, {2, 0, "d", "丁"}}, 1, 1);
    db.BuildConnString(install.AppPicsDir());
    ASSERT_TRUE(db.LoadSettings() && catalogue.LoadUnits(state.CurBook) && words.LoadUnitWords(1, 1));
    Shown([](FormLearnStatus& window, const auto& rows) {
        EXPECT_EQ(QString("%1%2 ").arg(window.lstBook->count()).arg(window.lstBook->currentRow()) + rows().join(','),
                  "31 01|B1|未完成|未完成,02|B2|未完成|未完成");
        QTest::mouseClick(window.lstBook->viewport(), Qt::LeftButton, {}, window.lstBook->visualItemRect(window.lstBook->item(0)).center());
        EXPECT_EQ(rows(), QStringList{"01|A|未完成|未完成"});
        QTest::keyClick(window.lstBook, Qt::Key_End);
        EXPECT_EQ(rows(), QStringList{"01|C|未完成|未完成"});
    });
    EXPECT_EQ(state.CurBook * 10 + state.CurUnit + messages.shown.size() * 100, 11u);
}
