#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <map>
#include <sys/stat.h>

#include "data/LessonDatabase.h"
#include "media/InstanceLock.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"
#include "tools/InstallationUpdater.h"

namespace {

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

// Every file and folder under root, with a digest of its bytes.
using Tree = std::map<QString, QString>;
Tree Snapshot(const QString& root) {
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QFile file(entry.filePath());
        const bool read = !entry.isDir() && file.open(QIODevice::ReadOnly);
        tree[QDir(root).relativeFilePath(entry.filePath())] =
            entry.isDir() ? "<folder>" : read ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex() : "<unreadable>";
    }
    return tree;
}

ino_t Inode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// A built installation of the given textbook: scrambled database, a
// program file, help text and one picture and sound per word whose bytes
// say which build they come from.
struct Build {
    Build(const std::vector<std::vector<QString>>& units, const std::vector<TempInstall::Word>& words,
          const QByteArray& mark) {
        install.CreateDatabase(units, words);
        ModuleCrpt::ScrambleHeader(install.DbPath());
        install.WriteFile("Bin/orvanel", "program " + mark);
        QFile::setPermissions(install.BinDir() + "/orvanel", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        install.WriteFile("Bin/AppPics/help.txt", "help");
        install.WriteFile("Common/appvoice/SuccessWav1.wav", TempInstall::MakeWav(0.1));
        install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg());
        for (const TempInstall::Word& word : words) {
            const QString english = word.english.trimmed();
            install.WriteFile("Common/pics/" + english + ".pet", "picture of " + english.toUtf8());
            install.WriteFile("Common/voice/" + english + ".abw", "sound of " + english.toUtf8());
        }
    }
    QString Root() const { return install.Root(); }
    TempInstall install;
};

const std::vector<std::vector<QString>> kUnits1 = {{"Unit 1", "Unit 2"}, {"Unit 1"}};
const std::vector<TempInstall::Word> kWords1 = {
    {0, 0, "apple", "苹果"}, {0, 0, "red", "红色"}, {0, 1, "dog ", "狗"},
    {0, 1, "cat", "猫"},     {1, 0, "red", "红色"}, {1, 0, "ice cream", "冰淇淋", 1}};

// The textbook gained a unit in front, lost "cat" and renamed "Unit 2".
const std::vector<std::vector<QString>> kUnits2 = {{"Starter", "Unit 1", "Unit 2 Pets"}, {"Unit 1"}};
const std::vector<TempInstall::Word> kWords2 = {
    {0, 0, "hello", "你好"}, {0, 1, "apple", "苹果"}, {0, 1, "red", "红色"},
    {0, 2, "dog", "狗"},     {1, 0, " red", "红色"},  {1, 0, "ice cream", "冰淇淋", 1}};

class InstallationUpdaterTest : public ::testing::Test {
protected:
    QString Pupil() const { return home.Path("orvanel"); }
    QString PupilFile(const QString& relative) const { return home.Path("orvanel/" + relative); }
    QByteArray Read(const QString& relative) const { return home.Read("orvanel/" + relative); }
    void Write(const QString& relative, const QByteArray& bytes) const { home.Write("orvanel/" + relative, bytes); }
    bool Has(const QString& relative) const { return home.Exists("orvanel/" + relative); }

    bool Update(const Build& build) {
        InstallationUpdater updater(build.Root(), Pupil());
        const bool ok = updater.Update();
        error = updater.Error().toStdString();
        report = updater.Report().join('\n');
        return ok;
    }

    // A query on a plain copy of the pupil's database, which must rest scrambled.
    QVariant Stored(const QString& sql) {
        probe.WriteFile(kDb, Read(kDb));
        EXPECT_TRUE(probe.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        return probe.Query(sql);
    }

    // The pupil's data: every word's result, every unit's mark, what is kept
    // aside and the position.
    QString Progress() {
        QStringList parts;
        for (const char* sql :
             {"select group_concat(w, ' ') from (select trim(English) || '=' || ifnull(Result, '-') as w from words "
              "order by Book, Unit, trim(English))",
              "select group_concat(u, ' ') from (select BookID || '.' || UnitID || '=' || ifnull(UnitStatus, '-') as u "
              "from words_BookUnit order by BookID, UnitID)",
              "select group_concat(English || '=' || Result, ' ') from KeptResults",
              "select group_concat(BookName || '/' || UnitName || '=' || UnitStatus, ' ') from KeptUnitStatus",
              "select LastBook || ',' || LastUnit from FeatureTable"})
            parts << Stored(sql).toString();
        return parts.join(" | ");
    }

    // The pupil's own changes to the database, left scrambled as the program leaves it.
    void Pupils(const QString& sql) {
        probe.WriteFile(kDb, Read(kDb));
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        probe.Exec(sql);
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        Write(kDb, probe.ReadFile(kDb));
    }

    // The pupil worked through the first textbook and recorded two words.
    void StudiedTheFirstTextbook() {
        ASSERT_TRUE(Update(build1)) << error;
        Pupils("update words set Result = '3|1|2' where English = 'apple';"
               "update words set Result = '2|0|2' where English = 'red';"
               "update words set Result = '1|1|0' where English = 'dog ';"
               "update words set Result = '4|2|1' where English = 'cat';"
               "update words_BookUnit set UnitStatus = 3 where BookID = 0 and UnitID = 0;"
               "update words_BookUnit set UnitStatus = 1 where BookID = 0 and UnitID = 1;"
               "update words_BookUnit set UnitStatus = 2 where BookID = 1 and UnitID = 0;"
               "update FeatureTable set LastBook = 0, LastUnit = 0");
        Write("Common/myvoice/apple.wav", TempInstall::MakeWav(0.3));
        Write("Common/myvoice/cat.wav", TempInstall::MakeWav(0.2));
    }

    TempFolder home;
    TempInstall probe;
    std::string error;
    QString report;
    Build build1{kUnits1, kWords1, "1"};
    Build build2{kUnits2, kWords2, "2"};
};

TEST_F(InstallationUpdaterTest, FirstRunMakesTheInstallationFromTheBuild) {
    ASSERT_TRUE(Update(build1)) << error;
    EXPECT_EQ(report, "made the installation in " + Pupil());
    Tree built = Snapshot(build1.Root());
    built.erase("Bin/orvanel");  // the programs run from where they are installed
    built.erase(kDb);  // it gains a table naming the content it was made from
    Tree made = Snapshot(Pupil());
    EXPECT_EQ(made.erase(kDb), 1u);
    EXPECT_EQ(made.erase("Bin/AppPics/.content-fingerprint"), 1u);
    made.erase("Bin/AppPics/orvanel.lock");
    EXPECT_EQ(made, built);
    EXPECT_EQ(Progress(), "apple=- red=- cat=- dog=- ice cream=- red=- | 0.0=- 0.1=- 1.0=- |  |  | 0,0");
}

// The program stopped while "dog" was in use and with a query open: its
// picture and the database lie plain.
TEST_F(InstallationUpdaterTest, NewTextbookKeepsResultsMarksPositionAndRecordings) {
    StudiedTheFirstTextbook();
    const QByteArray recording = Read("Common/myvoice/cat.wav");
    ASSERT_FALSE(recording.isEmpty());
    ASSERT_TRUE(QFile::rename(PupilFile("Common/pics/dog.pet"), PupilFile("Common/pics/dog.jpg")));
    ModuleCrpt::ScrambleHeader(PupilFile(kDb));
    build2.install.WriteFile("Common/pics/red.pet", "a redder picture of red");
    const ino_t applePicture = Inode(PupilFile("Common/pics/apple.pet"));

    ASSERT_TRUE(Update(build2)) << error;
    // Results by trimmed spelling, marks by book and unit name; what left the
    // textbook is kept aside; the position follows its unit.
    EXPECT_EQ(Progress(), "hello=- apple=3|1|2 red=2|0|2 dog=1|1|0 ice cream=- red=2|0|2 | 0.0=- 0.1=3 0.2=- 1.0=2 | "
                          "cat=4|2|1 | 第1册/Unit 2=1 | 0,1");
    EXPECT_TRUE(report.contains("kept aside")) << report.toStdString();
    // Media from the new build; unchanged media left as they were; recordings untouched.
    EXPECT_EQ(Inode(PupilFile("Common/pics/apple.pet")), applePicture);
    EXPECT_EQ(Read("Common/pics/red.pet"), "a redder picture of red");
    EXPECT_TRUE(Has("Common/pics/hello.pet"));
    EXPECT_FALSE(Has("Common/pics/cat.pet"));
    EXPECT_FALSE(Has("Common/voice/cat.abw"));
    EXPECT_TRUE(Has("Common/pics/dog.pet"));
    EXPECT_FALSE(Has("Common/pics/dog.jpg"));
    EXPECT_EQ(Read("Common/myvoice/cat.wav"), recording);
    EXPECT_TRUE(Has("Common/myvoice/apple.wav"));
    for (const auto& [path, digest] : Snapshot(Pupil()))
        EXPECT_FALSE(path.contains(InstallationUpdater::kStagedSuffix)) << path.toStdString();

    // The word and the unit name come back: so do their result and mark.
    Pupils("update FeatureTable set LastBook = 0, LastUnit = 1");
    ASSERT_TRUE(Update(Build(kUnits1, kWords1, "3"))) << error;
    EXPECT_EQ(Progress(), "apple=3|1|2 red=2|0|2 cat=4|2|1 dog=1|1|0 ice cream=- red=2|0|2 | 0.0=3 0.1=1 1.0=2 |  |  | 0,0");
    EXPECT_TRUE(Has("Common/pics/cat.pet"));
    EXPECT_EQ(Read("Common/myvoice/cat.wav"), recording);
}

// The review schedule goes over by spelling; the state of "cat", gone from
// the new textbook, waits for it, and the log loses nothing.
TEST_F(InstallationUpdaterTest, ReviewStatesAndTheAnswerLogAreCarriedOver) {
    StudiedTheFirstTextbook();
    // The update made the tables; the program filled them.
    Pupils("insert into ReviewState values ('cat', 0.6076120000000001, 7.3945, '2024-12-09', '2024-12-10', 2, 1),"
           " ('apple', 2.3065, 2.1181, '2024-12-07', '2024-12-09', 1, 0);"
           "insert into AnswerLog values ('cat', '2024-12-07T09:30:00', 3, 'test'), ('apple', '2024-12-07T09:31:00',"
           " 3, 'game'), ('cat', '2024-12-09T18:02:11', 1, 'review')");
    const QString states = "select group_concat(s, ' ') from (select English || '=' || Stability || '/' || Difficulty"
                           " || '/' || LastReview || '/' || Due || '/' || Reps || '/' || Lapses as s from ReviewState"
                           " order by English)";
    const QString log = "select group_concat(English || ' ' || AnsweredAt || ' ' || Grade || ' ' || Source, ', ')"
                        " from (select * from AnswerLog order by rowid)";
    const QString before = Stored(states).toString() + " | " + Stored(log).toString();
    ASSERT_TRUE(Update(build2)) << error;
    EXPECT_TRUE(report.contains("the states of 1 words (1 more kept aside) and 3 logged answers")) << report.toStdString();
    EXPECT_EQ(Stored("select Stability = 0.6076120000000001 from ReviewState where English = 'cat'").toInt(), 1);
    ASSERT_TRUE(Update(Build(kUnits1, kWords1, "3"))) << error;
    EXPECT_EQ(Stored(states).toString() + " | " + Stored(log).toString(), before);
    EXPECT_TRUE(report.contains("the states of 2 words (0 more kept aside)")) << report.toStdString();
}

TEST_F(InstallationUpdaterTest, PositionFallsBackWhenItsUnitOrBookIsGone) {
    ASSERT_TRUE(Update(build2)) << error;
    const Build oneBook{{{"Unit 1", "Unit 2"}}, {{0, 0, "apple", "苹果"}, {0, 1, "cat", "猫"}}, "4"};
    // "Unit 2 Pets" is gone, then the second book, then a position that never was.
    for (const auto& [position, build] : {std::pair<const char*, const Build*>{"0, 2", &build1}, {"1, 0", &oneBook}, {"7, 3", &build1}}) {
        Pupils(QString("update FeatureTable set (LastBook, LastUnit) = (%1)").arg(position));
        ASSERT_TRUE(Update(*build)) << error;
        EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0") << position;
        EXPECT_TRUE(report.contains("first unit")) << position;
    }
}

TEST_F(InstallationUpdaterTest, AnUnchangedBuildChangesNothingAndIsSeenUpToDate) {
    StudiedTheFirstTextbook();
    EXPECT_TRUE(InstallationUpdater(build1.Root(), Pupil()).UpToDate());
    EXPECT_FALSE(InstallationUpdater(build2.Root(), Pupil()).UpToDate());
    const Tree before = Snapshot(Pupil());
    ASSERT_TRUE(Update(build1)) << error;
    EXPECT_EQ(report, "");
    EXPECT_EQ(Snapshot(Pupil()), before);
    // Any change of the installed content is seen, however small.
    build1.install.WriteFile("Common/pics/apple.pet", "picture of apple, redrawn");
    EXPECT_FALSE(InstallationUpdater(build1.Root(), Pupil()).UpToDate());
}

TEST_F(InstallationUpdaterTest, ProgramCopiesOfEarlierUpdatesAreRemoved) {
    StudiedTheFirstTextbook();
    Write("Bin/orvanel", "old program");
    Write("Bin/orvanel-publish", "old program");
    ASSERT_TRUE(Update(build2)) << error;
    EXPECT_FALSE(Has("Bin/orvanel"));
    EXPECT_FALSE(Has("Bin/orvanel-publish"));
}

// A new database that cannot be written (a folder where it would go stops
// even root), or a pupil's database that is damaged and cannot be read.
TEST_F(InstallationUpdaterTest, AFailedUpdateLeavesTheInstallationAsItWas) {
    StudiedTheFirstTextbook();
    const QString blocker = PupilFile(kDb + InstallationUpdater::kStagedSuffix);
    for (const QString damage : {"blocked", "damaged"}) {
        if (damage == "blocked") ASSERT_TRUE(QDir().mkdir(blocker));
        else Write(kDb, QByteArray(8192, 'x'));
        const Tree before = Snapshot(Pupil());
        EXPECT_FALSE(Update(build2)) << damage.toStdString();
        EXPECT_TRUE(QString::fromStdString(error).contains(damage == "blocked" ? kDb : "nothing was changed")) << error;
        EXPECT_EQ(Snapshot(Pupil()), before) << damage.toStdString();
        QDir().rmdir(blocker);
    }
}

TEST_F(InstallationUpdaterTest, RunningProgramIsNotUpdatedUnderItButItsLeftLockFileIsNoBar) {
    StudiedTheFirstTextbook();
    {
        InstanceLock running(PupilFile("Bin/AppPics/orvanel.lock"));
        ASSERT_EQ(running.TryLock(), InstanceLock::Result::Acquired);
        const Tree before = Snapshot(Pupil());
        EXPECT_FALSE(Update(build2));
        EXPECT_TRUE(QString::fromStdString(error).contains("running")) << error;
        EXPECT_EQ(Snapshot(Pupil()), before);
    }
    // The program ended: its empty lock file stays, its lock does not.
    ASSERT_TRUE(Has("Bin/AppPics/orvanel.lock"));
    EXPECT_TRUE(Update(build2)) << error;
    EXPECT_TRUE(Has("Common/pics/hello.pet"));
}

TEST_F(InstallationUpdaterTest, NothingBuiltIsRefused) {
    QTemporaryDir empty;
    InstallationUpdater updater(empty.path(), Pupil());
    EXPECT_FALSE(updater.Update());
    EXPECT_TRUE(updater.Error().contains(empty.path()));
    EXPECT_FALSE(QFileInfo::exists(Pupil()));
}

}  // namespace
