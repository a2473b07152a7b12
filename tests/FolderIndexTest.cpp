#include "media/FolderIndex.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

// Each change lands right after a look-up, well within one tick of the file system's clock (an index
// trusting folder times would miss it); every folder's look-ups after it answer from what is there now.
TEST(FolderIndex, EveryLookUpSeesTheChangesMadeRightBeforeIt) {
    TempFolder root;
    const auto move = [&](const QString& from, const QString& to) {
        ASSERT_EQ(std::rename(QFile::encodeName(root.Path(from)).constData(), QFile::encodeName(root.Path(to)).constData()), 0);
    };
    const std::vector<std::pair<std::function<void()>, std::vector<std::pair<QString, QString>>>> steps = {
        {[&] { root.Write("a/Apple.PET", ""); }, {{"a/apple.pet", "Apple.PET"}, {"a/banana.jpg", ""}}},
        {[&] { root.Write("a/Banana.JPG", ""); }, {{"a/banana.jpg", "Banana.JPG"}}},
        {[&] { move("a/Banana.JPG", "a/CHERRY.jpg"); }, {{"a/banana.jpg", ""}, {"a/Cherry.JPG", "CHERRY.jpg"}}},
        {[&] { QFile::remove(root.Path("a/Apple.PET")); }, {{"a/apple.pet", ""}}},
        {[&] { root.Write("a/grape.jpg", ""), root.Write("a/Grape.pet", ""), move("a/grape.jpg", "a/Grape.pet"); },
         {{"a/grape.pet", "Grape.pet"}, {"a/grape.jpg", ""}}},  // a rename over a file leaves one entry
        {[&] { root.Write("a/PEAR.wav", ""), root.Write("a/pear.wav", ""); }, {{"a/Pear.wav", "PEAR.wav"}}},  // the first in order
        {[&] { QFile::remove(root.Path("a/PEAR.wav")); }, {{"a/Pear.wav", "pear.wav"}}},
        {[&] { root.Write("c/pics/Old.pet", ""); }, {{"c/pics/old.pet", "Old.pet"}}},
        {[&] { move("c/pics", "c/Pics"); }, {{"c/Pics/OLD.pet", "Old.pet"}, {"c/pics/old.pet", ""}}},
        {[&] { root.Write("c/pics/Fresh.pet", ""); }, {{"c/pics/old.pet", ""}, {"c/pics/fresh.pet", "Fresh.pet"}}},
        {[&] { move("c", "c.before"), root.Write("c/pics/Newest.pet", ""); },  // the folder above replaced
         {{"c/pics/fresh.pet", ""}, {"c/pics/newest.pet", "Newest.pet"}, {"c.before/pics/fresh.pet", "Fresh.pet"}}},
        {[&] { QDir(root.Path("c/pics")).removeRecursively(); }, {{"c/pics/newest.pet", ""}}},
    };
    FolderIndex index;
    int step = 0;
    for (const auto& [change, expected] : steps)
        for (change(), ++step; const auto& [name, found] : expected)
            EXPECT_EQ(index.Find(root.Path(QFileInfo(name).path()), QFileInfo(name).fileName()), found) << step << name.toStdString();
}

// The store's own renames (every use of a picture makes two) and another program's new file in the same
// folder, one right after the other.
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
    EXPECT_TRUE(install.Exists("Common/pics/Kiwi.pet") && !install.Exists("Common/pics/Kiwi.jpg")) << "scrambled again";
    EXPECT_EQ(store.LoadWordPicture("apple").size(), QSize(40, 30));
}
