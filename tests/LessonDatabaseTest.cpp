#include <QFile>

#include "media/ModuleCrpt.h"
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
