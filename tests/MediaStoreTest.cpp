#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TempInstall.h"

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(static_cast<char>(v));
    return b;
}

}  // namespace

TEST(ScrambleHeader, ReversesBitsOfFirst72BytesOnly) {
    TempInstall install;
    QByteArray jpeg = TempInstall::MakeJpeg();
    ASSERT_GT(jpeg.size(), 200);
    install.WriteFile("a.jpg", jpeg);
    const QString path = install.Root() + "/a.jpg";

    ASSERT_TRUE(ModuleCrpt::ScrambleHeader(path));
    const QByteArray scrambled = install.ReadFile("a.jpg");
    EXPECT_EQ(scrambled.left(4), Bytes({0xFF, 0x1B, 0xFF, 0x07}));
    EXPECT_EQ(scrambled.size(), jpeg.size());
    EXPECT_EQ(scrambled.mid(72), jpeg.mid(72));
    for (int i = 0; i < 72; ++i)
        ASSERT_EQ(static_cast<unsigned char>(scrambled[i]),
                  ModuleCrpt::ReverseBits(static_cast<unsigned char>(jpeg[i])));

    ASSERT_TRUE(ModuleCrpt::ScrambleHeader(path));
    EXPECT_EQ(install.ReadFile("a.jpg"), jpeg);
}

TEST(ScrambleHeader, KnownVectorsAndShortFiles) {
    EXPECT_EQ(ModuleCrpt::ReverseBits(0x01), 0x80);
    EXPECT_EQ(ModuleCrpt::ReverseBits(0x0F), 0xF0);
    EXPECT_EQ(ModuleCrpt::ReverseBits(0xAA), 0x55);
    EXPECT_EQ(ModuleCrpt::ReverseBits(0x00), 0x00);
    EXPECT_EQ(ModuleCrpt::ReverseBits(0xFF), 0xFF);

    TempInstall install;
    install.WriteFile("s.wav", "RIFF");
    ASSERT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/s.wav"));
    EXPECT_EQ(install.ReadFile("s.wav"), Bytes({0x4A, 0x92, 0x62, 0x62}));  // nothing appended

    install.WriteFile("empty", "");
    EXPECT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/empty"));
    EXPECT_EQ(install.ReadFile("empty").size(), 0);

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

TEST(MediaStore, PictureRoundTripRestoresBytes) {
    TempInstall install;
    MediaStore store(install.BinDir());
    const QByteArray jpeg = TempInstall::MakeJpeg();
    install.WriteFile("Common/pics/cat.jpg", jpeg);

    ASSERT_TRUE(store.EncryptWordPic("cat"));
    EXPECT_FALSE(install.Exists("Common/pics/cat.jpg"));
    EXPECT_EQ(install.ReadFile("Common/pics/cat.pet").left(4), Bytes({0xFF, 0x1B, 0xFF, 0x07}));

    ASSERT_TRUE(store.DecryptWordPic("cat"));
    EXPECT_FALSE(install.Exists("Common/pics/cat.pet"));
    EXPECT_EQ(install.ReadFile("Common/pics/cat.jpg"), jpeg);
}

TEST(MediaStore, ScrambledFileWinsOverPlainOne) {
    TempInstall install;
    MediaStore store(install.BinDir());
    QByteArray scrambledSource = TempInstall::MakeJpeg(50, 50);
    install.WriteFile("Common/pics/dog.pet", scrambledSource);
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/dog.pet");
    install.WriteFile("Common/pics/dog.jpg", "old plain picture");

    store.DecryptWordPic("dog");
    EXPECT_FALSE(install.Exists("Common/pics/dog.pet"));
    EXPECT_EQ(install.ReadFile("Common/pics/dog.jpg"), scrambledSource);
}

TEST(MediaStore, DecryptAudioWithoutScrambledFileDoesNothing) {
    TempInstall install;
    MediaStore store(install.BinDir());
    const QByteArray wav = TempInstall::MakeWav(0.1);
    install.WriteFile("Common/voice/pig.wav", wav);
    EXPECT_FALSE(store.DecryptWordAudio("pig"));
    EXPECT_EQ(install.ReadFile("Common/voice/pig.wav"), wav);
    EXPECT_FALSE(install.Exists("Common/voice/pig.abw"));

    ASSERT_TRUE(store.EncryptWordAudio("pig"));
    EXPECT_EQ(install.ReadFile("Common/voice/pig.abw").left(4), Bytes({0x4A, 0x92, 0x62, 0x62}));
}

TEST(MediaStore, FoldersAndFilesMatchWhateverTheirCase) {
    TempInstall install;
    QDir(install.DataDir()).rename("pics", "Pics");
    install.WriteFile("Common/Pics/Apple.PET", "x");
    MediaStore store(install.BinDir());
    EXPECT_EQ(store.FolderPath("pics"), install.DataDir() + "/Pics");
    EXPECT_TRUE(store.WordFileExists("pics", "apple", ".pet"));
    ASSERT_TRUE(store.DecryptWordPic("apple"));
    EXPECT_TRUE(install.Exists("Common/Pics/Apple.jpg"));
    EXPECT_FALSE(install.Exists("Common/Pics/Apple.PET"));
}

TEST(MediaStore, WordsThatNamePathsHaveNoMedia) {
    TempInstall install;
    MediaStore store(install.BinDir());
    install.WriteFile("Common/secret.pet", "outside the pictures folder");
    install.WriteFile("Common/pics/...pet", "dots");
    for (const QString word : {"../secret", "..\\secret", "..", ".", "", "a/b"}) {
        EXPECT_TRUE(store.WordFile("pics", word, ".pet").isEmpty()) << word.toStdString();
        EXPECT_FALSE(store.DecryptWordPic(word));
    }
    EXPECT_EQ(install.ReadFile("Common/secret.pet"), "outside the pictures folder");
}

TEST(MediaStore, PictureFallsBackToDefaultAndIsScrambledAgain) {
    TempInstall install;
    MediaStore store(install.BinDir());
    install.WriteFile("Common/pics/cat.pet", TempInstall::MakeJpeg(40, 30));
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/cat.pet");
    const QByteArray scrambledCat = install.ReadFile("Common/pics/cat.pet");
    install.WriteFile("Common/pics/ffe.pet", TempInstall::MakeJpeg(20, 10));
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/ffe.pet");

    const QImage cat = store.LoadWordPicture("cat");
    EXPECT_EQ(cat.size(), QSize(40, 30));
    EXPECT_EQ(install.ReadFile("Common/pics/cat.pet"), scrambledCat);
    EXPECT_FALSE(install.Exists("Common/pics/cat.jpg"));

    const QImage missing = store.LoadWordPicture("zebra");
    EXPECT_EQ(missing.size(), QSize(20, 10));
    // The default picture stays plain once needed.
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg"));
    EXPECT_EQ(store.LoadWordPicture("../secret").size(), QSize(20, 10));

    const QImage keptPlain = store.LoadWordPicture("cat", false);
    EXPECT_FALSE(keptPlain.isNull());
    EXPECT_TRUE(install.Exists("Common/pics/cat.jpg"));
}

// A crash between flipping a file and renaming it leaves ".pet" holding the
// plain form, or ".jpg" holding the scrambled one; both still show the word.
TEST(MediaStore, FilesLeftHalfConvertedByACrashHealOnUse) {
    TempInstall install;
    MediaStore store(install.BinDir());
    const QByteArray jpeg = TempInstall::MakeJpeg(40, 30);
    install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(20, 10));
    install.WriteFile("Common/pics/cat.pet", jpeg);
    for (int use = 0; use < 2; ++use) {
        EXPECT_EQ(store.LoadWordPicture("cat").size(), QSize(40, 30)) << "use " << use;
        EXPECT_EQ(install.ReadFile("Common/pics/cat.pet").left(4), Bytes({0xFF, 0x1B, 0xFF, 0x07}));
        EXPECT_FALSE(install.Exists("Common/pics/cat.jpg"));
    }

    install.WriteFile("Common/pics/dog.jpg", jpeg);
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/dog.jpg");
    const QByteArray scrambled = install.ReadFile("Common/pics/dog.jpg");
    EXPECT_EQ(store.LoadWordPicture("dog").size(), QSize(40, 30));
    EXPECT_EQ(install.ReadFile("Common/pics/dog.pet"), scrambled);
    EXPECT_TRUE(store.DecryptWordPic("dog"));
    EXPECT_EQ(install.ReadFile("Common/pics/dog.jpg"), jpeg);

    // The same for sounds: only renamed when already in the wanted form.
    const QByteArray wav = TempInstall::MakeWav(0.1);
    install.WriteFile("Common/voice/pig.abw", wav);
    EXPECT_TRUE(store.DecryptWordAudio("pig"));
    EXPECT_EQ(install.ReadFile("Common/voice/pig.wav"), wav);
}

TEST(MediaStore, MissingFoldersAreNamedAndTheDefaultPictureIsDrawn) {
    TempInstall install;
    MediaStore store(install.BinDir());
    EXPECT_TRUE(store.MissingFolders().isEmpty());
    QDir(install.DataDir() + "/appvoice").removeRecursively();
    QDir(install.DataDir() + "/voice").removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir() + "/voice", install.DataDir() + "/appvoice"}));
    QDir(install.DataDir()).removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir()}));

    const QImage picture = store.LoadWordPicture("cat");
    EXPECT_EQ(picture.size(), MediaStore::DrawnDefaultPicture().size());
    EXPECT_GT(picture.size().width(), 100);
    EXPECT_FALSE(QFileInfo::exists(install.DataDir()));
}

// A locked-down store (as the user nobody; root would write anyway): the
// picture still shows, read and unscrambled in memory, and nothing changes.
TEST(MediaStore, StoreThatCannotBeWrittenStillShowsPictures) {
    TempInstall install;
    MediaStore store(install.BinDir());
    install.WriteFile("Common/pics/cat.pet", TempInstall::MakeJpeg(40, 30));
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/cat.pet");
    install.WriteFile("Common/pics/ffe.pet", TempInstall::MakeJpeg(20, 10));
    ModuleCrpt::ScrambleHeader(install.Root() + "/Common/pics/ffe.pet");
    const QByteArray cat = install.ReadFile("Common/pics/cat.pet");
    const QByteArray ffe = install.ReadFile("Common/pics/ffe.pet");
    AsNobody::LetRead(install.Root());

    const AsNobody::Outcome outcome = AsNobody::Run([&] {
        QStringList sizes;
        for (const QString word : {"cat", "zebra", "cat"}) {
            const QSize size = store.LoadWordPicture(word).size();
            sizes << QString("%1=%2x%3").arg(word).arg(size.width()).arg(size.height());
        }
        return sizes.join(" ");
    });

    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, "cat=40x30 zebra=20x10 cat=40x30");
    EXPECT_EQ(QDir(install.DataDir() + "/pics").entryList(QDir::Files), QStringList({"cat.pet", "ffe.pet"}));
    EXPECT_EQ(install.ReadFile("Common/pics/cat.pet"), cat);
    EXPECT_EQ(install.ReadFile("Common/pics/ffe.pet"), ffe);
}

// Thumbnails: a picture decodes at a half, a quarter or an eighth of its
// size, the smallest of these that still covers the size asked for.
TEST(MediaStore, PicturesDecodeAtTheSmallestFractionThatStillCovers) {
    TempInstall install;
    QByteArray scrambled = TempInstall::MakeJpeg(400, 300);
    ModuleCrpt::ScrambleHeader(scrambled);
    install.WriteFile("Common/pics/sun.pet", scrambled);
    MediaStore store(install.BinDir());
    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(160, 120)).size(), QSize(200, 150));
    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(100, 75)).size(), QSize(100, 75));
    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(101, 60)).size(), QSize(200, 150)) << "never smaller";
    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(20, 10)).size(), QSize(50, 38)) << "an eighth at most";
    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(800, 600)).size(), QSize(400, 300));
    EXPECT_EQ(store.LoadWordPicture("sun").size(), QSize(400, 300));
    EXPECT_EQ(install.ReadFile("Common/pics/sun.pet"), scrambled);
}

// Pictures loaded ahead on a second thread are handed over as loading them
// then would give them, and the files rest scrambled. The first picture asked
// for that was not loaded ahead drops the rest, so a picture whose file
// changed afterwards is read afresh.
TEST(MediaStore, PicturesLoadedAheadAreHandedOverOnceAndNeverStale) {
    TempInstall install;
    const auto scrambled = [](int width, int height) {
        QByteArray bytes = TempInstall::MakeJpeg(width, height);
        ModuleCrpt::ScrambleHeader(bytes);
        return bytes;
    };
    install.WriteFile("Common/pics/sun.pet", scrambled(400, 300));
    install.WriteFile("Common/pics/moon.pet", scrambled(40, 30));
    install.WriteFile("Common/pics/star.pet", scrambled(20, 10));
    MediaStore store(install.BinDir());
    store.PrefetchPictures({{"sun", QSize(100, 75)}, {"moon", QSize()}, {"star", QSize()}});
    EXPECT_TRUE(store.WordFileExists("pics", "sun", ".pet")) << "looking waits for the thread";
    EXPECT_EQ(install.ReadFile("Common/pics/sun.pet"), scrambled(400, 300));

    EXPECT_EQ(store.LoadWordPicture("sun", true, QSize(100, 75)).size(), QSize(100, 75));
    EXPECT_EQ(store.PrefetchedShown(), 1);
    EXPECT_EQ(store.LoadWordPicture("sun").size(), QSize(400, 300)) << "another size is not what was loaded";
    EXPECT_EQ(store.PrefetchedShown(), 1);

    install.WriteFile("Common/pics/moon.pet", scrambled(60, 45));
    EXPECT_EQ(store.LoadWordPicture("moon").size(), QSize(60, 45)) << "read afresh after the miss";
    EXPECT_EQ(store.PrefetchedShown(), 1);
    for (const char* name : {"sun", "moon", "star"}) {
        EXPECT_TRUE(install.Exists(QString("Common/pics/%1.pet").arg(name))) << name;
        EXPECT_FALSE(install.Exists(QString("Common/pics/%1.jpg").arg(name))) << name;
    }
}

// Each picture is handed over as soon as it is loaded, in whatever order
// the view asks, and after the last one nothing is left in the pictures
// folder unscrambled.
TEST(MediaStore, PicturesLoadedAheadAreHandedOverInAnyOrder) {
    TempInstall install;
    for (const auto& [name, width] : {std::pair{"sun", 400}, {"moon", 40}, {"star", 20}}) {
        QByteArray bytes = TempInstall::MakeJpeg(width, width * 3 / 4);
        ModuleCrpt::ScrambleHeader(bytes);
        install.WriteFile(QString("Common/pics/%1.pet").arg(name), bytes);
    }
    MediaStore store(install.BinDir());
    store.PrefetchPictures({{"sun", QSize()}, {"moon", QSize()}, {"star", QSize()}, {"sun", QSize()}});
    EXPECT_EQ(store.LoadWordPicture("star").size(), QSize(20, 15));
    EXPECT_EQ(store.LoadWordPicture("sun").size(), QSize(400, 300));
    EXPECT_EQ(store.LoadWordPicture("moon").size(), QSize(40, 30));
    EXPECT_EQ(store.LoadWordPicture("sun").size(), QSize(400, 300)) << "asked for twice, loaded twice";
    EXPECT_EQ(store.PrefetchedShown(), 4);
    EXPECT_EQ(store.LoadWordPicture("star").size(), QSize(20, 15)) << "read afresh once all were given out";
    EXPECT_EQ(store.PrefetchedShown(), 4);
    for (const char* name : {"sun", "moon", "star"}) {
        EXPECT_TRUE(install.Exists(QString("Common/pics/%1.pet").arg(name))) << name;
        EXPECT_FALSE(install.Exists(QString("Common/pics/%1.jpg").arg(name))) << name;
    }
}
