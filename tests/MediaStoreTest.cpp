#include "media/FolderIndex.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "media/ModulePlaySound.h"
#include "tests/support/AsNobody.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

// How a JPEG and a WAV file begin when scrambled.
const QByteArray kScrambledJpeg("\xFF\x1B\xFF\x07", 4), kScrambledRiff("\x4A\x92\x62\x62", 4);

class MediaStoreTest : public ::testing::Test {
protected:
    QByteArray Put(const QString& file, const QByteArray& plain, bool scramble = true) {
        install.WriteFile("Common/" + file, scramble ? TempInstall::Scrambled(plain) : plain);
        return install.ReadFile("Common/" + file);
    }
    QByteArray Pic(const QString& name) const { return install.ReadFile("Common/pics/" + name); }
    QStringList Folder(const QString& name) const { return QDir(install.DataDir() + "/" + name).entryList(QDir::Files); }
    QSize Size(const QString& word, const QSize& within = QSize()) { return store.LoadWordPicture(word, true, within).size(); }

    TempInstall install;
    MediaStore store{install.BinDir()};
    RecordingSoundOutput output;
    ScriptedMessageService messages;
    ModulePlaySound sound{store, output, messages};
    const QByteArray wav = TempInstall::MakeWav(0.1);
};

TEST(ScrambleHeader, ReversesTheBitsOfTheFirst72BytesOnlyAndUndoesItself) {
    for (const auto& [plain, reversed] : {std::pair{0x01, 0x80}, {0x0F, 0xF0}, {0xAA, 0x55}, {0x00, 0x00}, {0xFF, 0xFF}})
        EXPECT_EQ(ModuleCrpt::ReverseBits(plain), reversed) << plain;
    TempInstall install;
    for (const auto& [name, bytes, start] : {std::tuple<QString, QByteArray, QByteArray>{"a.jpg", TempInstall::MakeJpeg(), kScrambledJpeg},
                                             {"s.wav", "RIFF", kScrambledRiff}, {"empty", "", ""}}) {
        install.WriteFile(name, bytes);
        ASSERT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/" + name)) << name.toStdString();
        const QByteArray scrambled = install.ReadFile(name);
        EXPECT_EQ(scrambled.left(4) + "|" + TempInstall::Scrambled(bytes), start + "|" + scrambled) << "in memory as on disk: " << name.toStdString();
        ASSERT_EQ(scrambled.size(), bytes.size()) << name.toStdString();
        for (int i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(uchar(scrambled[i]), i < 72 ? ModuleCrpt::ReverseBits(uchar(bytes[i])) : uchar(bytes[i])) << i;
        ASSERT_TRUE(ModuleCrpt::ScrambleHeader(install.Root() + "/" + name));
        EXPECT_EQ(install.ReadFile(name), bytes) << name.toStdString();
    }
    EXPECT_FALSE(ModuleCrpt::ScrambleHeader(install.Root() + "/missing") || ModuleCrpt::ScrambleHeader(QString()));
    EXPECT_FALSE(install.Exists("missing"));
}

TEST_F(MediaStoreTest, NamesMatchWhateverTheirCaseAndWordsThatNamePathsHaveNoMedia) {
    EXPECT_EQ(MediaStore("/x/Study/Bin/").GetDataDir() + MediaStore("/").GetDataDir(), "/x/Study/Common/Common");
    EXPECT_EQ(MediaStore("/x/Study/Bin").WordFile("pics", "cat", ".pet"), "/x/Study/Common/pics/cat.pet");
    QDir(install.DataDir()).rename("pics", "Pics");
    Put("Pics/Apple.PET", "x");
    EXPECT_EQ(store.FolderPath("pics"), install.DataDir() + "/Pics");
    ASSERT_TRUE(store.WordFileExists("pics", "apple", ".pet") && store.DecryptWordPic("apple"));
    EXPECT_EQ(QDir(install.DataDir() + "/Pics").entryList(QDir::Files), QStringList{"Apple.jpg"});
    Put("secret.pet", "outside the pictures folder"), Put("Pics/...pet", "dots");
    for (const QString word : {"../secret", "..\\secret", "..", ".", "", "a/b"})
        EXPECT_EQ(std::pair(store.WordFile("pics", word, ".pet"), store.DecryptWordPic(word)), std::pair(QString(), false)) << word.toStdString();
    EXPECT_EQ(install.ReadFile("Common/secret.pet"), TempInstall::Scrambled("outside the pictures folder"));
}

// As the user nobody (root would write anyway) nothing in the store changes: pictures and sounds are unscrambled in memory. Where the store can be
// changed, each picture rests scrambled again but the default one.
TEST_F(MediaStoreTest, PicturesAndSoundsComeUnscrambledEvenWhereNothingCanBeWritten) {
    const QByteArray cat = Put("pics/cat.pet", TempInstall::MakeJpeg(40, 30)), ffe = Put("pics/ffe.pet", TempInstall::MakeJpeg(20, 10)),
                     hen = Put("pics/hen.pet", TempInstall::MakeJpeg(30, 20), false), apple = Put("voice/apple.abw", wav);
    const auto use = [this] {
        QStringList seen;
        for (const QString word : {"cat", "zebra", "cat", "../secret", "hen"}) {
            const QSize size = Size(word);
            seen << QString("%1=%2x%3").arg(word).arg(size.width()).arg(size.height());
        }
        return seen.join(' ');
    };
    const QString sizes = "cat=40x30 zebra=20x10 cat=40x30 ../secret=20x10 hen=30x20";
    AsNobody::LetRead(install.Root());
    const AsNobody::Outcome outcome = AsNobody::Run([&] {
        sound.PlayWordSound("apple");
        return use() + QString(" played=%1 %2 inStore=%3 left=%4").arg(output.played.size()).arg(QString::fromLatin1(output.headers.value(0)))
                           .arg(output.played.value(0).startsWith(install.Root())).arg(QFileInfo::exists(output.played.value(0)));
    });
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, sizes + " played=1 RIFF inStore=0 left=0");
    EXPECT_EQ(Folder("pics") + Folder("voice"), QStringList({"cat.pet", "ffe.pet", "hen.pet", "apple.abw"}));
    EXPECT_EQ(Pic("cat.pet") + Pic("ffe.pet") + Pic("hen.pet") + install.ReadFile("Common/voice/apple.abw"), cat + ffe + hen + apple);
    EXPECT_EQ(use(), sizes);
    EXPECT_EQ(Folder("pics"), QStringList({"cat.pet", "ffe.jpg", "hen.pet"}));
    EXPECT_EQ(Pic("cat.pet") + Pic("hen.pet"), cat + TempInstall::Scrambled(hen));
    EXPECT_FALSE(store.LoadWordPicture("cat", false).isNull());
    EXPECT_EQ(Folder("pics"), QStringList({"cat.jpg", "ffe.jpg", "hen.pet"})) << "kept plain when asked";
}

TEST_F(MediaStoreTest, MissingFoldersAreNamedAndTheDefaultPictureIsDrawn) {
    EXPECT_TRUE(store.MissingFolders().isEmpty());
    for (const QString folder : {"appvoice", "voice"}) QDir(install.DataDir() + "/" + folder).removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir() + "/voice", install.DataDir() + "/appvoice"}));
    QDir(install.DataDir()).removeRecursively();
    EXPECT_EQ(store.MissingFolders(), QStringList({install.DataDir()}));
    EXPECT_EQ(Size("cat"), MediaStore::DrawnDefaultPicture().size());
    EXPECT_GT(Size("cat").width(), 100);
    EXPECT_FALSE(QFileInfo::exists(install.DataDir()));
}

// A picture decodes at a half, a quarter or an eighth of its size, the smallest of these that still covers the size asked for.
TEST_F(MediaStoreTest, PicturesDecodeAtTheSmallestFractionThatStillCovers) {
    const QByteArray sun = Put("pics/sun.pet", TempInstall::MakeJpeg(400, 300));
    const std::pair<QSize, QSize> rows[] = {{{160, 120}, {200, 150}}, {{100, 75}, {100, 75}}, {{101, 60}, {200, 150}},
                                            {{20, 10}, {50, 38}},     {{800, 600}, {400, 300}}, {{}, {400, 300}}};
    for (const auto& [within, size] : rows) EXPECT_EQ(Size("sun", within), size) << within.width() << "x" << within.height();
    EXPECT_EQ(Pic("sun.pet"), sun);
}

// Whichever form a crash left it in, a pronunciation is plain only while it plays, every time; a word without one, or naming a path, plays nothing.
TEST_F(MediaStoreTest, APronunciationIsPlainOnlyWhileItPlays) {
    QStringList heard;
    output.whilePlaying = [&](const QString& path) {
        heard << QString("%1 %2 %3").arg(path.startsWith(install.DataDir() + "/voice/") ? QFileInfo(path).fileName() : "outside",
                                         Folder("voice").join(','), sound.SoundBusy ? "busy" : "idle");
    };
    const auto twice = [](const QString& heard) { return QStringList{heard, heard}; };
    const std::tuple<QString, bool, QString, QStringList> rows[] = {
        {"apple.abw", true, "  apple ", twice("apple.wav apple.wav busy")}, {"pig.wav", false, "pig", twice("pig.wav pig.wav busy")},
        {"hen.abw", false, "hen", twice("hen.wav hen.wav busy")},
        {"owl.wav", true, "owl", {"outside owl.wav busy", "owl.wav owl.wav busy"}},
        {"cat.abw", true, "../voice/cat", {}}, {"", false, "zebra", {}}};
    for (const auto& [file, scrambled, word, whilePlaying] : rows) {
        SCOPED_TRACE(word.toStdString());
        if (!file.isEmpty()) Put("voice/" + file, wav, scrambled);
        heard.clear(), output.headers.clear();
        for (int time = 0; time < 2; ++time) sound.PlayWordSound(word);
        EXPECT_EQ(heard, whilePlaying);
        EXPECT_EQ(output.headers, QList<QByteArray>(whilePlaying.size(), "RIFF"));
        EXPECT_FALSE(sound.SoundBusy);
        const QString rest = file.section('.', 0, 0) + ".abw";
        EXPECT_EQ(Folder("voice"), file.isEmpty() ? QStringList() : QStringList{rest});
        EXPECT_EQ(install.ReadFile("Common/voice/" + rest), file.isEmpty() ? QByteArray() : TempInstall::Scrambled(wav));
        QFile::remove(install.DataDir() + "/voice/" + rest);
    }
    EXPECT_TRUE(messages.shown.empty());
}

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

// The store's own renames (every use of a picture makes two) and another program's new file in the same folder, one right after the other.
TEST(FolderIndex, StoreFindsAPictureAddedByAnotherProgramBetweenItsOwnRenames) {
    TempInstall install;
    const QByteArray scrambled = TempInstall::Scrambled(TempInstall::MakeJpeg(40, 30));
    install.WriteFile("Common/pics/apple.pet", scrambled);
    install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(8, 8));
    MediaStore store(install.BinDir());
    EXPECT_EQ(store.LoadWordPicture("apple").size(), QSize(40, 30));
    install.WriteFile("Common/pics/Kiwi.PET", scrambled);
    EXPECT_EQ(store.LoadWordPicture("kiwi").size(), QSize(40, 30)) << "not the default picture";
    EXPECT_TRUE(install.Exists("Common/pics/Kiwi.pet") && !install.Exists("Common/pics/Kiwi.jpg")) << "scrambled again";
    EXPECT_EQ(store.LoadWordPicture("apple").size(), QSize(40, 30));
}
