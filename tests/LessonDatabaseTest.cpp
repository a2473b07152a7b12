#include <sqlite3.h>

#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/LessonFixture.h"

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

// Every message shown, each as "\n<icon letter: None Information Warning Critical>[title] text".
QString Told(const ScriptedMessageService& messages) {
    QString text;
    for (const auto& m : messages.shown) text += "\n" + QString("NIWCQ").mid(int(m.icon), 1) + "[" + m.title + "] " + m.text;
    return text;
}

// A second program's view of the same installation.
struct Opener {
    explicit Opener(const TempInstall& install) { db.BuildConnString(install.AppPicsDir()); }
    LessonState state;
    ScriptedMessageService told;
    LessonDatabase db{state, told};
    Catalogue units{state, db, told};
};

class LessonDatabaseTest : public LessonFixture {
protected:
    // On the file, which must rest scrambled and is left so.
    QString Plain(const QString& sql) {
        EXPECT_TRUE(install.DbIsScrambled()) << sql.toStdString();
        return install.OnScrambled(sql);
    }
    QString File(const QString& text) const { return QString(text).arg(install.DbPath()); }
    const QString notSaved = "\nC[测试版] 学习结果没有保存：无法写入词库文件\n%1\n请确认这个文件和它所在的文件夹可以写入，程序会在下次保存时再试。";
};
using WordRecordsTest = LessonDatabaseTest;
using CatalogueTest = LessonDatabaseTest;

// Plain as built or as a crash leaves it, or scrambled, the file opens and rests scrambled in rollback-journal
// mode. Reads in one open leave it plain between them; a save closes it.
TEST_F(LessonDatabaseTest, FileOpensInEitherFormAndRestsScrambled) {
    db.CloseRecordset();  // nothing open: the file stays as it is
    ASSERT_FALSE(install.DbIsScrambled());
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(db.LoadSettings()) << run;
        EXPECT_TRUE(install.DbIsScrambled()) << run;
    }
    EXPECT_EQ(QString("%1 %2 %3 %4 ").arg(state.VersionName, state.VersionDB).arg(state.CurVersionID).arg(state.BookCount) +
                  QStringList(state.BookNames.begin(), state.BookNames.end()).join(','), "测试版 words 7 2 第1册,第2册");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    std::vector<bool> plain;
    EXPECT_TRUE(db.InOneOpen([&] {
        const bool read = db.LoadSettings() && catalogue.LoadUnits(0) && words.LoadUnitWords(0, 0);
        plain.push_back(!install.DbIsScrambled());
        state.CurBook = state.CurUnit = 1;
        const bool saved = read && words.SaveAllResults() && db.SavePosition();
        plain.push_back(!install.DbIsScrambled());
        return saved && catalogue.LoadUnits(1);
    }));
    EXPECT_EQ(plain, std::vector<bool>({true, false}));
    EXPECT_EQ(QString("%1 %2").arg(state.UnitCount).arg(state.BookUnits[0].UnitName) + Told(messages), "1 Unit 1 Animals");
    EXPECT_FALSE(QFile::exists(install.DbPath() + "-wal") || QFile::exists(install.DbPath() + "-journal"));
    QString error;  // made over an existing database, the schema fails and says why
    const bool first = LessonDatabase::CreateEmptyDatabase(install.Root() + "/twice.db", "words", &error);
    EXPECT_TRUE(first && !LessonDatabase::CreateEmptyDatabase(install.Root() + "/twice.db", "words", &error) &&
                error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(Plain("select LastBook || ',' || LastUnit from FeatureTable") + Plain("pragma journal_mode"), "1,1delete");
}

// While the message waits for the pupil the file is not left open and plain.
TEST_F(LessonDatabaseTest, AFileThatCannotBeStudiedFromIsReportedOnceAndLeftAsFound) {
    const QByteArray plain = install.ReadFile(kDb), garbage(4096, 'x');
    for (const QString damage : {"missing", "garbage", "delete from VersionInfo", "delete from FeatureTable"}) {
        SCOPED_TRACE(damage.toStdString());
        install.WriteFile(kDb, plain);
        Opener other(install);
        // What an earlier load read must not stand in for a row that is now gone.
        if (damage.endsWith("FeatureTable")) { ASSERT_TRUE(other.db.LoadSettings() && (install.WriteFile(kDb, plain), true)); }
        if (damage == "missing") QFile::remove(install.DbPath());
        else if (damage == "garbage") install.WriteFile(kDb, garbage);
        else install.Exec(damage);
        std::vector<bool> plainWhileShown;
        other.told.whileShown = [&](const auto&) { plainWhileShown.push_back(install.ReadFile(kDb).startsWith("SQLite")); };
        EXPECT_FALSE(other.db.LoadSettings());
        EXPECT_EQ(Told(other.told), File(damage == "missing" ? "\nC[英语Orvanel] 找不到词库文件：\n%1\n请重新安装本软件。"
                                         : QString(damage.endsWith("FeatureTable") ? "\nC[测试版" : "\nC[英语Orvanel") +
                                               "] 词库文件已损坏，无法读取：\n%1\n请重新安装本软件。"));
        EXPECT_EQ(plainWhileShown, std::vector<bool>{false});
        if (damage == "missing") EXPECT_FALSE(QFile::exists(install.DbPath()));  // no empty database made
        else if (damage == "garbage") EXPECT_EQ(install.ReadFile(kDb), garbage);
        else EXPECT_TRUE(install.DbIsScrambled());
    }
}

TEST_F(LessonDatabaseTest, AFailedQueryIsReportedAndOnlySelectStarRowsAreWrittenBack) {
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_FALSE(db.OpenRecordset({"select * from NoSuchTable", {}}));
    EXPECT_EQ(Told(messages), File("\nC[测试版] 词库文件已损坏，无法读取：\n%1\n请重新安装本软件。"));
    ASSERT_TRUE(db.OpenRecordset({"select DISTINCT BookName,BookID from words_BookUnit order by BookID", {}}));
    db.SharedRecordset.SetField("BookName", "x");
    EXPECT_FALSE(db.SharedRecordset.Update());
    ASSERT_TRUE(db.OpenRecordset({"select * from words where Book = ? order by English", {1}}));
    Recordset& rs = db.SharedRecordset;
    rs.MoveNext();
    EXPECT_EQ(rs.Field("english").toString(), "cat");  // column names match any case
    rs.SetField("RESULT", "9|9|9");
    ASSERT_TRUE(rs.Update());
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    rs.AddNew();  // an added row becomes the last, and the others read as themselves again
    for (const auto& [column, value] : {std::pair{"Book", "1"}, {"English", "zebra"}, {"Chinese", "斑马"}, {"Composition", "0"}}) rs.SetField(column, value);
    ASSERT_TRUE(rs.Update());
    rs.MoveFirst();
    EXPECT_EQ(rs.Field("English").toString() + QString::number(rs.RecordCount()), "Red3");
    db.CloseRecordset();
    EXPECT_EQ(Plain("select group_concat(Book || English) from words where Result = '9|9|9' or English = 'zebra'"), "1cat,1zebra");
}

// Held from the first read (0), or taken after a read and then a read (1) or a save (2):
// one message, the file is not scrambled under its holder, and the next try works.
TEST_F(LessonDatabaseTest, ABusyFileAsksToTryAgainAndIsLeftToItsHolder) {
    for (const auto& [begin, then] : {std::pair{"begin exclusive", 0}, {"begin immediate", 0}, {"begin exclusive", 1}, {"begin immediate", 2}}) {
        SCOPED_TRACE(begin + std::to_string(then));
        Opener other(install);
        other.db.SetBusyWait(20);
        sqlite3* holder = nullptr;
        EXPECT_FALSE(other.db.InOneOpen([&] {
            if (then > 0 && !other.db.LoadSettings()) return true;
            sqlite3_open(QFile::encodeName(install.DbPath()).constData(), &holder);
            EXPECT_EQ(sqlite3_exec(holder, begin, nullptr, nullptr, nullptr), SQLITE_OK);
            return then == 0 ? other.db.LoadSettings() : then == 1 ? other.units.LoadUnits(0) : other.db.SavePosition();
        }));
        EXPECT_EQ(Told(other.told), File(then == 2 ? notSaved : QString(then ? "\nW[测试版" : "\nW[英语Orvanel") +
                                         "] 词库文件正在被其他程序使用：\n%1\n请关闭其他程序后再试。"));
        EXPECT_FALSE(install.DbIsScrambled()) << "scrambled under its holder";
        sqlite3_close(holder);
        EXPECT_TRUE(other.db.LoadSettings() && other.db.CanSaveToFile()) << Told(other.told).toStdString();
        EXPECT_TRUE(install.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(install.DbPath());
    }
}

// As root nobody can be kept from writing, so each session runs as the user nobody: with the file and its
// folder read-only (0), with only the folder read-only so SQLite has nowhere to put its journal (1), or
// with the folder turning read-only for one save of the results and the position (2).
TEST_F(LessonDatabaseTest, AnUnwritableFileIsStudiedFromMemoryAndAFailedSaveIsToldOnceAndTriedAgain) {
    ModuleCrpt::ScrambleHeader(install.DbPath());
    const QByteArray before = install.ReadFile(kDb);
    for (const int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        install.WriteFile(kDb, before);
        AsNobody::LetRead(install.Root());
        ASSERT_TRUE((kind == 0 || AsNobody::Give(install.DbPath())) && (kind < 2 || AsNobody::Give(install.AppPicsDir())));
        const AsNobody::Outcome outcome = AsNobody::Run([&] {
            const bool started = StartLessonData();
            for (int i = 0; i < state.WordCount; ++i) words.CountAnswer(i, true);
            state.CurBook = 1;
            const auto dir = [&](QFile::Permissions more) {
                if (kind == 2) QFile::setPermissions(install.AppPicsDir(), QFile::ReadOwner | QFile::ExeOwner | more);
            };
            dir({});
            const bool saved = words.SaveAllResults(), placed = db.SavePosition();
            dir(QFile::WriteOwner | QFile::ReadOther | QFile::ExeOther);
            const bool later = words.SaveAllResults() && db.SavePosition();
            const bool reloaded = words.LoadUnitWords(1, 0) && words.LoadUnitWords(0, 0) && db.LoadSettings();
            return QString("%1 %2%3 %4 %5 %6 %7 %8").arg(started).arg(saved).arg(placed).arg(later).arg(reloaded)
                       .arg(state.Words[0].Result).arg(state.CurBook).arg(db.CanSaveToFile()) + Told(messages);
        });
        ASSERT_EQ(outcome.exitCode, 0) << outcome.report.toStdString();
        EXPECT_EQ(outcome.report, kind == 2 ? "1 00 1 1 1|0|1 1 1" + File(notSaved + notSaved)
                                            : File("1 11 1 1 1|0|1 1 0\nW[测试版] 词库文件不能写入：\n%1\n可以照常学习，但是这次的学习结果不能保存。"));
        if (kind == 2)
            EXPECT_EQ(Plain("select group_concat(ifnull(Result, '-')) || ' ' || (select LastBook from FeatureTable) "
                            "from words"), "1|0|1,4|1|3,1|0|1,6|0|6,-,6|0|6 1");
        else
            EXPECT_EQ(std::pair(install.ReadFile(kDb), QFile::exists(install.DbPath() + "-journal")), std::pair(before, false));
    }
}

// Counts are 16-bit: 32767 fit; one more unit, word or book refuses the database with one message, and what was loaded stays.
TEST_F(LessonDatabaseTest, ACountAboveTheLimitIsRefusedOnceAndNothingIsWritten) {
    const auto many = [this](const QString& table, int from, int to, const QString& row) {
        return QString("insert into %1 with recursive n(i) as (select %2 union all select i + 1 from n "
                       "where i < %3) select %4 from n").arg(table).arg(from).arg(to).arg(row);
    };
    install.Exec(many("words_BookUnit", 1, 32766, "NULL, 7, 1, '第2册', i, 'Unit', NULL"));
    install.Exec(many("words_BookUnit", 0, 32767, "NULL, 7, 2, '第3册', i, 'Unit', NULL"));
    install.Exec(many("words", 1, 32768, "0, 1, 'w' || i, '词', 0, NULL"));
    ASSERT_TRUE(StartLessonData());
    ASSERT_TRUE(catalogue.LoadUnits(1)) << Told(messages).toStdString();
    EXPECT_EQ(state.UnitCount, 32767);
    ASSERT_TRUE(catalogue.LoadUnits(0));
    EXPECT_FALSE(catalogue.LoadUnits(2) || words.LoadUnitWords(0, 1));
    EXPECT_EQ(QString("%1 %2 %3 %4 %5").arg(state.UnitCount).arg(state.BookUnits.size()).arg(state.WordCount)
                  .arg(state.Words[0].English).arg(db.Refused()), "2 2 4 hello 1");
    EXPECT_EQ(Told(messages), File("\nC[测试版] 词库文件中的册、单元或单词太多，本软件无法使用：\n%1"));
    Plain(many("words_BookUnit", 3, 32767, "NULL, 7, i, 'Book', 0, 'Unit', NULL"));  // 32768 books
    const QByteArray before = install.ReadFile(kDb);
    EXPECT_FALSE(db.LoadSettings());
    EXPECT_EQ(std::pair(messages.shown.size(), install.ReadFile(kDb)), std::pair(size_t(1), before));
}

// " hello " is stored with blanks and a NULL result. Right then wrong, a quote in the spelling, one spelling in two
// books, and a failed load in between: the save still writes every word of the unit.
TEST_F(WordRecordsTest, WordsLoadTrimmedAndTheirAnswersAreSavedByTrimmedSpellingAfterAFailedLoad) {
    ASSERT_TRUE(StartLessonData());
    const auto loaded = [&] {
        QStringList text(QString::number(state.TestedCount));
        for (const CWordType& w : state.Words) text << QString("%1 %2 %3 %4 %5").arg(w.English, w.Chinese, w.Result).arg(w.Composition).arg(w.Tested);
        return text.join(", ");
    };
    EXPECT_EQ(loaded(), "0, hello 你好 0|0|0 0 0, o'clock ……点钟 3|1|2 1 0, ice cream 冰淇淋 0|0|0 1 0, Red 红色 5|0|5 0 0");
    for (const auto& [index, right] : {std::pair{0, true}, {0, false}, {1, true}, {3, false}, {-1, true}, {4, true}}) words.CountAnswer(index, right);
    const CWordType& hello = state.Words[0];
    EXPECT_EQ(QString("%1 %2|%3|%4 %5").arg(state.TestedCount).arg(hello.testNum).arg(hello.errNum).arg(hello.rightNum)
                  .arg(hello.Tested), "2 2|1|0 1");
    state.TestedCount = 32766;  // the counter stops at its limit
    for (const bool right : {false, true, true}) words.CountAnswer(2, right);
    EXPECT_EQ(state.TestedCount, 32767);
    state.CurWordIndex = 2;
    EXPECT_FALSE(words.LoadUnitWords(0, 1));
    EXPECT_EQ(QString("%1 %2 %3").arg(state.WordCount).arg(state.Words.size()).arg(state.CurWordIndex) + Told(messages),
              "0 4 2\nN[测试版] 没有找到您要的单词库，请下载最新的版本！");
    EXPECT_TRUE(words.SaveAllResults());
    EXPECT_EQ(Plain("select group_concat(Book || trim(English) || '=' || ifnull(Result, '-'), ' ') from words"),
              "0hello=2|1|0 0o'clock=4|1|3 0ice cream=3|1|2 0Red=6|1|0 1cat=- 1Red=6|1|0");
    ASSERT_TRUE(words.LoadUnitWords(1, 0));
    EXPECT_EQ(QString("%1 ").arg(state.CurWordIndex) + loaded(), "0 32767, cat 猫 0|0|0 0 0, Red 红色 6|1|0 0 0");
}

TEST(CWordType, DamagedResultsReadAsZeroCountersSaturateAndOnlyLettersKeepTheComposition) {
    CWordType w;
    for (const auto& [text, counters] : std::vector<std::pair<QString, QString>>{{"", "0|0|0"}, {"7", "7|0|0"},
             {"a|b|c", "0|0|0"}, {"1|x|4", "1|0|4"}, {"-3|2|1", "0|2|1"}, {" 2 |0|1", "2|0|1"}, {"99999|32767|32767", "32767|32767|32767"}}) {
        w.Result = text;
        w.GetWordResult();
        EXPECT_EQ(QString("%1|%2|%3").arg(w.testNum).arg(w.errNum).arg(w.rightNum), counters) << text.toStdString();
    }
    w.CountAnswer(false);
    w.SetWordResultString();
    EXPECT_EQ(w.Result, "32767|32767|0");
    for (const auto& [english, table, expected] : std::vector<std::tuple<QString, int, int>>{
             {"Apple", 0, 0}, {"zoo", 0, 0}, {"ABZ", 0, 0}, {"Apple", 4, 4}, {"T-shirt", 0, 1}, {"Good morning", 0, 1},
             {"o'clock", 0, 1}, {"r2d2", 0, 1}, {"café", 0, 1}, {"a@", 0, 1}, {"[z", 0, 1}}) {
        w = CWordType{.Composition = static_cast<qint16>(table), .English = english};
        w.SetComposition();
        EXPECT_EQ(w.Composition, expected) << english.toStdString();
    }
}

// A test run starts with every word untested; an arrange run counts the words with anything but letters as
// done. The pick draws six times, then takes the first untested word within the unit's count.
TEST_F(WordRecordsTest, RunFlagsDecideWhichWordsArePicked) {
    ASSERT_TRUE(StartLessonData());
    const auto flags = [&](bool arrange) {
        for (CWordType& w : state.Words) w.Tested = w.CurrErr = true;
        state.TestedCount = 3;
        arrange ? words.PrepareArrangeRun() : words.ResetRunFlags();
        QString text = QString::number(state.TestedCount);
        for (const CWordType& w : state.Words) text += QString(" %1%2").arg(w.Tested).arg(w.CurrErr);
        return text;
    };
    EXPECT_EQ(flags(false), "0 00 00 00 00");
    EXPECT_EQ(flags(true), "0 00 11 11 00");
    for (const auto& [count, draws, picked, asked] : std::vector<std::tuple<int, std::deque<int>, int, int>>{{4, {0, 0}, 0, 1},
             {4, {1, 2, 1, 2, 1, 3}, 3, 6}, {4, {1, 2, 1, 2, 1, 2, 3}, 0, 6}, {3, {3, 3, 3, 3, 3, 3}, 0, 6}, {3, {1, 2, 1, 2, 1, 2}, -1, 6}}) {
        state.Words[0].Tested = picked != 0;
        state.WordCount = static_cast<qint16>(count);
        random.draws = draws;
        random.asked.clear();
        EXPECT_EQ(QString("%1 %2 %3").arg(words.PickUntestedWord()).arg(random.asked.size()).arg(random.asked.front()),
                  QString("%1 %2 %3").arg(picked).arg(asked).arg(count)) << count << " " << picked;
    }
}

// Units take their number from their place in the book, whatever their id.
TEST_F(CatalogueTest, UnitsAreNumberedByPositionAndABookWithoutUnitsKeepsTheList) {
    ASSERT_TRUE(StartLessonData());
    Plain("update words_BookUnit set UnitID = 5, UnitName = ' Unit 2 Empty ', UnitStatus = 2 where UnitID = 1");
    state.CurWordIndex = 3;
    ASSERT_TRUE(catalogue.LoadUnits(0));
    QString units = QString("%1 %2:").arg(state.UnitCount).arg(state.CurWordIndex);
    for (const CBookUnit& u : state.BookUnits) units += QString(" %1.%2 %3=%4").arg(u.BookID).arg(u.UnitID).arg(u.UnitName).arg(u.UnitStatus);
    EXPECT_EQ(units, "2 0: 0.0 Unit 1 Hello!=0 0.1 Unit 2 Empty=2");
    EXPECT_FALSE(catalogue.LoadUnits(5));
    EXPECT_EQ(QString("%1 %2").arg(state.UnitCount).arg(state.BookUnits.size()) + Told(messages),
              "0 2\nN[测试版] 没有找到您要的单元，请下载最新的版本！");
    for (const int book : {-1, 0, 1, 2}) units += "[" + catalogue.GetBookName(book) + "]";
    EXPECT_TRUE(units.endsWith("[][第1册][第2册][]")) << units.toStdString();
    QString merged;  // each unit's mark after a pass of the first (1) or the second (2) kind
    for (int cur = 0; cur < 4; ++cur) merged += QString::number(Catalogue::MergedStatus(cur, 1)) + QString::number(Catalogue::MergedStatus(cur, 2));
    EXPECT_EQ(merged, "12133233");
}

// A mark the file refused stays with its unit through every reload and is written by the next save that
// succeeds, with the new mark; a missing row is added with nothing completed.
TEST_F(CatalogueTest, MarksAreStoredAtOnceOrWaitForTheNextSave) {
    ASSERT_TRUE(StartLessonData());
    const QString marks = "select group_concat(UnitID || '=' || ifnull(UnitStatus, '-')) from words_BookUnit where BookID = 0";
    Plain("create trigger NoMarks before update on words_BookUnit begin select raise(abort, 'read only'); end");
    state.CurUnit = 1;
    EXPECT_FALSE(catalogue.MergeUnitStatus(2) || catalogue.MergeUnitStatus(1));
    EXPECT_EQ(Told(messages), File(notSaved + notSaved));
    ASSERT_TRUE(catalogue.LoadUnits(1) && catalogue.LoadUnits(0));
    EXPECT_EQ(QString("%1 %2 ").arg(state.BookUnits[0].UnitStatus).arg(state.BookUnits[1].UnitStatus) + Plain(marks), "0 3 0=-,1=-");
    Plain("drop trigger NoMarks");
    state.CurUnit = 0;
    EXPECT_TRUE(catalogue.MergeUnitStatus(1));
    EXPECT_EQ(Plain(marks), "0=1,1=3");
    Plain("delete from words_BookUnit where BookID = 0 and UnitID = 1");
    state.CurUnit = 1;
    EXPECT_TRUE(catalogue.MergeUnitStatus(2));
    EXPECT_EQ(Plain("select group_concat(UnitStatus || ',' || VersionID || ',' || BookName || ',' || UnitName || ',' || "
                    "ifnull(UserID, 'null')) from words_BookUnit where BookID = 0 and UnitID = 1"), "0,7,第1册,Unit 2 Empty,null");
    EXPECT_EQ(QString("%1 %2").arg(state.BookUnits[1].UnitStatus).arg(messages.shown.size()), "3 2");
}
