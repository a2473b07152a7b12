#include "tests/support/QtApp.h"
#include "tools/TextbookSource.h"

// Comments, blank lines, Windows line ends and "-" for a drawn picture; "book" and "unit" with a meaning are
// words. Each spelling once, whatever its case.
TEST(TextbookSourceTest, ReadsBooksUnitsAndWordsAndEachSpellingOnce) {
    TextbookSource source;
    ASSERT_TRUE(source.ParseTextbook("# the sample\nversion\t快乐英语\twords\r\n\nbook\t三年级\nunit\tUnit 1\nhello\t你好\t👋\nbook\t书\t📕\r\n"
                                     "unit\t单元\t-\nbook\t四年级\nunit\tUnit 1\nHello\t你好\t-\ncat\t猫\t🐱"))
        << source.Errors().join('\n').toStdString();
    QStringList read{source.versionName + "/" + source.versionDB};
    for (const auto& book : source.books)
        for (const auto& unit : book.units)
            for (const auto& word : unit.words) read << book.name + "/" + unit.name + "/" + word.english + "=" + word.chinese + word.picture;
    EXPECT_EQ(read, QStringList({"快乐英语/words", "三年级/Unit 1/hello=你好👋", "三年级/Unit 1/book=书📕", "三年级/Unit 1/unit=单元",
                                 "四年级/Unit 1/Hello=你好", "四年级/Unit 1/cat=猫🐱"}));
    EXPECT_EQ(source.DistinctWords(), QStringList({"hello", "book", "unit", "cat"}));
    EXPECT_EQ(source.FirstWord("cat")->chinese + (source.FirstWord("CAT") ? "?" : ""), "猫");
}

// The editor learns every fault, each bad line by its number, in one run.
TEST(TextbookSourceTest, EachBadLineIsReportedWithItsNumber) {
    const QString version = "version\tv\tw\n";
    const std::pair<QString, QStringList> rows[] = {
        {"", {"no version line", "no book"}},
        {"version\tv\nbook\tB\nunit\tU\ncat\t猫\t-", {"line 1: version needs a name and a word table", "no version line"}},
        {version + "book\nbook\tB", {"line 2: book needs a name", "book B has no unit"}},
        {version + "unit\tU\nbook\tB\nunit\t \nunit\tU\ncat\t猫", {"line 2: unit before any book", "line 4: unit needs a name",
            "line 6: a word line has English, Chinese and picture, separated by tabs", "unit U has no word"}},
        {version + "cat\t猫\t-\nbook\tB\nunit\tU\n\t猫\t-\n../cat\t猫\t-\ncat\t猫\t-\ncat\t猫\t🐱", {"line 2: word before any unit",
            "line 5: empty English or Chinese", "line 6: \"../cat\" cannot name a media file", "line 8: \"cat\" twice in one unit"}}};
    for (const auto& [text, errors] : rows) {
        TextbookSource source;
        EXPECT_FALSE(source.ParseTextbook(text));
        EXPECT_EQ(source.Errors(), errors) << text.toStdString();
    }
    TextbookSource history;
    EXPECT_FALSE(history.ParseHistory("1\t0\t2026-09-07\t16:05\tUnit 1\r\n# NO\tuserID\nx\t0\ta\tb\tc\n2\t5\t d \t e \t f \n3\t0"));
    QStringList read;
    for (const auto& row : history.history) read << QString("%1/%2/%3/%4/%5").arg(row.no).arg(row.userID).arg(row.date, row.time, row.task);
    EXPECT_EQ(read, QStringList({"1/0/2026-09-07/16:05/Unit 1", "2/5/d/e/f"}));
    EXPECT_EQ(history.Errors(), QStringList({"history line 3: NO, userID, Date, Time and Task, separated by tabs",
                                             "history line 5: NO, userID, Date, Time and Task, separated by tabs"}));
}
