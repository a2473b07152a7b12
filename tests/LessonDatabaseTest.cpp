#include <QFile>

#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/LessonFixture.h"

using LessonDatabaseTest = LessonFixture;

TEST_F(LessonDatabaseTest, PlainFileOpensAndRestsScrambled) {
    ASSERT_FALSE(install.DbIsScrambled());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(state.VersionName, "测试版");
    EXPECT_EQ(state.VersionDB, "words");
    EXPECT_EQ(state.CurVersionID, 7);
    ASSERT_EQ(state.BookCount, 2);
    EXPECT_EQ(state.BookNames[0], "第1册");
    EXPECT_EQ(state.BookNames[1], "第2册");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LessonDatabaseTest, ScrambledFileOpensOnRetryAndRestsScrambled) {
    ModuleCrpt::ScrambleHeader(install.DbPath());
    ASSERT_TRUE(install.DbIsScrambled());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_TRUE(install.DbIsScrambled());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(state.BookCount, 2);
}

TEST_F(LessonDatabaseTest, ClosingWithNothingOpenLeavesFileUntouched) {
    const QByteArray before = install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName);
    db.CloseRecordset();
    db.CloseRecordset();
    EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), before);
}

TEST_F(LessonDatabaseTest, SavePositionWritesLastBookAndUnit) {
    ASSERT_TRUE(db.LoadSettings());
    state.CurBook = 1;
    state.CurUnit = 0;
    db.SavePosition();
    EXPECT_TRUE(install.DbIsScrambled());
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select LastBook || ',' || LastUnit from FeatureTable").toString(), "1,0");
}

TEST_F(LessonDatabaseTest, MissingFileIsReportedByName) {
    QFile::remove(install.DbPath());
    EXPECT_FALSE(db.LoadSettings());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(install.DbPath()));
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(QFile::exists(install.DbPath()));  // no empty database is created
}

TEST_F(LessonDatabaseTest, DamagedFileIsReportedAndLeftAsFound) {
    QByteArray garbage(4096, 'x');
    install.WriteFile("Bin/AppPics/" + LessonDatabase::kFileName, garbage);
    EXPECT_FALSE(db.LoadSettings());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(LessonDatabase::kFileName));
    EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), garbage);
}

TEST_F(LessonDatabaseTest, MissingSettingsOrVersionRowEndsLoadWithMessage) {
    for (const char* damage : {"delete from VersionInfo", "delete from FeatureTable"}) {
        if (install.DbIsScrambled()) ModuleCrpt::ScrambleHeader(install.DbPath());
        install.Exec(damage);
        messages.shown.clear();
        EXPECT_FALSE(db.LoadSettings()) << damage;
        ASSERT_EQ(messages.shown.size(), 1u) << damage;
        EXPECT_TRUE(messages.shown[0].text.contains(install.DbPath()));
        EXPECT_TRUE(install.DbIsScrambled());
    }
}

TEST_F(LessonDatabaseTest, RecordsetUpdatesAndAddsRowsByRowId) {
    ASSERT_TRUE(db.LoadSettings());
    ASSERT_TRUE(db.OpenRecordset({"select * from words where Book = ? order by English", {0}}));
    Recordset& rs = db.SharedRecordset;
    ASSERT_EQ(rs.RecordCount(), 4);
    rs.MoveFirst();
    EXPECT_EQ(rs.Field("english").toString(), " hello ");  // column names match any case
    rs.MoveNext();
    rs.SetField("Result", "9|9|9");
    ASSERT_TRUE(rs.Update());
    rs.AddNew();
    rs.SetField("Book", 0);
    rs.SetField("Unit", 1);
    rs.SetField("English", "new");
    rs.SetField("Chinese", "新的");
    rs.SetField("Composition", 0);
    ASSERT_TRUE(rs.Update());
    for (int i = 0; i < 10; ++i) rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    db.CloseRecordset();
    EXPECT_TRUE(install.DbIsScrambled());

    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select Result from words where English = 'Red' and Book = 0").toString(), "9|9|9");
    EXPECT_EQ(install.Query("select count(*) from words where Unit = 1 and English = 'new'").toString(), "1");
    EXPECT_EQ(install.Query("select count(*) from words where Result = '9|9|9'").toString(), "1");
}

TEST_F(LessonDatabaseTest, DistinctQueriesAreReadOnly) {
    ASSERT_TRUE(db.LoadSettings());
    ASSERT_TRUE(db.OpenRecordset({"select DISTINCT BookName,BookID from words_BookUnit order by BookID", {}}));
    db.SharedRecordset.SetField("BookName", "x");
    EXPECT_FALSE(db.SharedRecordset.Update());
    db.CloseRecordset();
    EXPECT_TRUE(install.DbIsScrambled());
}

TEST_F(LessonDatabaseTest, FailedQueryIsReportedAndLeavesFileScrambled) {
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_FALSE(db.OpenRecordset({"select * from NoSuchTable", {}}));
    EXPECT_TRUE(install.DbIsScrambled());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(install.DbPath()));
    EXPECT_EQ(messages.shown[0].title, "测试版");
    EXPECT_TRUE(db.LoadSettings());
}

TEST_F(LessonDatabaseTest, FileStaysInRollbackJournalMode) {
    ASSERT_TRUE(StartLessonData());
    words.SaveAllResults();
    EXPECT_FALSE(QFile::exists(install.DbPath() + "-wal"));
    EXPECT_FALSE(QFile::exists(install.DbPath() + "-journal"));
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("pragma journal_mode").toString(), "delete");
}

namespace {

QString Describe(const ScriptedMessageService& messages) {
    QString text;
    for (const auto& shown : messages.shown) text += "\n[" + shown.title + "] " + shown.text;
    return text;
}

}  // namespace

// As root nobody can be kept from writing, so these run as the user nobody:
// first with the file and its folder both read-only, then with only the
// folder read-only (the file could be changed, but SQLite has nowhere to put
// its journal).
TEST_F(LessonDatabaseTest, UnwritableDatabaseIsStudiedFromMemoryAndLeftUntouched) {
    for (const bool fileWritable : {false, true}) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        AsNobody::LetRead(install.Root());
        if (fileWritable) {
            ASSERT_TRUE(AsNobody::Give(install.DbPath()));
        }
        const QByteArray before = install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName);

        // A session with it: study, save, change unit and come back.
        const AsNobody::Outcome outcome = AsNobody::Run([this] {
            const bool started = StartLessonData();
            state.Words[0].CountAnswer(true);
            const bool resultsSaved = words.SaveAllResults();
            state.CurBook = 1;
            const bool positionSaved = db.SavePosition();
            const bool reloaded = words.LoadUnitWords(1, 0) && words.LoadUnitWords(0, 0);
            return QString("started=%1 saved=%2,%3 reloaded=%4 hello=%5 toFile=%6")
                       .arg(started).arg(resultsSaved).arg(positionSaved).arg(reloaded)
                       .arg(state.Words.empty() ? QString() : state.Words[0].Result)
                       .arg(db.CanSaveToFile()) +
                   Describe(messages);
        });

        ASSERT_EQ(outcome.exitCode, 0) << outcome.report.toStdString();
        EXPECT_EQ(outcome.report, "started=1 saved=1,1 reloaded=1 hello=1|0|1 toFile=0\n[测试版] 词库文件不能写入：\n" +
                                      install.DbPath() + "\n可以照常学习，但是这次的学习结果不能保存。")
            << "file writable: " << fileWritable;
        EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), before);
        EXPECT_FALSE(QFile::exists(install.DbPath() + "-journal"));
        ModuleCrpt::ScrambleHeader(install.DbPath());
    }
}

TEST_F(LessonDatabaseTest, FolderTurningReadOnlyFailsEachSaveOnceAndKeepsResultsForTheNextTry) {
    QFile::remove(install.DbPath());
    std::vector<TempInstall::Word> many;
    for (int i = 0; i < 200; ++i) many.push_back({0, 0, QString("word%1").arg(i), "词"});
    install.CreateDatabase({{"Unit 1"}, {"Unit 1"}}, many);
    AsNobody::LetRead(install.Root());
    ASSERT_TRUE(AsNobody::Give(install.AppPicsDir()) && AsNobody::Give(install.DbPath()));

    const AsNobody::Outcome outcome = AsNobody::Run([this] {
        if (!StartLessonData()) return QString("not started") + Describe(messages);
        for (int i = 0; i < 200; ++i) words.CountAnswer(i, true);
        state.CurBook = 1;
        QFile::setPermissions(install.AppPicsDir(), QFile::ReadOwner | QFile::ExeOwner);
        const bool failedResults = !words.SaveAllResults();
        const bool failedPosition = !db.SavePosition();
        const size_t messagesWhileLocked = messages.shown.size();
        QFile::setPermissions(install.AppPicsDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::ExeOther);
        const bool savedLater = words.SaveAllResults() && db.SavePosition();
        return QString("failed=%1,%2 whileLocked=%3 savedLater=%4 kept=%5")
                   .arg(failedResults).arg(failedPosition).arg(messagesWhileLocked).arg(savedLater)
                   .arg(state.Words[199].Result) +
               Describe(messages);
    });

    ASSERT_EQ(outcome.exitCode, 0) << outcome.report.toStdString();
    const QString notSaved = "\n[测试版] 学习结果没有保存：无法写入词库文件\n" + install.DbPath() +
                             "\n请确认这个文件和它所在的文件夹可以写入，程序会在下次保存时再试。";
    EXPECT_EQ(outcome.report, "failed=1,1 whileLocked=2 savedLater=1 kept=1|0|1" + notSaved + notSaved);
    EXPECT_TRUE(install.DbIsScrambled());
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select count(*) from words where Result = '1|0|1'").toInt(), 200);
    EXPECT_EQ(install.Query("select LastBook from FeatureTable").toInt(), 1);
}

TEST_F(LessonDatabaseTest, PlainFileLeftByACrashOpensAndIsNotFlippedTwice) {
    ModuleCrpt::ScrambleHeader(install.DbPath());
    ASSERT_TRUE(db.LoadSettings());
    ModuleCrpt::ScrambleHeader(install.DbPath());  // as if the program had died with the file open
    ASSERT_FALSE(install.DbIsScrambled());
    ASSERT_TRUE(StartLessonData());
    EXPECT_TRUE(words.SaveAllResults());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_TRUE(messages.shown.empty()) << Describe(messages).toStdString();
}

TEST_F(LessonDatabaseTest, MoreThan32767BooksAreRefusedWithoutWriting) {
    install.Exec("insert into words_BookUnit (VersionID, BookID, BookName, UnitID, UnitName) "
                 "with recursive n(i) as (select 2 union all select i + 1 from n where i < 33001) "
                 "select 7, i, 'Book', 0, 'Unit' from n");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    const QByteArray before = install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName);
    EXPECT_FALSE(db.LoadSettings());
    EXPECT_TRUE(db.Refused());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "词库文件中的册、单元或单词太多，本软件无法使用：\n" + install.DbPath());
    EXPECT_EQ(messages.shown[0].title, "测试版");
    EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), before);
}

TEST_F(LessonDatabaseTest, TooManyUnitsOrWordsAreRefusedAndTheLoadedListsStay) {
    install.Exec("insert into words_BookUnit (VersionID, BookID, BookName, UnitID, UnitName) "
                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < 40000) "
                 "select 7, 1, '第2册', i, 'Unit' from n");
    install.Exec("insert into words (Book, Unit, English, Chinese, Composition) "
                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < 33000) "
                 "select 0, 1, 'w' || i, '词', 0 from n");
    ASSERT_TRUE(StartLessonData());
    const qint16 units = state.UnitCount;
    const QString firstWord = state.Words[0].English;

    EXPECT_FALSE(catalogue.LoadUnits(1));
    EXPECT_EQ(state.UnitCount, units);
    EXPECT_EQ(state.BookUnits.size(), size_t(units));
    EXPECT_FALSE(words.LoadUnitWords(0, 1));
    EXPECT_EQ(state.Words[0].English, firstWord);
    EXPECT_EQ(state.WordCount, 4);
    EXPECT_TRUE(db.Refused());
    EXPECT_EQ(messages.shown.size(), 1u) << Describe(messages).toStdString();
    EXPECT_TRUE(install.DbIsScrambled());
}

// The start's reads share one open: the file stays open (plain) between them
// and rests scrambled after the last, also when a save runs among them.
TEST_F(LessonDatabaseTest, ReadsInOneOpenCloseTheFileOnceAfterTheLast) {
    ModuleCrpt::ScrambleHeader(install.DbPath());
    bool plainBetweenReads = false;
    const bool done = db.InOneOpen([&] {
        if (!db.LoadSettings()) return false;
        plainBetweenReads = !install.DbIsScrambled();
        state.CurBook = 1;
        state.CurUnit = 0;
        if (!db.SavePosition()) return false;
        return catalogue.LoadUnits(1);
    });
    EXPECT_TRUE(done);
    EXPECT_TRUE(plainBetweenReads);
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(state.UnitCount, 1);
    EXPECT_EQ(state.BookUnits[0].UnitName, "Unit 1 Animals");
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_EQ(state.CurBook, 1) << "the save among the reads was committed";
    EXPECT_TRUE(install.DbIsScrambled());
}

// A message waits for the pupil: the file must not stay open and plain
// meanwhile, even in the middle of reads that share one open.
TEST_F(LessonDatabaseTest, AMessageAmongReadsInOneOpenFindsTheFileScrambled) {
    install.Exec("delete from VersionInfo");
    std::vector<bool> scrambledWhileShown;
    messages.whileShown = [&](const ScriptedMessageService::Shown&) {
        scrambledWhileShown.push_back(install.DbIsScrambled());
    };
    EXPECT_FALSE(db.InOneOpen([this] { return db.LoadSettings(); }));
    EXPECT_EQ(scrambledWhileShown, std::vector<bool>{true});
    EXPECT_TRUE(install.DbIsScrambled());
}
