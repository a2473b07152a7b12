#include "quiz/OptionTable.h"
#include "quiz/WordRRK.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ViewFixture.h"
#include "views/WordList.h"
#include "views/WordPicture.h"

class WordRRKTest : public ViewFixture {
protected:
    // What the main window does for the test: reset, ask, show.
    void Start(const std::vector<std::vector<TempInstall::Word>>& units, std::deque<int> draws = {}) {
        CreateUnits(units);
        random.draws = std::move(draws);
        view = std::make_unique<WordRRK>(context, list, nullptr);
        view->resize(900, 560);
        words.ResetRunFlags();
        view->SetTestWord();
        view->show();
    }
    QString Asked() const { return view->lblTestWord->text(); }
    QString Meaning() const {
        for (const CWordType& w : state.Words) if (w.English == Asked()) return w.Chinese;
        return {};
    }
    QStringList Options() const {
        QStringList shown;
        for (int i = 0; i < 4; ++i) if (!view->optAns[i]->isHidden()) shown << view->optAns[i]->text();
        return shown;
    }
    // Clicks the first right or wrong option on its circle, then OK.
    void Answer(bool right) {
        const QStringList options = Options();
        int i = 0;
        while (i < options.size() && (options[i] == Meaning()) != right) ++i;
        ASSERT_LT(i, options.size());
        QTest::mouseClick(view->optAns[i], Qt::LeftButton, {}, QPoint(8, view->optAns[i]->height() / 2));
        ASSERT_TRUE(view->cmdOK->isEnabled());
        QTest::mouseClick(view->cmdOK, Qt::LeftButton);
    }
    // The question as the pupil sees it: word, options, OK, the shown answer, the picture, the progress.
    QString Screen() const {
        return QStringList{view->lblTestWord->isVisible() ? Asked() : "-", Options().join(' '), view->cmdOK->isEnabled() ? "OK" : "-",
                           view->lblAns->isVisible() ? view->lblAns->text() : "-", view->imgWord->isVisible() ? "pic" : "-",
                           view->lblTestedNum->text()}.join(" | ");
    }
    QString Message(size_t i) const { return messages.shown.at(i).text + " / " + messages.shown.at(i).title; }

    WordList list{context, nullptr};
    std::unique_ptr<WordRRK> view;
};

// The answer's slot is drawn first, then the others (w0 itself drawn again); a wrong answer keeps the word.
TEST_F(WordRRKTest, AWrongAnswerShowsAndSpeaksTheMeaningAndTheWordStaysUntilRight) {
    Start({NumberedWords(4)}, {0, 0, 1, 2, 3});
    EXPECT_EQ(Screen() + " " + view->imgWord->accessibleName(), "w0 | 意0 意1 意2 意3 | - | - | - |  w0");
    output.played.clear();
    Answer(false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Message(0), "正确答案是： 意0 / 错啦！");
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(Screen() + " " + Spoken().join(','), "w0 | 意0 意1 意2 意3 | OK | 正确答案是： 意0 | pic |  w0");
    Answer(false);
    Answer(true);
    const CWordType& w0 = state.Words[0];
    EXPECT_EQ((std::vector<int>{w0.testNum, w0.errNum, w0.rightNum, w0.Tested, w0.CurrErr, state.TestedCount}), (std::vector<int>{3, 2, 1, 1, 1, 1}));
    EXPECT_EQ(Screen().section(" | ", 2), "- | - | - | 1/4");
    EXPECT_NE(Asked(), "w0");
    EXPECT_EQ(Spoken(), (QStringList{"w0", "w0", Asked()}));
    for (int i = 0; i < 3; ++i) Answer(true);
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_FALSE(view->Frame1->isEnabled());
    EXPECT_EQ(install.OnScrambled("select group_concat(Result, ' ') from words"), "3|2|1 1|0|1 1|0|1 1|0|1");
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 0);
    EXPECT_EQ(install.OnScrambled("select UnitStatus from words_BookUnit where UnitID = 0"), "");
}

// Hiding the English asks the word by its sound alone; the keys alone answer: the arrows walk the options and
// Enter judges, wherever the focus is.
TEST_F(WordRRKTest, TheEnglishCanBeHiddenAndTheKeysAnswer) {
    Start({NumberedWords(4)}, {0, 0, 1, 2, 3});
    output.played.clear();
    random.draws = {2, 2, 2, 2, 2, 2, 1, 0, 2, 3};
    view->cmdEnglishVisible->click();
    EXPECT_EQ(QString("%1 %2 ").arg(view->lblTestWord->isHidden()).arg(view->cmdEnglishVisible->isHidden()) + Spoken().join(','), "1 1 w2");
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->optAns[0]->setFocus();
    QTest::keyClick(view->optAns[0], Qt::Key_Space);
    for (int i = 0; i < Options().indexOf(Meaning()); ++i) QTest::keyClick(view->focusWidget(), Qt::Key_Down);
    QTest::keyClick(view->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QString("%1 %2").arg(state.TestedCount).arg(messages.shown.size()), "1 0");
    QTest::keyClick(view.get(), Qt::Key_Enter);
    EXPECT_EQ(messages.shown.size(), 0u) << "nothing chosen yet";
}

// The errors are counted by word, however often a word was answered wrongly;
// every question shows distinct meanings, the right one among them.
struct RunRow { int count; std::map<int, int> wrong; int wrongWords; };
void PrintTo(const RunRow& row, std::ostream* os) { *os << row.count << " words"; }
class WordRRKRunTest : public WordRRKTest, public ::testing::WithParamInterface<RunRow> {};

TEST_P(WordRRKRunTest, ARunWithErrorsReportsTheWrongWordsAndShowsTheList) {
    const RunRow& row = GetParam();
    Start({NumberedWords(row.count)});
    for (int asked = 0; asked < row.count; ++asked) {
        const QStringList options = Options();
        EXPECT_EQ(QSet<QString>(options.begin(), options.end()).size(), std::min(4, row.count)) << asked;
        EXPECT_TRUE(options.contains(Meaning())) << asked;
        for (int n = 0; n < (row.wrong.count(asked) ? row.wrong.at(asked) : 0); ++n) Answer(false);
        Answer(true);
    }
    EXPECT_EQ(Message(messages.shown.size() - 1), QString("本次共测试了%1个单词,有%2次错误！还要继续努力喔！ / 单词认知测试").arg(row.count).arg(row.wrongWords));
    EXPECT_EQ(view->GetErrNum(), row.wrongWords);
    EXPECT_EQ(host.modes, std::vector<qint16>{2});
    EXPECT_EQ(list.lblResult->text(), QString("本次共测试%1个单词,其中有%2个单词出错！").arg(row.count).arg(row.wrongWords));
    EXPECT_EQ(list.ListView1->topLevelItemCount(), row.count);
}
INSTANTIATE_TEST_SUITE_P(Units, WordRRKRunTest, ::testing::Values(RunRow{20, {{3, 1}, {7, 2}}, 2}, RunRow{4, {{0, 2}}, 1}, RunRow{2, {{0, 1}}, 1}),
                         [](const auto& info) { return "Of" + std::to_string(info.param.count) + "Words"; });

// The answer slot is drawn first, then a word for each other slot, drawn
// again while it is the test word, outside the pool or already in an earlier slot.
TEST(OptionTableTest, ScriptedDrawsFillTheSlotsOrLeaveThemEmpty) {
    struct Row { qint16 testWord; int pool; std::deque<int> draws; std::array<int, 4> filled; std::deque<int> asked; };
    const std::vector<Row> rows{{3, 6, {1, 3, 6, 5, 5, 0, 0, 3, 2}, {5, 3, 0, 2}, {4, 6, 6, 6, 6, 6, 6, 6, 6}},
                                {0, 2, {1, 1}, {1, 0, -1, -1}, {2, 2}},  {0, 1, {0}, {0, -1, -1, -1}, {1}},
                                {2, 4, {3, 0, 1, 3}, {0, 1, 3, 2}, {4, 4, 4, 4}},  // the answer in the last slot
                                {0, 6, {}, {0, 1, 2, 3}, {}},  // draws that never fit
                                {-1, 6, {}, {-1, -1, -1, -1}, {}}, {6, 6, {}, {-1, -1, -1, -1}, {}}, {0, 0, {}, {-1, -1, -1, -1}, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "word " << row.testWord << " of " << row.pool);
        ScriptedRandom random;
        random.draws = row.draws;
        OptionTable table;
        table.BuildOptionTable(row.testWord, row.pool, random);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(table.Slot(i), row.filled[i]) << i;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(table.HoldsTestWord(i), i < 4 && row.testWord >= 0 && row.filled[i] == row.testWord) << i;
        EXPECT_EQ(table.UsedSlots(), std::count_if(row.filled.begin(), row.filled.end(), [](int s) { return s >= 0; }));
        if (!row.asked.empty()) { EXPECT_EQ(random.asked, row.asked); }
    }
}
