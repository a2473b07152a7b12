#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "data/LessonDatabase.h"
#include "media/InstanceLock.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempInstall.h"
#include "tools/InstallationUpdater.h"

namespace {

const QString kDb = "Bin/AppPics/" + LessonDatabase::kFileName;

using Tree = std::map<QString, QByteArray>;

// Every file and folder under root with its bytes (folders as "<folder>").
Tree Snapshot(const QString& root) {
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QFile file(entry.filePath());
        tree[QDir(root).relativeFilePath(entry.filePath())] =
            entry.isDir() ? QByteArray("<folder>") : (file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
    }
    return tree;
}

// The paths added, removed or changed between two snapshots.
QStringList Changed(const Tree& before, const Tree& after) {
    QStringList paths;
    for (const auto& [path, bytes] : before) {
        const auto found = after.find(path);
        if (found == after.end() || found->second != bytes) paths << path;
    }
    for (const auto& entry : after)
        if (!before.count(entry.first)) paths << entry.first;
    return paths;
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
    QString Pupil() const { return home.path() + "/orvanel"; }
    QString PupilFile(const QString& relative) const { return Pupil() + "/" + relative; }

    bool Update(const Build& build) {
        InstallationUpdater updater(build.Root(), Pupil());
        const bool ok = updater.Update();
        error = updater.Error();
        report = updater.Report();
        return ok;
    }

    // A query on a plain copy of the pupil's database, which must rest scrambled.
    QVariant Stored(const QString& sql) {
        probe.WriteFile(kDb, ReadPupilFile(kDb));
        EXPECT_TRUE(probe.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        return probe.Query(sql);
    }

    // The pupil's own changes to the database, left scrambled as the program leaves it.
    void Pupils(const QString& sql) {
        probe.WriteFile(kDb, ReadPupilFile(kDb));
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        probe.Exec(sql);
        ModuleCrpt::ScrambleHeader(probe.DbPath());
        WritePupilFile(kDb, probe.ReadFile(kDb));
    }

    QByteArray ReadPupilFile(const QString& relative) const {
        QFile file(PupilFile(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WritePupilFile(const QString& relative, const QByteArray& bytes) const {
        QFile file(PupilFile(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The pupil worked through the first textbook and recorded two words.
    void StudiedTheFirstTextbook() {
        ASSERT_TRUE(Update(build1)) << error.toStdString();
        Pupils("update words set Result = '3|1|2' where English = 'apple';"
               "update words set Result = '2|0|2' where English = 'red';"
               "update words set Result = '1|1|0' where English = 'dog ';"
               "update words set Result = '4|2|1' where English = 'cat';"
               "update words_BookUnit set UnitStatus = 3 where BookID = 0 and UnitID = 0;"
               "update words_BookUnit set UnitStatus = 1 where BookID = 0 and UnitID = 1;"
               "update words_BookUnit set UnitStatus = 2 where BookID = 1 and UnitID = 0;"
               "update FeatureTable set LastBook = 0, LastUnit = 0");
        WritePupilFile("Common/myvoice/apple.wav", TempInstall::MakeWav(0.3));
        WritePupilFile("Common/myvoice/cat.wav", TempInstall::MakeWav(0.2));
    }

    QTemporaryDir home;
    TempInstall probe;
    QString error;
    QStringList report;
    Build build1{kUnits1, kWords1, "1"};
    Build build2{kUnits2, kWords2, "2"};
};

TEST_F(InstallationUpdaterTest, FirstRunMakesTheInstallationFromTheBuild) {
    ASSERT_TRUE(Update(build1)) << error.toStdString();
    ASSERT_EQ(report.size(), 1);
    EXPECT_TRUE(report[0].contains(Pupil()));
    Tree built = Snapshot(build1.Root());
    built.erase("Bin/orvanel");  // the programs run from where they are installed
    Tree made = Snapshot(Pupil());
    EXPECT_EQ(made.count("Common/myvoice"), 1u);
    EXPECT_EQ(made.erase("Bin/AppPics/.content-fingerprint"), 1u);
    made.erase("Bin/AppPics/orvanel.lock");
    for (const auto& [path, bytes] : built) {
        ASSERT_EQ(made.count(path), 1u) << path.toStdString();
        if (path != kDb) {
            EXPECT_EQ(made[path], bytes) << path.toStdString();
        }
    }
    EXPECT_EQ(made.size(), built.size());
    EXPECT_EQ(Stored("select count(*) from words").toInt(), 6);
    EXPECT_EQ(Stored("select count(*) from words where Result is not null").toInt(), 0);
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
}

TEST_F(InstallationUpdaterTest, NewTextbookKeepsResultsMarksPositionAndRecordings) {
    StudiedTheFirstTextbook();
    const QByteArray recording = ReadPupilFile("Common/myvoice/cat.wav");
    ASSERT_FALSE(recording.isEmpty());
    // The program stopped while "dog" was in use: its picture lies plain.
    ASSERT_TRUE(QFile::rename(PupilFile("Common/pics/dog.pet"), PupilFile("Common/pics/dog.jpg")));
    build2.install.WriteFile("Common/pics/red.pet", "a redder picture of red");
    const ino_t applePicture = Inode(PupilFile("Common/pics/apple.pet"));

    ASSERT_TRUE(Update(build2)) << error.toStdString();

    // Results by trimmed spelling, in every row of the spelling.
    EXPECT_EQ(Stored("select Result from words where English = 'apple'").toString(), "3|1|2");
    EXPECT_EQ(Stored("select group_concat(Result) from words where trim(English) = 'red'").toString(),
              "2|0|2,2|0|2");
    EXPECT_EQ(Stored("select Result from words where English = 'dog'").toString(), "1|1|0");
    EXPECT_FALSE(Stored("select Result from words where English = 'hello'").isValid());
    EXPECT_FALSE(Stored("select Result from words where English = 'ice cream'").isValid());
    // "cat" left the textbook: kept aside.
    EXPECT_EQ(Stored("select Result from KeptResults where English = 'cat'").toString(), "4|2|1");
    EXPECT_EQ(Stored("select count(*) from KeptResults").toInt(), 1);

    // Unit marks by book and unit name: the renamed unit starts unmarked.
    EXPECT_FALSE(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0").isValid());
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 1").toInt(), 3);
    EXPECT_FALSE(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 2").isValid());
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 1 and UnitID = 0").toInt(), 2);
    EXPECT_EQ(Stored("select UnitName || ':' || UnitStatus from KeptUnitStatus").toString(), "Unit 2:1");
    // The position follows its unit, now the second of the book.
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,1");

    // Media from the new build; unchanged media left as they were.
    EXPECT_EQ(Inode(PupilFile("Common/pics/apple.pet")), applePicture);
    EXPECT_EQ(ReadPupilFile("Common/pics/red.pet"), "a redder picture of red");
    EXPECT_TRUE(QFile::exists(PupilFile("Common/pics/hello.pet")));
    EXPECT_FALSE(QFile::exists(PupilFile("Common/pics/cat.pet")));
    EXPECT_FALSE(QFile::exists(PupilFile("Common/voice/cat.abw")));
    EXPECT_TRUE(QFile::exists(PupilFile("Common/pics/dog.pet")));
    EXPECT_FALSE(QFile::exists(PupilFile("Common/pics/dog.jpg")));
    // Recordings untouched, also of the word that left.
    EXPECT_EQ(ReadPupilFile("Common/myvoice/cat.wav"), recording);
    EXPECT_TRUE(QFile::exists(PupilFile("Common/myvoice/apple.wav")));
    for (const auto& [path, bytes] : Snapshot(Pupil()))
        EXPECT_FALSE(path.contains(InstallationUpdater::kStagedSuffix)) << path.toStdString();
    EXPECT_TRUE(report.join('\n').contains("kept aside")) << report.join('\n').toStdString();

    // The word and the unit name come back: so do their result and mark.
    Pupils("update FeatureTable set LastBook = 0, LastUnit = 1");
    Build build3{kUnits1, kWords1, "3"};
    ASSERT_TRUE(Update(build3)) << error.toStdString();
    EXPECT_EQ(Stored("select Result from words where English = 'cat'").toString(), "4|2|1");
    EXPECT_EQ(Stored("select Result from words where English = 'dog '").toString(), "1|1|0");
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 1").toInt(), 1);
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0").toInt(), 3);
    EXPECT_EQ(Stored("select count(*) from KeptResults").toInt(), 0);
    EXPECT_EQ(Stored("select count(*) from KeptUnitStatus").toInt(), 0);
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
    EXPECT_TRUE(QFile::exists(PupilFile("Common/pics/cat.pet")));
    EXPECT_EQ(ReadPupilFile("Common/myvoice/cat.wav"), recording);
}

TEST_F(InstallationUpdaterTest, PositionFallsBackWhenItsUnitOrBookIsGone) {
    ASSERT_TRUE(Update(build2)) << error.toStdString();
    Pupils("update FeatureTable set LastBook = 0, LastUnit = 2");  // "Unit 2 Pets"
    ASSERT_TRUE(Update(build1)) << error.toStdString();
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
    EXPECT_TRUE(report.join('\n').contains("first unit"));

    Pupils("update FeatureTable set LastBook = 1, LastUnit = 0");
    Build oneBook{{{"Unit 1", "Unit 2"}}, {{0, 0, "apple", "苹果"}, {0, 1, "cat", "猫"}}, "4"};
    ASSERT_TRUE(Update(oneBook)) << error.toStdString();
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");

    Pupils("update FeatureTable set LastBook = 7, LastUnit = 3");  // never a real position
    ASSERT_TRUE(Update(build1)) << error.toStdString();
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
}

TEST_F(InstallationUpdaterTest, AnUnchangedBuildChangesNothingAndIsSeenUpToDate) {
    StudiedTheFirstTextbook();
    EXPECT_TRUE(InstallationUpdater(build1.Root(), Pupil()).UpToDate());
    EXPECT_FALSE(InstallationUpdater(build2.Root(), Pupil()).UpToDate());
    const Tree before = Snapshot(Pupil());
    ASSERT_TRUE(Update(build1)) << error.toStdString();
    EXPECT_TRUE(report.isEmpty()) << report.join('\n').toStdString();
    EXPECT_EQ(Changed(before, Snapshot(Pupil())), QStringList());
    // Any change of the installed content is seen, however small.
    build1.install.WriteFile("Common/pics/apple.pet", "picture of apple, redrawn");
    EXPECT_FALSE(InstallationUpdater(build1.Root(), Pupil()).UpToDate());
}

TEST_F(InstallationUpdaterTest, ProgramCopiesOfEarlierUpdatesAreRemoved) {
    StudiedTheFirstTextbook();
    WritePupilFile("Bin/orvanel", "old program");
    WritePupilFile("Bin/orvanel-publish", "old program");
    ASSERT_TRUE(Update(build2)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(PupilFile("Bin/orvanel")));
    EXPECT_FALSE(QFile::exists(PupilFile("Bin/orvanel-publish")));
    EXPECT_EQ(Stored("select Result from words where English = 'apple'").toString(), "3|1|2");
}

TEST_F(InstallationUpdaterTest, FailureMidwayLeavesTheInstallationAsItWas) {
    StudiedTheFirstTextbook();
    const QString appPics = PupilFile("Bin/AppPics");
    if (::geteuid() == 0) {
        // Permissions do not stop root: a folder where the new database
        // would be written does.
        ASSERT_TRUE(QDir(appPics).mkdir(LessonDatabase::kFileName + InstallationUpdater::kStagedSuffix));
    } else {
        ASSERT_TRUE(QFile::setPermissions(appPics, QFile::ReadOwner | QFile::ExeOwner));
    }
    const Tree before = Snapshot(Pupil());
    EXPECT_FALSE(Update(build2));
    EXPECT_TRUE(error.contains(LessonDatabase::kFileName)) << error.toStdString();
    QFile::setPermissions(appPics, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Changed(before, Snapshot(Pupil())), QStringList());
}

TEST_F(InstallationUpdaterTest, DamagedDatabaseIsNeitherReadNorReplaced) {
    StudiedTheFirstTextbook();
    WritePupilFile(kDb, QByteArray(8192, 'x'));
    const Tree before = Snapshot(Pupil());
    EXPECT_FALSE(Update(build2));
    EXPECT_TRUE(error.contains("nothing was changed")) << error.toStdString();
    EXPECT_EQ(Changed(before, Snapshot(Pupil())), QStringList());
}

TEST_F(InstallationUpdaterTest, RunningProgramIsNotUpdatedUnderItButItsLeftLockFileIsNoBar) {
    StudiedTheFirstTextbook();
    {
        InstanceLock running(PupilFile("Bin/AppPics/orvanel.lock"));
        ASSERT_EQ(running.TryLock(), InstanceLock::Result::Acquired);
        const Tree before = Snapshot(Pupil());
        EXPECT_FALSE(Update(build2));
        EXPECT_TRUE(error.contains("running")) << error.toStdString();
        EXPECT_EQ(Changed(before, Snapshot(Pupil())), QStringList());
    }
    // The program ended: its empty lock file stays, its lock does not.
    ASSERT_TRUE(QFile::exists(PupilFile("Bin/AppPics/orvanel.lock")));
    EXPECT_TRUE(Update(build2)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(PupilFile("Common/pics/hello.pet")));
}

TEST_F(InstallationUpdaterTest, DatabaseLeftPlainByTheProgramIsRead) {
    StudiedTheFirstTextbook();
    ModuleCrpt::ScrambleHeader(PupilFile(kDb));  // stopped with a query open
    ASSERT_TRUE(Update(build2)) << error.toStdString();
    EXPECT_EQ(Stored("select Result from words where English = 'apple'").toString(), "3|1|2");
}

TEST_F(InstallationUpdaterTest, NothingBuiltIsRefused) {
    QTemporaryDir empty;
    InstallationUpdater updater(empty.path(), Pupil());
    EXPECT_FALSE(updater.Update());
    EXPECT_TRUE(updater.Error().contains(empty.path()));
    EXPECT_FALSE(QFileInfo::exists(Pupil()));
}

}  // namespace
