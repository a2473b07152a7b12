#include "media/ModuleCrpt.h"
#include "tests/support/LessonFixture.h"

namespace {

int IndexOf(const LessonState& state, const QString& english) {
    for (size_t i = 0; i < state.Words.size(); ++i)
        if (state.Words[i].English == english) return static_cast<int>(i);
    return -1;
}

}  // namespace

class WordRecordsTest : public LessonFixture {
protected:
    void SetUp() override {
        LessonFixture::SetUp();
        ASSERT_TRUE(StartLessonData());
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
    ASSERT_EQ(state.WordCount, 4);
    const CWordType& hello = state.Words[IndexOf(state, "hello")];
    EXPECT_EQ(hello.Result, "0|0|0");  // NULL column
    EXPECT_EQ(hello.testNum, 0);
    EXPECT_EQ(hello.Composition, 0);
    const CWordType& clock = state.Words[IndexOf(state, "o'clock")];
    EXPECT_EQ(clock.testNum, 3);
    EXPECT_EQ(clock.errNum, 1);
    EXPECT_EQ(clock.rightNum, 2);
    EXPECT_EQ(clock.Composition, 1);
    EXPECT_EQ(state.Words[IndexOf(state, "ice cream")].Composition, 1);
    EXPECT_EQ(state.Words[IndexOf(state, "Red")].Composition, 0);
    EXPECT_TRUE(install.DbIsScrambled());
}

TEST_F(WordRecordsTest, CounterRuleRightThenWrongIsWrittenBack) {
    const int i = IndexOf(state, "hello");
    words.ResetRunFlags();
    words.CountAnswer(i, true);
    EXPECT_EQ(state.TestedCount, 1);
    EXPECT_TRUE(state.Words[i].Tested);
    state.Words[i].SetWordResultString();
    EXPECT_EQ(state.Words[i].Result, "1|0|1");
    words.CountAnswer(i, false);
    state.Words[i].SetWordResultString();
    EXPECT_EQ(state.Words[i].Result, "2|1|0");
    EXPECT_EQ(state.TestedCount, 1);

    words.SaveAllResults();
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(StoredResult("hello", 0), "2|1|0");  // stored as " hello "
    EXPECT_EQ(StoredResult("ice cream", 0), "0|0|0");  // every word is written
}

TEST_F(WordRecordsTest, QuoteInEnglishIsMatchedSafely) {
    const int i = IndexOf(state, "o'clock");
    words.CountAnswer(i, true);
    state.Words[i].UpdateUserInfo(db, state.VersionDB);
    EXPECT_EQ(StoredResult("o''clock", 0), "4|1|3");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WordRecordsTest, OneSpellingInTwoUnitsSharesItsResult) {
    const int i = IndexOf(state, "Red");
    words.CountAnswer(i, false);
    words.SaveAllResults();
    EXPECT_EQ(StoredResult("Red", 1), "6|1|0");
    ASSERT_TRUE(words.LoadUnitWords(1, 0));
    EXPECT_EQ(state.Words[IndexOf(state, "Red")].errNum, 1);
}

TEST_F(WordRecordsTest, FailedLoadKeepsPreviousWordsAndSaveStillWritesThem) {
    state.CurWordIndex = 2;
    words.CountAnswer(IndexOf(state, "hello"), true);
    EXPECT_FALSE(words.LoadUnitWords(0, 1));
    EXPECT_TRUE(messages.Saw("没有找到您要的单词库，请下载最新的版本！"));
    EXPECT_EQ(messages.shown.back().title, "测试版");
    EXPECT_EQ(state.WordCount, 0);
    EXPECT_EQ(state.Words.size(), 4u);
    EXPECT_EQ(state.CurWordIndex, 2);
    words.SaveAllResults();
    EXPECT_EQ(StoredResult("hello", 0), "1|0|1");

    ASSERT_TRUE(words.LoadUnitWords(1, 0));
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_EQ(state.WordCount, 2);
}

TEST(CWordTypeResult, DamagedTextsReadAsZeroAndCountersSaturate) {
    CWordType w;
    for (const QString text : {"", "7", "a|b|c", "1|x", "-3|2|1"}) {
        w.Result = text;
        w.GetWordResult();
        EXPECT_GE(w.testNum, 0) << text.toStdString();
    }
    w.Result = "7";
    w.GetWordResult();
    EXPECT_EQ(w.testNum, 7);
    EXPECT_EQ(w.errNum, 0);
    w.Result = "1|x|4";
    w.GetWordResult();
    EXPECT_EQ(w.testNum, 1);
    EXPECT_EQ(w.errNum, 0);
    EXPECT_EQ(w.rightNum, 4);
    w.Result = "99999|32767|32767";
    w.GetWordResult();
    EXPECT_EQ(w.testNum, 32767);
    w.CountAnswer(false);
    EXPECT_EQ(w.testNum, 32767);
    EXPECT_EQ(w.errNum, 32767);
    EXPECT_EQ(w.rightNum, 0);
    w.SetWordResultString();
    EXPECT_EQ(w.Result, "32767|32767|0");
}

TEST(CWordTypeComposition, OnlyLettersKeepTheTableValue) {
    CWordType w;
    for (const QString text : {"Apple", "zoo", "ABC"}) {
        w.English = text;
        w.Composition = 0;
        w.SetComposition();
        EXPECT_EQ(w.Composition, 0) << text.toStdString();
    }
    w.English = "Apple";
    w.Composition = 4;
    w.SetComposition();
    EXPECT_EQ(w.Composition, 4);
    for (const QString text : {"T-shirt", "Good morning", "o'clock", "r2d2", "café"}) {
        w.English = text;
        w.Composition = 0;
        w.SetComposition();
        EXPECT_EQ(w.Composition, 1) << text.toStdString();
    }
}

TEST_F(WordRecordsTest, SetCurrentWordTracksPreviousWord) {
    state.CurEnglish = "ffe";
    state.CurWordIndex = 0;
    words.SetCurrentWord();
    EXPECT_EQ(state.PrevEnglish, "ffe");
    EXPECT_EQ(state.CurEnglish, state.Words[0].English);
    const QString first = state.CurEnglish;
    words.SetCurrentWord();  // same word again changes nothing
    EXPECT_EQ(state.PrevEnglish, "ffe");
    state.CurWordIndex = 1;
    words.SetCurrentWord();
    EXPECT_EQ(state.PrevEnglish, first);
    EXPECT_EQ(state.CurChinese, state.Words[1].Chinese.trimmed());
    state.CurWordIndex = state.WordCount;
    words.SetCurrentWord();
    EXPECT_EQ(state.CurEnglish, state.Words[1].English);
}

TEST_F(WordRecordsTest, RunFlagsForTestAndArrangeRuns) {
    for (CWordType& w : state.Words) {
        w.Tested = true;
        w.CurrErr = true;
    }
    state.TestedCount = 3;
    words.ResetRunFlags();
    EXPECT_EQ(state.TestedCount, 0);
    for (const CWordType& w : state.Words) EXPECT_FALSE(w.Tested || w.CurrErr);

    state.TestedCount = 2;
    words.PrepareArrangeRun();
    EXPECT_EQ(state.TestedCount, 0);
    EXPECT_FALSE(state.Words[IndexOf(state, "hello")].Tested);
    EXPECT_FALSE(state.Words[IndexOf(state, "Red")].Tested);
    EXPECT_TRUE(state.Words[IndexOf(state, "o'clock")].Tested);
    EXPECT_TRUE(state.Words[IndexOf(state, "ice cream")].Tested);
}

TEST_F(WordRecordsTest, PickUntestedWordUsesDrawsThenScans) {
    words.ResetRunFlags();
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
