#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>

#include "media/FolderIndex.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

// Changes land right after a look-up, well within one tick of the file
// system's clock: an index trusting folder times would miss them.
TEST(FolderIndex, SeesEveryChangeMadeRightAfterALookUp) {
    TempFolder dir;
    const QString path = dir.dir.path();
    FolderIndex index;
    dir.Write("Apple.PET", "");
    EXPECT_EQ(index.Find(path, "apple.pet"), "Apple.PET");
    EXPECT_EQ(index.Find(path, "banana.jpg"), "");
    dir.Write("Banana.JPG", "");
    EXPECT_EQ(index.Find(path, "banana.jpg"), "Banana.JPG") << "a new file";
    ASSERT_TRUE(QFile::rename(dir.Path("Banana.JPG"), dir.Path("CHERRY.jpg")));
    EXPECT_EQ(index.Find(path, "banana.jpg"), "") << "renamed away";
    EXPECT_EQ(index.Find(path, "Cherry.JPG"), "CHERRY.jpg") << "renamed to";
    ASSERT_TRUE(QFile::remove(dir.Path("Apple.PET")));
    EXPECT_EQ(index.Find(path, "apple.pet"), "") << "removed";
    // A rename over an existing file leaves one entry, under the new name.
    dir.Write("grape.jpg", "");
    dir.Write("Grape.pet", "");
    ASSERT_EQ(std::rename(QFile::encodeName(dir.Path("grape.jpg")).constData(),
                          QFile::encodeName(dir.Path("Grape.pet")).constData()), 0);
    EXPECT_EQ(index.Find(path, "grape.pet"), "Grape.pet");
    EXPECT_EQ(index.Find(path, "grape.jpg"), "");
}

TEST(FolderIndex, NamesDifferingOnlyInCaseAnswerTheFirstInOrder) {
    TempFolder dir;
    dir.Write("pear.wav", "");
    dir.Write("PEAR.wav", "");
    FolderIndex index;
    EXPECT_EQ(index.Find(dir.dir.path(), "Pear.wav"), "PEAR.wav");
    ASSERT_TRUE(QFile::remove(dir.Path("PEAR.wav")));
    EXPECT_EQ(index.Find(dir.dir.path(), "Pear.wav"), "pear.wav");
}

// The folder under a new name, a new folder under the old one, the folder
// above replaced, the folder removed: each path answers from what it leads to now.
TEST(FolderIndex, APathAnswersFromTheFolderItLeadsToNow) {
    TempFolder root;
    const QString common = root.Path("Common");
    root.Write("Common/pics/Old.pet", "");
    FolderIndex index;
    EXPECT_EQ(index.Find(common + "/pics", "old.pet"), "Old.pet");
    ASSERT_TRUE(QDir(common).rename("pics", "Pics"));
    EXPECT_EQ(index.Find(common + "/Pics", "OLD.pet"), "Old.pet");
    root.Write("Common/pics/Fresh.pet", "");
    EXPECT_EQ(index.Find(common + "/pics", "old.pet"), "");
    EXPECT_EQ(index.Find(common + "/pics", "fresh.pet"), "Fresh.pet");
    ASSERT_TRUE(QDir(root.dir.path()).rename("Common", "Common.before"));
    root.Write("Common/pics/Newest.pet", "");
    EXPECT_EQ(index.Find(common + "/pics", "fresh.pet"), "") << "the folder above was replaced";
    EXPECT_EQ(index.Find(common + "/pics", "newest.pet"), "Newest.pet");
    ASSERT_TRUE(QDir(common + "/pics").removeRecursively());
    EXPECT_EQ(index.Find(common + "/pics", "newest.pet"), "") << "a folder that is gone has nothing";
}

// The store's own renames (every use of a picture makes two) and another
// program's new file in the same folder, one right after the other.
TEST(FolderIndex, StoreFindsAPictureAddedByAnotherProgramBetweenItsOwnRenames) {
    TempInstall install;
    QByteArray scrambled = TempInstall::MakeJpeg(40, 30);
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
