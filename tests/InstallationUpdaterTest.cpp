#include <sys/stat.h>

#include "data/LessonDatabase.h"
#include "media/InstanceLock.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"
#include "tools/InstallationUpdater.h"

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

// Every file and folder under root, with a digest of its bytes and its inode.
using Tree = std::map<QString, QString>;
Tree Snapshot(const QString& root) {
    Tree tree;
    for (QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile file(path);
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        tree[QDir(root).relativeFilePath(path)] = QString::number(info.st_ino) + " " +
            (it.fileInfo().isDir() ? "<folder>" : file.open(QIODevice::ReadOnly)
                 ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex() : "<unreadable>");
    }
    return tree;
}

// A built installation of a textbook: scrambled database, a program file, help text, and one picture and sound per word.
struct Build {
    Build(const std::vector<std::vector<QString>>& units, const std::vector<TempInstall::Word>& words) {
        install.CreateDatabase(units, words);
        ModuleCrpt::ScrambleHeader(install.DbPath());
        for (const auto& [path, bytes] : {std::pair<QString, QByteArray>{"Bin/orvanel", "program"}, {"Bin/AppPics/help.txt", "help"},
                {"Common/appvoice/SuccessWav1.wav", TempInstall::MakeWav(0.1)}, {"Common/pics/ffe.jpg", TempInstall::MakeJpeg()}})
            install.WriteFile(path, bytes);
        for (const TempInstall::Word& word : words) {
            const QString english = word.english.trimmed();
            install.WriteFile("Common/pics/" + english + ".pet", "picture of " + english.toUtf8());
            install.WriteFile("Common/voice/" + english + ".abw", "sound of " + english.toUtf8());
        }
    }
    TempInstall install;
};

const std::vector<std::vector<QString>> kUnits1 = {{"Unit 1", "Unit 2"}, {"Unit 1"}};
const std::vector<TempInstall::Word> kWords1 = {{0, 0, "apple", "苹果"}, {0, 0, "red", "红色"}, {0, 1, "dog ", "狗"},
                                                {0, 1, "cat", "猫"}, {1, 0, "red", "红色"}, {1, 0, "ice cream", "冰淇淋", 1}};
// The textbook gained a unit in front, lost "cat" and renamed "Unit 2".
const std::vector<std::vector<QString>> kUnits2 = {{"Starter", "Unit 1", "Unit 2 Pets"}, {"Unit 1"}};
const std::vector<TempInstall::Word> kWords2 = {{0, 0, "hello", "你好"}, {0, 1, "apple", "苹果"}, {0, 1, "red", "红色"},
                                                {0, 2, "dog", "狗"}, {1, 0, " red", "红色"}, {1, 0, "ice cream", "冰淇淋", 1}};

class InstallationUpdaterTest : public ::testing::Test {
protected:
    QString Pupil(const QString& relative = "") const { return home.Path(relative.isEmpty() ? "orvanel" : "orvanel/" + relative); }
    bool Has(const QString& relative) const { return home.Exists("orvanel/" + relative); }

    bool Update(const Build& build) { return Update(build.install.Root()); }
    bool Update(const QString& built) {
        InstallationUpdater updater(built, Pupil());
        const bool ok = updater.Update();
        error = updater.Error();
        report = updater.Report().join('\n');
        return ok;
    }
    // On a copy of the pupil's database, which must rest scrambled; a changed copy replaces it.
    QString Stored(const QString& sql) {
        probe.WriteFile(kDb, home.Read("orvanel/" + kDb));
        EXPECT_TRUE(probe.DbIsScrambled());
        const QString value = probe.OnScrambled(sql);
        if (!TempInstall::IsQuery(sql)) home.Write("orvanel/" + kDb, probe.ReadFile(kDb));
        return value;
    }
    // Every word's result, every unit's mark, what is kept aside, the position.
    QString Progress() {
        return Stored("select (select group_concat(trim(English) || '=' || ifnull(Result, '-'), ' ') from (select * from words order by Book,"
                      " Unit, trim(English))) || ' | ' || (select group_concat(BookID || '.' || UnitID || '=' || ifnull(UnitStatus, '-'), ' ')"
                      " from words_BookUnit) || ' | ' || ifnull((select group_concat(English || '=' || Result, ' ') from KeptResults), '')"
                      " || ' | ' || ifnull((select group_concat(BookName || '/' || UnitName || '=' || UnitStatus, ' ') from KeptUnitStatus), '')"
                      " || ' | ' || (select LastBook || ',' || LastUnit from FeatureTable)");
    }

    TempFolder home;
    TempInstall probe;
    QString error, report;
    Build build1{kUnits1, kWords1}, build2{kUnits2, kWords2};
    // The pupil worked through the first textbook and recorded two words.
    void StudiedTheFirstTextbook() {
        ASSERT_TRUE(Update(build1)) << error.toStdString();
        Stored("update words set Result = case trim(English) when 'apple' then '3|1|2' when 'red' then '2|0|2' when 'dog' then '1|1|0' when 'cat'"
               " then '4|2|1' end; update words_BookUnit set UnitStatus = case BookID * 10 + UnitID when 0 then 3 when 1 then 1 when 10 then 2 end");
        for (const auto& [word, seconds] : {std::pair{"apple", 0.3}, {"cat", 0.2}})
            home.Write("orvanel/Common/myvoice/" + QString(word) + ".wav", TempInstall::MakeWav(seconds));
    }
};

// The program stopped while "dog" was in use and with a query open: its picture and the database lie plain.
// Copies of programs that earlier updates made go.
TEST_F(InstallationUpdaterTest, NewTextbookKeepsResultsMarksPositionAndRecordings) {
    StudiedTheFirstTextbook();
    EXPECT_EQ(Progress(), "apple=3|1|2 red=2|0|2 cat=4|2|1 dog=1|1|0 ice cream=- red=2|0|2 | 0.0=3 0.1=1 1.0=2 |  |  | 0,0");
    const Tree before = Snapshot(Pupil());
    ASSERT_TRUE(QFile::rename(Pupil("Common/pics/dog.pet"), Pupil("Common/pics/dog.jpg")));
    ModuleCrpt::ScrambleHeader(Pupil(kDb));
    for (const QString program : {"Bin/orvanel", "Bin/orvanel-publish"}) home.Write("orvanel/" + program, "old program");
    build2.install.WriteFile("Common/pics/red.pet", "a redder picture of red");

    ASSERT_TRUE(Update(build2)) << error.toStdString();
    EXPECT_EQ(Progress(), "hello=- apple=3|1|2 red=2|0|2 dog=1|1|0 ice cream=- red=2|0|2 | 0.0=- 0.1=3 0.2=- 1.0=2 | "
                          "cat=4|2|1 | 第1册/Unit 2=1 | 0,1");
    EXPECT_EQ(report, "4 files of the program and its content replaced or added, 5 removed, 9 unchanged\n"
              "new lesson content: the results of 3 words and the marks of 2 units carried over\nkept aside until "
              "they come back: the results of 1 words and the marks of 1 units no longer in the textbook");
    const Tree after = Snapshot(Pupil());
    for (const QString same : {"Common/pics/apple.pet", "Common/voice/apple.abw", "Common/myvoice/cat.wav", "Common/myvoice/apple.wav"})
        EXPECT_EQ(after.at(same), before.at(same)) << same.toStdString() << " is left as it was";
    EXPECT_EQ(home.Read("orvanel/Common/pics/red.pet"), "a redder picture of red");
    for (const auto& [path, present] : {std::pair{"Common/pics/hello.pet", true}, {"Common/pics/dog.pet", true}, {"Common/pics/dog.jpg", false},
                                        {"Common/pics/cat.pet", false}, {"Common/voice/cat.abw", false}, {"Bin/orvanel", false},
                                        {"Bin/orvanel-publish", false}})
        EXPECT_EQ(Has(path), present) << path;
    for (const auto& [path, digest] : after) EXPECT_FALSE(path.contains(InstallationUpdater::kStagedSuffix)) << path.toStdString();

    // The word and the unit name come back: so do their result and mark.
    Stored("update FeatureTable set LastBook = 0, LastUnit = 1");
    ASSERT_TRUE(Update(Build(kUnits1, kWords1))) << error.toStdString();
    EXPECT_EQ(Progress(), "apple=3|1|2 red=2|0|2 cat=4|2|1 dog=1|1|0 ice cream=- red=2|0|2 | 0.0=3 0.1=1 1.0=2 |  |  | 0,0");
    EXPECT_TRUE(Has("Common/pics/cat.pet"));
    EXPECT_EQ(Snapshot(Pupil()).at("Common/myvoice/cat.wav"), before.at("Common/myvoice/cat.wav"));
}

// The review schedule goes over by spelling; the state of "cat", gone from the new textbook, waits for it, and the log loses nothing.
TEST_F(InstallationUpdaterTest, ReviewStatesAndTheAnswerLogAreCarriedOver) {
    StudiedTheFirstTextbook();
    Stored("insert into ReviewState values ('cat', 0.6076120000000001, 7.3945, '2024-12-09', '2024-12-10', 2, 1), ('apple', 2.3065, 2.1181,"
           " '2024-12-07', '2024-12-09', 1, 0); insert into AnswerLog values ('cat', '2024-12-07T09:30:00', 3, 'test'), ('apple',"
           " '2024-12-07T09:31:00', 3, 'game'), ('cat', '2024-12-09T18:02:11', 1, 'review')");
    const QString review = "select (select group_concat(English || '=' || Stability || '/' || Difficulty || '/' ||"
                           " LastReview || '/' || Due || '/' || Reps || '/' || Lapses, ' ') from (select * from"
                           " ReviewState order by English)) || ' | ' || (select group_concat(English || ' ' ||"
                           " AnsweredAt || ' ' || Grade || ' ' || Source, ', ') from (select * from AnswerLog order by rowid))";
    const QString before = Stored(review);
    for (const auto& [build, told] : {std::pair<const Build*, QString>{&build2, "the states of 1 words (1 more kept aside) and 3"},
                                      {&build1, "the states of 2 words (0 more kept aside) and 3"}}) {
        ASSERT_TRUE(Update(*build)) << error.toStdString();
        EXPECT_TRUE(report.contains("review schedule: " + told + " logged answers carried over")) << report.toStdString();
        EXPECT_EQ(Stored(review), before);
        EXPECT_EQ(Stored("select Stability = 0.6076120000000001 from ReviewState where English = 'cat'"), "1");
    }
}

// "Unit 2 Pets" is gone, then the second book, then a position that never was.
TEST_F(InstallationUpdaterTest, PositionFallsBackWhenItsUnitOrBookIsGone) {
    ASSERT_TRUE(Update(build2)) << error.toStdString();
    const Build oneBook{{{"Unit 1", "Unit 2"}}, {{0, 0, "apple", "苹果"}, {0, 1, "cat", "猫"}}};
    for (const auto& [position, build] : {std::pair<const char*, const Build*>{"0, 2", &build1}, {"1, 0", &oneBook},
                                          {"7, 3", &build1}, {"1, 1", &build2}}) {
        Stored(QString("update FeatureTable set (LastBook, LastUnit) = (%1)").arg(position));
        ASSERT_TRUE(Update(*build)) << error.toStdString();
        EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "0,0") << position;
        EXPECT_TRUE(report.endsWith("the last unit studied is gone; the program starts at the first unit")) << position;
    }
}

// A new database that cannot be written (a folder where it would go stops even root), a pupil's database that is damaged, the program running from
// the folder, or nothing built: the installation stays as it was. The lock file the program leaves is no bar.
TEST_F(InstallationUpdaterTest, AFailedUpdateLeavesTheInstallationAsItWas) {
    StudiedTheFirstTextbook();
    const QString blocker = Pupil(kDb + InstallationUpdater::kStagedSuffix);
    const QByteArray database = home.Read("orvanel/" + kDb);
    std::optional<InstanceLock> running;
    QTemporaryDir empty;
    for (const QString damage : {"blocked", "damaged", "running", "nothing built"}) {
        SCOPED_TRACE(damage.toStdString());
        if (damage == "blocked") { ASSERT_TRUE(QDir().mkdir(blocker)); }
        if (damage == "damaged") home.Write("orvanel/" + kDb, QByteArray(8192, 'x'));
        if (damage == "running") { ASSERT_EQ(running.emplace(Pupil("Bin/AppPics/orvanel.lock")).TryLock(), InstanceLock::Result::Acquired); }
        const Tree before = Snapshot(Pupil());
        EXPECT_FALSE(Update(damage == "nothing built" ? empty.path() : build2.install.Root()));
        EXPECT_TRUE(error.contains(damage == "blocked" ? kDb + InstallationUpdater::kStagedSuffix
                                   : damage == "damaged" ? "is damaged" : damage == "running" ? "program is running"
                                   : "no built installation in " + empty.path())) << error.toStdString();
        EXPECT_EQ(Snapshot(Pupil()), before);
        QDir().rmdir(blocker);
        home.Write("orvanel/" + kDb, database);
    }
    running.reset();  // the program ended
    ASSERT_TRUE(Has("Bin/AppPics/orvanel.lock"));
    EXPECT_TRUE(Update(build2)) << error.toStdString();
    EXPECT_TRUE(Has("Common/pics/hello.pet"));
    EXPECT_TRUE(Update(build2) && !report.contains("files of the program")) << "nothing to replace the second time: " << report.toStdString();
    InstallationUpdater none(empty.path(), home.Path("elsewhere"));
    EXPECT_FALSE(none.Update());
    EXPECT_FALSE(home.Exists("elsewhere")) << "no folder made for nothing";
}
