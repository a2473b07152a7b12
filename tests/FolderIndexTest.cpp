#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "media/FolderIndex.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempInstall.h"

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

// Changes land right after a look-up, well within one tick of the file
// system's clock: an index trusting folder times would miss them.
TEST(FolderIndex, SeesEveryChangeMadeRightAfterALookUp) {
    QTemporaryDir dir;
    const QString path = dir.path();
    Touch(path + "/Apple.PET");
    FolderIndex index;
    EXPECT_EQ(index.Find(path, "apple.pet"), "Apple.PET");
    EXPECT_EQ(index.Find(path, "banana.jpg"), "");

    Touch(path + "/Banana.JPG");
    EXPECT_EQ(index.Find(path, "banana.jpg"), "Banana.JPG") << "a new file";
    ASSERT_TRUE(QFile::rename(path + "/Banana.JPG", path + "/CHERRY.jpg"));
    EXPECT_EQ(index.Find(path, "banana.jpg"), "") << "renamed away";
    EXPECT_EQ(index.Find(path, "Cherry.JPG"), "CHERRY.jpg") << "renamed to";
    ASSERT_TRUE(QFile::remove(path + "/Apple.PET"));
    EXPECT_EQ(index.Find(path, "apple.pet"), "") << "removed";

    // A rename over an existing file leaves one entry, under the new name.
    Touch(path + "/grape.jpg");
    Touch(path + "/Grape.pet");
    ASSERT_EQ(::rename(QFile::encodeName(path + "/grape.jpg").constData(),
                       QFile::encodeName(path + "/Grape.pet").constData()),
              0);
    EXPECT_EQ(index.Find(path, "grape.pet"), "Grape.pet");
    EXPECT_EQ(index.Find(path, "grape.jpg"), "");
}

TEST(FolderIndex, NamesDifferingOnlyInCaseAnswerTheFirstInOrder) {
    QTemporaryDir dir;
    Touch(dir.path() + "/pear.wav");
    Touch(dir.path() + "/PEAR.wav");
    FolderIndex index;
    EXPECT_EQ(index.Find(dir.path(), "Pear.wav"), "PEAR.wav");
    ASSERT_TRUE(QFile::remove(dir.path() + "/PEAR.wav"));
    EXPECT_EQ(index.Find(dir.path(), "Pear.wav"), "pear.wav");
}

TEST(FolderIndex, AFolderReplacedUnderTheSameNameIsListedAfresh) {
    QTemporaryDir root;
    const QString path = root.path() + "/pics";
    ASSERT_TRUE(QDir().mkpath(path));
    Touch(path + "/Old.pet");
    FolderIndex index;
    EXPECT_EQ(index.Find(path, "old.pet"), "Old.pet");

    ASSERT_TRUE(QDir(root.path()).rename("pics", "pics.before"));
    ASSERT_TRUE(QDir().mkpath(path));
    Touch(path + "/New.pet");
    EXPECT_EQ(index.Find(path, "old.pet"), "");
    EXPECT_EQ(index.Find(path, "new.pet"), "New.pet");

    ASSERT_TRUE(QDir(path).removeRecursively());
    EXPECT_EQ(index.Find(path, "new.pet"), "") << "a folder that is gone has nothing";
}

// The same folder under a new name, a new folder under the old one, and a
// folder above them replaced: each path answers from what it leads to now.
TEST(FolderIndex, APathAnswersFromTheFolderItLeadsToNow) {
    QTemporaryDir root;
    const QString common = root.path() + "/Common";
    ASSERT_TRUE(QDir().mkpath(common + "/pics"));
    Touch(common + "/pics/Old.pet");
    FolderIndex index;
    EXPECT_EQ(index.Find(common + "/pics", "old.pet"), "Old.pet");

    ASSERT_TRUE(QDir(common).rename("pics", "Pics"));
    EXPECT_EQ(index.Find(common + "/Pics", "OLD.pet"), "Old.pet");
    ASSERT_TRUE(QDir().mkpath(common + "/pics"));
    Touch(common + "/pics/Fresh.pet");
    EXPECT_EQ(index.Find(common + "/pics", "old.pet"), "");
    EXPECT_EQ(index.Find(common + "/pics", "fresh.pet"), "Fresh.pet");

    ASSERT_TRUE(QDir(root.path()).rename("Common", "Common.before"));
    ASSERT_TRUE(QDir().mkpath(common + "/pics"));
    Touch(common + "/pics/Newest.pet");
    EXPECT_EQ(index.Find(common + "/pics", "fresh.pet"), "") << "the folder above was replaced";
    EXPECT_EQ(index.Find(common + "/pics", "newest.pet"), "Newest.pet");
}

// The store's own renames (every use of a picture makes two) and another
// program's new file in the same folder, one right after the other.
TEST(FolderIndex, StoreFindsAPictureAddedByAnotherProgramBetweenItsOwnRenames) {
    TempInstall install;
    const QByteArray jpeg = TempInstall::MakeJpeg(40, 30);
    QByteArray scrambled = jpeg;
    ModuleCrpt::ScrambleHeader(scrambled);
    install.WriteFile("Common/pics/apple.pet", scrambled);
    install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(8, 8));
    MediaStore store(install.BinDir());
    EXPECT_EQ(store.LoadWordPicture("apple").size(), QSize(40, 30));

    install.WriteFile("Common/pics/Kiwi.PET", scrambled);
    EXPECT_EQ(store.LoadWordPicture("kiwi").size(), QSize(40, 30)) << "not the default picture";
    EXPECT_TRUE(install.Exists("Common/pics/Kiwi.pet")) << "scrambled again";
    EXPECT_FALSE(install.Exists("Common/pics/Kiwi.jpg"));
    EXPECT_EQ(store.LoadWordPicture("apple").size(), QSize(40, 30));
}
