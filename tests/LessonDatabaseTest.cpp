#include <QFile>
#include <memory>
#include <sqlite3.h>
#include <tuple>

#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/LessonFixture.h"

namespace {

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

QString Describe(const ScriptedMessageService& messages) {
    QString text;
    for (const auto& shown : messages.shown) text += "\n[" + shown.title + "] " + shown.text;
    return text;
}

// Another program holding the plain database file in a transaction of its
// own until it closes it.
struct OtherProgram {
    OtherProgram(const QString& path, const char* begin) {
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        holding = sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~OtherProgram() { sqlite3_close(db); }
    sqlite3* db = nullptr;
    bool holding = false;
};

}  // namespace

using LessonDatabaseTest = LessonFixture;

// A file held by another program past the busy wait says so and asks to try
// again, held from the first read or taken after one; a save says it was not
// saved. The file is not scrambled under its holder, and the next try works.
TEST_F(LessonDatabaseTest, ABusyFileAsksToTryAgainAndIsLeftToItsHolder) {
    const QString busy = "词库文件正在被其他程序使用：\n" + install.DbPath() + "\n请关闭其他程序后再试。";
    enum class Then { Read, ReadAfterARead, SaveAfterARead };
    const std::tuple<const char*, Then, QString> cases[] = {
        {"begin exclusive", Then::Read, busy},
        {"begin immediate", Then::Read, busy},
        {"begin exclusive", Then::ReadAfterARead, busy},
        {"begin immediate", Then::SaveAfterARead, "学习结果没有保存：无法写入词库文件"}};
    for (const auto& [begin, then, told] : cases) {
        const std::string row = begin + std::to_string(int(then));
        LessonState fresh;
        ScriptedMessageService shown;
        LessonDatabase opened(fresh, shown);
        Catalogue units(fresh, opened, shown);
        opened.BuildConnString(install.AppPicsDir());
        opened.SetBusyWait(20);
        std::unique_ptr<OtherProgram> other;
        EXPECT_FALSE(opened.InOneOpen([&] {
            if (then != Then::Read && !opened.LoadSettings()) return true;
            other = std::make_unique<OtherProgram>(install.DbPath(), begin);
            return then == Then::Read ? opened.LoadSettings()
                   : then == Then::ReadAfterARead ? units.LoadUnits(0) : opened.SavePosition();
        })) << row;
        ASSERT_TRUE(other && other->holding) << row;
        ASSERT_EQ(shown.shown.size(), 1u) << row << Describe(shown).toStdString();
        EXPECT_TRUE(shown.shown[0].text.startsWith(told)) << row << Describe(shown).toStdString();
        EXPECT_FALSE(install.DbIsScrambled()) << "scrambled under its holder: " << row;

        other.reset();
        EXPECT_TRUE(opened.LoadSettings() && opened.CanSaveToFile()) << row << Describe(shown).toStdString();
        EXPECT_TRUE(install.DbIsScrambled()) << row;
        ModuleCrpt::ScrambleHeader(install.DbPath());
    }
}

// Plain as built, scrambled at rest, plain again as a crash leaves it: the
// file opens, is never flipped twice, and rests scrambled in rollback-journal mode.
TEST_F(LessonDatabaseTest, FileOpensInEitherFormAndRestsScrambled) {
    db.CloseRecordset();  // nothing open: the file stays as it is
    ASSERT_FALSE(install.DbIsScrambled());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(state.VersionName, "测试版");
    EXPECT_EQ(state.VersionDB, "words");
    EXPECT_EQ(state.CurVersionID, 7);
    EXPECT_EQ(state.BookCount, 2);
    EXPECT_EQ(state.BookNames, (std::vector<QString>{"第1册", "第2册"}));
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_TRUE(install.DbIsScrambled());

    ModuleCrpt::ScrambleHeader(install.DbPath());
    ASSERT_TRUE(StartLessonData());
    EXPECT_TRUE(words.SaveAllResults());
    state.CurBook = 1;
    state.CurUnit = 1;
    EXPECT_TRUE(db.SavePosition());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_TRUE(messages.shown.empty()) << Describe(messages).toStdString();
    EXPECT_FALSE(QFile::exists(install.DbPath() + "-wal"));
    EXPECT_FALSE(QFile::exists(install.DbPath() + "-journal"));
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("pragma journal_mode").toString(), "delete");
    EXPECT_EQ(install.Query("select LastBook || ',' || LastUnit from FeatureTable").toString(), "1,1");
}

// While the message waits for the pupil the file is not left open and plain.
TEST_F(LessonDatabaseTest, AFileThatCannotBeStudiedFromIsReportedOnceAndLeftAsFound) {
    const QByteArray plain = install.ReadFile(kDb), garbage(4096, 'x');
    for (const QString damage : {"missing", "garbage", "delete from VersionInfo", "delete from FeatureTable"}) {
        const std::string row = damage.toStdString();
        install.WriteFile(kDb, plain);
        if (damage == "missing") QFile::remove(install.DbPath());
        else if (damage == "garbage") install.WriteFile(kDb, garbage);
        else install.Exec(damage);
        LessonState fresh;
        ScriptedMessageService told;
        std::vector<bool> plainWhileShown;
        told.whileShown = [&](const auto&) { plainWhileShown.push_back(install.ReadFile(kDb).startsWith("SQLite")); };
        LessonDatabase opened(fresh, told);
        opened.BuildConnString(install.AppPicsDir());
        EXPECT_FALSE(opened.LoadSettings()) << row;
        ASSERT_EQ(told.shown.size(), 1u) << row;
        EXPECT_EQ(plainWhileShown, std::vector<bool>{false}) << row;
        EXPECT_TRUE(told.shown[0].text.startsWith(damage == "missing" ? "找不到词库文件" : "词库文件已损坏")) << row;
        EXPECT_TRUE(told.shown[0].text.contains(install.DbPath())) << row;
        EXPECT_EQ(told.shown[0].icon, MsgIcon::Critical) << row;
        if (damage == "missing") EXPECT_FALSE(QFile::exists(install.DbPath()));  // no empty database made
        else if (damage == "garbage") EXPECT_EQ(install.ReadFile(kDb), garbage);
        else EXPECT_TRUE(install.DbIsScrambled()) << row;
    }
}

TEST_F(LessonDatabaseTest, AFailedQueryIsReportedAndOnlySelectStarRowsAreWrittenBackByRowId) {
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_FALSE(db.OpenRecordset({"select * from NoSuchTable", {}}));
    EXPECT_TRUE(install.DbIsScrambled());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(install.DbPath()));
    EXPECT_EQ(messages.shown[0].title, "测试版");

    ASSERT_TRUE(db.OpenRecordset({"select DISTINCT BookName,BookID from words_BookUnit order by BookID", {}}));
    db.SharedRecordset.SetField("BookName", "x");
    EXPECT_FALSE(db.SharedRecordset.Update());
    db.CloseRecordset();
    EXPECT_TRUE(install.DbIsScrambled());

    ASSERT_TRUE(db.OpenRecordset({"select * from words where Book = ? order by English", {0}}));
    Recordset& rs = db.SharedRecordset;
    ASSERT_EQ(rs.RecordCount(), 4);
    rs.MoveFirst();
    EXPECT_EQ(rs.Field("english").toString(), " hello ");  // column names match any case
    rs.MoveNext();
    rs.SetField("Result", "9|9|9");
    ASSERT_TRUE(rs.Update());
    rs.AddNew();
    for (const auto& [column, value] : {std::pair<QString, QVariant>{"Book", 0}, {"Unit", 1}, {"English", "new"},
                                        {"Chinese", "新的"}, {"Composition", 0}})
        rs.SetField(column, value);
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

// As root nobody can be kept from writing, so these run as the user nobody:
// first with the file and its folder both read-only, then with only the
// folder read-only (SQLite has nowhere to put its journal).
TEST_F(LessonDatabaseTest, UnwritableDatabaseIsStudiedFromMemoryAndLeftUntouched) {
    for (const bool fileWritable : {false, true}) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        AsNobody::LetRead(install.Root());
        ASSERT_TRUE(!fileWritable || AsNobody::Give(install.DbPath()));
        const QByteArray before = install.ReadFile(kDb);

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
        EXPECT_EQ(install.ReadFile(kDb), before);
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

// Counts are 16-bit: more units, words or books refuse the database with
// one message, and what was loaded stays.
TEST_F(LessonDatabaseTest, TooManyUnitsWordsOrBooksAreRefusedOnceAndNothingIsWritten) {
    const auto many = [this](const QString& table, const QString& columns, int from, int to, const QString& row) {
        install.Exec(QString("insert into %1 (%2) with recursive n(i) as (select %3 union all select i + 1 from n "
                             "where i < %4) select %5 from n").arg(table, columns).arg(from).arg(to).arg(row));
    };
    many("words_BookUnit", "VersionID, BookID, BookName, UnitID, UnitName", 1, 40000, "7, 1, '第2册', i, 'Unit'");
    many("words", "Book, Unit, English, Chinese, Composition", 1, 33000, "0, 1, 'w' || i, '词', 0");
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
    ASSERT_EQ(messages.shown.size(), 1u) << Describe(messages).toStdString();
    EXPECT_EQ(messages.shown[0].text, "词库文件中的册、单元或单词太多，本软件无法使用：\n" + install.DbPath());
    EXPECT_EQ(messages.shown[0].title, "测试版");
    EXPECT_TRUE(install.DbIsScrambled());

    ModuleCrpt::ScrambleHeader(install.DbPath());
    many("words_BookUnit", "VersionID, BookID, BookName, UnitID, UnitName", 2, 33001, "7, i, 'Book', 0, 'Unit'");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    const QByteArray before = install.ReadFile(kDb);
    EXPECT_FALSE(db.LoadSettings());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(install.ReadFile(kDb), before);
}

// The reads of the start share one open: the file stays plain between them
// and rests scrambled after the last, also when a save runs among them.
TEST_F(LessonDatabaseTest, ReadsInOneOpenCloseTheFileOnceAfterTheLast) {
    ModuleCrpt::ScrambleHeader(install.DbPath());
    bool plainBetweenReads = false;
    EXPECT_TRUE(db.InOneOpen([&] {
        if (!db.LoadSettings()) return false;
        plainBetweenReads = !install.DbIsScrambled();
        state.CurBook = 1;
        state.CurUnit = 0;
        return db.SavePosition() && catalogue.LoadUnits(1);
    }));
    EXPECT_TRUE(plainBetweenReads);
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(state.UnitCount, 1);
    EXPECT_EQ(state.BookUnits[0].UnitName, "Unit 1 Animals");
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_TRUE(db.LoadSettings());
    EXPECT_EQ(state.CurBook, 1) << "the save among the reads was committed";
    EXPECT_TRUE(install.DbIsScrambled());
}
