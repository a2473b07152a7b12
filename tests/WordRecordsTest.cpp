#include "media/ModuleCrpt.h"
#include "tests/support/LessonFixture.h"

class WordRecordsTest : public LessonFixture {
protected:
    void SetUp() override {
        LessonFixture::SetUp();
        ASSERT_TRUE(StartLessonData());
    }

    int IndexOf(const QString& english) const {
        for (size_t i = 0; i < state.Words.size(); ++i)
            if (state.Words[i].English == english) return static_cast<int>(i);
        ADD_FAILURE() << english.toStdString() << " is not loaded";
        return 0;
    }

    QString StoredResult(const QString& english, int book) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        const QVariant v = install.Query(
            QString("select Result from words where trim(English) = '%1' and Book = %2").arg(english).arg(book));
        ModuleCrpt::ScrambleHeader(install.DbPath());
        return v.isNull() ? QString("NULL") : v.toString();
    }
};

TEST_F(WordRecordsTest, LoadsRecordsTrimmedWithCountersAndComposition) {
    struct Row { const char* english; const char* result; int test, err, right, composition; };
    const Row rows[] = {{"hello", "0|0|0", 0, 0, 0, 0},  // stored " hello " with a NULL result
                        {"o'clock", "3|1|2", 3, 1, 2, 1},
                        {"ice cream", "0|0|0", 0, 0, 0, 1},
                        {"Red", "5|0|5", 5, 0, 5, 0}};
    ASSERT_EQ(state.WordCount, 4);
    for (const Row& row : rows) {
        const CWordType& w = state.Words[IndexOf(row.english)];
        EXPECT_EQ(QString("%1 %2/%3/%4 %5").arg(w.Result).arg(w.testNum).arg(w.errNum).arg(w.rightNum).arg(w.Composition),
                  QString("%1 %2/%3/%4 %5").arg(row.result).arg(row.test).arg(row.err).arg(row.right).arg(row.composition))
            << row.english;
    }
    EXPECT_TRUE(install.DbIsScrambled());
}

// Right then wrong, a quote in the spelling, one spelling in two books, and
// a failed load in between: the save still writes every word of the unit.
TEST_F(WordRecordsTest, AnswersAreCountedAndSavedByTrimmedSpellingAfterAFailedLoad) {
    const int hello = IndexOf("hello");
    words.CountAnswer(hello, true);
    EXPECT_EQ(state.TestedCount, 1);
    EXPECT_TRUE(state.Words[hello].Tested);
    state.Words[hello].SetWordResultString();
    EXPECT_EQ(state.Words[hello].Result, "1|0|1");
    words.CountAnswer(hello, false);
    state.Words[hello].SetWordResultString();
    EXPECT_EQ(state.Words[hello].Result, "2|1|0");
    EXPECT_EQ(state.TestedCount, 1);
    words.CountAnswer(IndexOf("o'clock"), true);
    words.CountAnswer(IndexOf("Red"), false);

    state.CurWordIndex = 2;
    EXPECT_FALSE(words.LoadUnitWords(0, 1));
    EXPECT_TRUE(messages.Saw("没有找到您要的单词库，请下载最新的版本！"));
    EXPECT_EQ(messages.shown.back().title, "测试版");
    EXPECT_EQ(state.WordCount, 0);
    EXPECT_EQ(state.Words.size(), 4u);
    EXPECT_EQ(state.CurWordIndex, 2);

    EXPECT_TRUE(words.SaveAllResults());
    EXPECT_TRUE(install.DbIsScrambled());
    const std::tuple<const char*, int, const char*> stored[] = {
        {"hello", 0, "2|1|0"}, {"o''clock", 0, "4|1|3"}, {"ice cream", 0, "0|0|0"}, {"Red", 1, "6|1|0"}};
    for (const auto& [english, book, result] : stored) EXPECT_EQ(StoredResult(english, book), result) << english;

    ASSERT_TRUE(words.LoadUnitWords(1, 0));
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_EQ(state.WordCount, 2);
    EXPECT_EQ(state.Words[IndexOf("Red")].errNum, 1);
}

TEST(CWordTypeResult, DamagedTextsReadAsZeroAndCountersSaturate) {
    const std::pair<QString, QString> rows[] = {{"", "0|0|0"},      {"7", "7|0|0"},      {"a|b|c", "0|0|0"},
                                                {"1|x|4", "1|0|4"}, {"-3|2|1", "0|2|1"}, {"99999|32767|32767", "32767|32767|32767"}};
    CWordType w;
    for (const auto& [text, counters] : rows) {
        w.Result = text;
        w.GetWordResult();
        EXPECT_EQ(QString("%1|%2|%3").arg(w.testNum).arg(w.errNum).arg(w.rightNum), counters) << text.toStdString();
    }
    w.CountAnswer(false);
    w.SetWordResultString();
    EXPECT_EQ(w.Result, "32767|32767|0");
}

TEST(CWordTypeComposition, OnlyLettersKeepTheTableValue) {
    const std::tuple<QString, int, int> rows[] = {{"Apple", 0, 0},   {"zoo", 0, 0},          {"ABC", 0, 0},
                                                  {"Apple", 4, 4},   {"T-shirt", 0, 1},      {"Good morning", 0, 1},
                                                  {"o'clock", 0, 1}, {"r2d2", 0, 1},         {"café", 0, 1}};
    for (const auto& [english, table, expected] : rows) {
        CWordType w;
        w.English = english;
        w.Composition = static_cast<qint16>(table);
        w.SetComposition();
        EXPECT_EQ(w.Composition, expected) << english.toStdString();
    }
}

TEST_F(WordRecordsTest, SetCurrentWordTracksPreviousWord) {
    state.CurEnglish = "ffe";
    words.SetCurrentWord();
    EXPECT_EQ(state.PrevEnglish, "ffe");
    EXPECT_EQ(state.CurEnglish, state.Words[0].English);
    words.SetCurrentWord();  // the same word again changes nothing
    EXPECT_EQ(state.PrevEnglish, "ffe");
    state.CurWordIndex = 1;
    words.SetCurrentWord();
    EXPECT_EQ(state.PrevEnglish, state.Words[0].English);
    EXPECT_EQ(state.CurChinese, state.Words[1].Chinese.trimmed());
    state.CurWordIndex = state.WordCount;
    words.SetCurrentWord();
    EXPECT_EQ(state.CurEnglish, state.Words[1].English);
}

TEST_F(WordRecordsTest, RunFlagsForTestAndArrangeRuns) {
    for (CWordType& w : state.Words) w.Tested = w.CurrErr = true;
    state.TestedCount = 3;
    words.ResetRunFlags();
    EXPECT_EQ(state.TestedCount, 0);
    for (const CWordType& w : state.Words) EXPECT_FALSE(w.Tested || w.CurrErr) << w.English.toStdString();

    state.TestedCount = 2;
    words.PrepareArrangeRun();
    EXPECT_EQ(state.TestedCount, 0);
    // Words with anything but letters cannot be arranged and count as done.
    for (const auto& [english, tested] : {std::pair{"hello", false}, {"Red", false}, {"o'clock", true}, {"ice cream", true}})
        EXPECT_EQ(state.Words[IndexOf(english)].Tested, tested) << english;
}

TEST_F(WordRecordsTest, PickUntestedWordUsesDrawsThenScans) {
    random.draws = {2};
    EXPECT_EQ(words.PickUntestedWord(), 2);
    EXPECT_EQ(random.asked.front(), 4);

    for (CWordType& w : state.Words) w.Tested = true;
    state.Words[3].Tested = false;
    random.draws = {0, 1, 2, 0, 1, 2, 3};
    random.asked.clear();
    EXPECT_EQ(words.PickUntestedWord(), 3);  // found by the scan after six misses
    EXPECT_EQ(random.asked.size(), 6u);
    EXPECT_EQ(random.draws.size(), 1u);

    state.Words[3].Tested = true;
    EXPECT_EQ(words.PickUntestedWord(), -1);
}
