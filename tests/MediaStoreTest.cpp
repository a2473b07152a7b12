#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TempInstall.h"

namespace {

// How a JPEG and a WAV file begin when scrambled.
const QByteArray kScrambledJpeg("\xFF\x1B\xFF\x07", 4), kScrambledRiff("\x4A\x92\x62\x62", 4);

class MediaStoreTest : public ::testing::Test {
protected:
    // A picture of the given size in the pictures folder, scrambled unless told otherwise.
    QByteArray PutPicture(const QString& name, int width, int height, bool scramble = true) {
        QByteArray bytes = TempInstall::MakeJpeg(width, height);
        if (scramble) ModuleCrpt::ScrambleHeader(bytes);
        install.WriteFile("Common/pics/" + name, bytes);
        return bytes;
    }
    QByteArray Pic(const QString& name) const { return install.ReadFile("Common/pics/" + name); }
    bool Has(const QString& name) const { return install.Exists("Common/pics/" + name); }
    QSize Size(const QString& word, const QSize& within = QSize()) { return store.LoadWordPicture(word, true, within).size(); }
    void ExpectAtRest(std::initializer_list<QString> words) const {
        for (const QString& word : words) {
            EXPECT_EQ(Pic(word + ".pet").left(4), kScrambledJpeg) << word.toStdString();
            EXPECT_FALSE(Has(word + ".jpg")) << word.toStdString();
        }
    }

    TempInstall install;
    MediaStore store{install.BinDir()};
};

}  // namespace

TEST(ScrambleHeader, ReversesTheBitsOfTheFirst72BytesOnlyAndUndoesItself) {
    for (const auto& [plain, reversed] : {std::pair{0x01, 0x80}, {0x0F, 0xF0}, {0xAA, 0x55}, {0x00, 0x00}, {0xFF, 0xFF}})
        EXPECT_EQ(ModuleCrpt::ReverseBits(plain), reversed) << plain;
    TempInstall install;
    const QByteArray jpeg = TempInstall::MakeJpeg();
    ASSERT_GT(jpeg.size(), 200);
    const std::tuple<QString, QByteArray, QByteArray> rows[] = {
        {"a.jpg", jpeg, kScrambledJpeg}, {"s.wav", "RIFF", kScrambledRiff}, {"empty", "", ""}};
    for (const auto& [name, bytes, start] : rows) {
        install.WriteFile(name, bytes);
        ASSERT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/" + name)) << name.toStdString();
        const QByteArray scrambled = install.ReadFile(name);
        EXPECT_EQ(scrambled.left(4), start) << name.toStdString();
        ASSERT_EQ(scrambled.size(), bytes.size()) << name.toStdString();  // nothing appended
        for (int i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(uchar(scrambled[i]), i < 72 ? ModuleCrpt::ReverseBits(uchar(bytes[i])) : uchar(bytes[i])) << i;
        ASSERT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/" + name));
        EXPECT_EQ(install.ReadFile(name), bytes) << name.toStdString();
    }
    EXPECT_FALSE(ModuleCrpt::ScrambleHeader(install.Root() + "/missing"));
    EXPECT_FALSE(ModuleCrpt::ScrambleHeader(QString()));
    EXPECT_FALSE(install.Exists("missing"));
}

TEST(MediaStore, DataDirIsBesideTheProgramFolder) {
    EXPECT_EQ(MediaStore("/x/Study/Bin").GetDataDir(), "/x/Study/Common");
    EXPECT_EQ(MediaStore("/x/Study/Bin/").GetDataDir(), "/x/Study/Common");
    EXPECT_EQ(MediaStore("/").GetDataDir(), "/Common");
    EXPECT_EQ(MediaStore("/x/Study/Bin").WordFile("pics", "cat", ".pet"), "/x/Study/Common/pics/cat.pet");
}

TEST_F(MediaStoreTest, PicturesAndSoundsConvertBothWaysAndTheScrambledFileWins) {
    const QByteArray jpeg = PutPicture("cat.jpg", 40, 30, false), wav = TempInstall::MakeWav(0.1);
    ASSERT_TRUE(store.EncryptWordPic("cat"));
    EXPECT_FALSE(Has("cat.jpg"));
    EXPECT_EQ(Pic("cat.pet").left(4), kScrambledJpeg);
    install.WriteFile("Common/pics/cat.jpg", "old plain picture");
    ASSERT_TRUE(store.DecryptWordPic("cat"));
    EXPECT_FALSE(Has("cat.pet"));
    EXPECT_EQ(Pic("cat.jpg"), jpeg);

    install.WriteFile("Common/voice/pig.wav", wav);
    EXPECT_FALSE(store.DecryptWordAudio("pig"));  // nothing scrambled to decrypt
    EXPECT_EQ(install.ReadFile("Common/voice/pig.wav"), wav);
    EXPECT_FALSE(install.Exists("Common/voice/pig.abw"));
    ASSERT_TRUE(store.EncryptWordAudio("pig"));
    EXPECT_EQ(install.ReadFile("Common/voice/pig.abw").left(4), kScrambledRiff);
    EXPECT_FALSE(install.Exists("Common/voice/pig.wav"));
}

TEST_F(MediaStoreTest, FoldersAndFilesMatchWhateverTheirCase) {
    QDir(install.DataDir()).rename("pics", "Pics");
    install.WriteFile("Common/Pics/Apple.PET", "x");
    EXPECT_EQ(store.FolderPath("pics"), install.DataDir() + "/Pics");
    EXPECT_TRUE(store.WordFileExists("pics", "apple", ".pet"));
    ASSERT_TRUE(store.DecryptWordPic("apple"));
    EXPECT_TRUE(install.Exists("Common/Pics/Apple.jpg"));
    EXPECT_FALSE(install.Exists("Common/Pics/Apple.PET"));
}

TEST_F(MediaStoreTest, WordsThatNamePathsHaveNoMedia) {
    install.WriteFile("Common/secret.pet", "outside the pictures folder");
    install.WriteFile("Common/pics/...pet", "dots");
    for (const QString word : {"../secret", "..\\secret", "..", ".", "", "a/b"}) {
        EXPECT_TRUE(store.WordFile("pics", word, ".pet").isEmpty()) << word.toStdString();
        EXPECT_FALSE(store.DecryptWordPic(word)) << word.toStdString();
    }
    EXPECT_EQ(install.ReadFile("Common/secret.pet"), "outside the pictures folder");
}

// First as the user nobody (root would write anyway): the pictures are read
// and unscrambled in memory and nothing changes. Then where the store can be
// changed: each is scrambled again, the default picture stays plain once needed.
TEST_F(MediaStoreTest, PictureFallsBackToTheDefaultAndIsScrambledAgainEvenWhereNothingCanBeWritten) {
    const QByteArray cat = PutPicture("cat.pet", 40, 30), ffe = PutPicture("ffe.pet", 20, 10);
    const auto sizes = [this] {
        QStringList seen;
        for (const QString word : {"cat", "zebra", "cat", "../secret"}) {
            const QSize size = Size(word);
            seen << QString("%1=%2x%3").arg(word).arg(size.width()).arg(size.height());
        }
        return seen.join(' ');
    };
    AsNobody::LetRead(install.Root());
    const AsNobody::Outcome outcome = AsNobody::Run(sizes);
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, "cat=40x30 zebra=20x10 cat=40x30 ../secret=20x10");
    EXPECT_EQ(QDir(install.DataDir() + "/pics").entryList(QDir::Files), QStringList({"cat.pet", "ffe.pet"}));
    EXPECT_EQ(Pic("cat.pet"), cat);
    EXPECT_EQ(Pic("ffe.pet"), ffe);

    EXPECT_EQ(sizes(), "cat=40x30 zebra=20x10 cat=40x30 ../secret=20x10");
    EXPECT_EQ(Pic("cat.pet"), cat);
    EXPECT_FALSE(Has("cat.jpg"));
    EXPECT_TRUE(Has("ffe.jpg"));
    EXPECT_FALSE(store.LoadWordPicture("cat", false).isNull());
    EXPECT_TRUE(Has("cat.jpg"));
}

// A crash between flipping a file and renaming it leaves ".pet" holding the
// plain form, or ".jpg" holding the scrambled one; both still show the word,
// and a file already in the wanted form is only renamed.
TEST_F(MediaStoreTest, FilesLeftHalfConvertedByACrashHealOnUse) {
    PutPicture("ffe.jpg", 20, 10, false);
    const QByteArray jpeg = PutPicture("cat.pet", 40, 30, false);
    for (int use = 0; use < 2; ++use) {
        EXPECT_EQ(Size("cat"), QSize(40, 30)) << "use " << use;
        ExpectAtRest({"cat"});
    }
    const QByteArray scrambled = PutPicture("dog.jpg", 40, 30);
    EXPECT_EQ(Size("dog"), QSize(40, 30));
    EXPECT_EQ(Pic("dog.pet"), scrambled);
    EXPECT_TRUE(store.DecryptWordPic("dog"));
    EXPECT_EQ(Pic("dog.jpg"), jpeg);

    const QByteArray wav = TempInstall::MakeWav(0.1);
    install.WriteFile("Common/voice/pig.abw", wav);
    EXPECT_TRUE(store.DecryptWordAudio("pig"));
    EXPECT_EQ(install.ReadFile("Common/voice/pig.wav"), wav);
}

TEST_F(MediaStoreTest, MissingFoldersAreNamedAndTheDefaultPictureIsDrawn) {
    EXPECT_TRUE(store.MissingFolders().isEmpty());
    QDir(install.DataDir() + "/appvoice").removeRecursively();
    QDir(install.DataDir() + "/voice").removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir() + "/voice", install.DataDir() + "/appvoice"}));
    QDir(install.DataDir()).removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir()}));
    const QSize drawn = Size("cat");
    EXPECT_EQ(drawn, MediaStore::DrawnDefaultPicture().size());
    EXPECT_GT(drawn.width(), 100);
    EXPECT_FALSE(QFileInfo::exists(install.DataDir()));
}

// A picture decodes at a half, a quarter or an eighth of its size, the
// smallest of these that still covers the size asked for.
TEST_F(MediaStoreTest, PicturesDecodeAtTheSmallestFractionThatStillCovers) {
    const QByteArray sun = PutPicture("sun.pet", 400, 300);
    const std::pair<QSize, QSize> rows[] = {{{160, 120}, {200, 150}}, {{100, 75}, {100, 75}},
                                            {{101, 60}, {200, 150}},  // never smaller
                                            {{20, 10}, {50, 38}},     // an eighth at most
                                            {{800, 600}, {400, 300}}, {{}, {400, 300}}};
    for (const auto& [within, size] : rows) EXPECT_EQ(Size("sun", within), size) << within.width() << "x" << within.height();
    EXPECT_EQ(Pic("sun.pet"), sun);
}

// Pictures loaded ahead on a second thread are handed over in any order, as
// loading them then would give them, once each. The first picture asked for
// that was not loaded ahead drops the rest, so one whose file changed since
// is read afresh; the files rest scrambled.
TEST_F(MediaStoreTest, PicturesLoadedAheadAreHandedOverOnceInAnyOrderAndNeverStale) {
    const QByteArray sun = PutPicture("sun.pet", 400, 300);
    PutPicture("moon.pet", 40, 30);
    PutPicture("star.pet", 20, 15);
    store.PrefetchPictures({{"sun", QSize()}, {"moon", QSize()}, {"star", QSize()}, {"sun", QSize()}});
    for (const auto& [word, size] : {std::pair{"star", QSize(20, 15)}, {"sun", QSize(400, 300)},
                                     {"moon", QSize(40, 30)}, {"sun", QSize(400, 300)}})
        EXPECT_EQ(Size(word), size) << word;
    EXPECT_EQ(store.PrefetchedShown(), 4);
    EXPECT_EQ(Size("star"), QSize(20, 15)) << "read afresh once all were given out";
    EXPECT_EQ(store.PrefetchedShown(), 4);

    store.PrefetchPictures({{"sun", QSize(100, 75)}, {"moon", QSize()}, {"star", QSize()}});
    EXPECT_TRUE(store.WordFileExists("pics", "sun", ".pet")) << "looking waits for the thread";
    EXPECT_EQ(Pic("sun.pet"), sun);
    EXPECT_EQ(Size("sun", QSize(100, 75)), QSize(100, 75));
    EXPECT_EQ(store.PrefetchedShown(), 5);
    EXPECT_EQ(Size("sun"), QSize(400, 300)) << "another size is not what was loaded";
    PutPicture("moon.pet", 60, 45);
    EXPECT_EQ(Size("moon"), QSize(60, 45)) << "read afresh after the miss";
    EXPECT_EQ(store.PrefetchedShown(), 5);
    ExpectAtRest({"sun", "moon", "star"});
}
