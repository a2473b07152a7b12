#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QUrl>
#include <QUrlQuery>

#include "media/ModuleCrpt.h"
#include "publish/PublishRules.h"
#include "tests/support/AsNobody.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

namespace {

QByteArray Scrambled(QByteArray bytes) {
    for (int i = 0; i < bytes.size() && i < ModuleCrpt::kScrambledBytes; ++i)
        bytes[i] = static_cast<char>(ModuleCrpt::ReverseBits(static_cast<unsigned char>(bytes[i])));
    return bytes;
}

class PublishRulesTest : public ::testing::Test, protected TempFolder {
protected:
    void LoadWords(const QByteArray& text) {
        Write("words.txt", text);
        ASSERT_TRUE(rules.LoadAllWords(Path("words.txt")));
    }

    PublishRules rules;
    const QByteArray jpeg = TempInstall::MakeJpeg();
    const QByteArray wav = TempInstall::MakeWav(0.1);
};

TEST_F(PublishRulesTest, WordFileLoadsEachWordOnceInFileOrder) {
    LoadWords("apple\r\nApple\n   apple  \n\n  \t \ncat\n");
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "Apple", "cat"}));
    EXPECT_TRUE(rules.IsWordLoaded("Apple"));
    EXPECT_FALSE(rules.IsWordLoaded("APPLE"));
    EXPECT_FALSE(rules.IsWordLoaded(""));

    LoadWords("dog\n");
    EXPECT_EQ(rules.PublishWords(), QStringList({"dog"})) << "a new load replaces the list";
}

TEST_F(PublishRulesTest, WordFileEncodings) {
    const QString words = QString::fromUtf8("apple\n苹果\nice cream\n");
    LoadWords("\xEF\xBB\xBF" + words.toUtf8());
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << "UTF-8 with a byte-order mark";

    QStringEncoder gb18030("GB18030");
    const QByteArray gbBytes = gb18030(words);
    ASSERT_NE(gbBytes, words.toUtf8());
    LoadWords(gbBytes);
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << "GB18030";

    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    LoadWords(utf16(words));
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << "UTF-16 with a byte-order mark";
}

TEST_F(PublishRulesTest, UnreadableWordFileKeepsTheList) {
    LoadWords("apple\n");
    EXPECT_FALSE(rules.LoadAllWords(Path("missing.txt")));
    EXPECT_FALSE(rules.LoadAllWords(dir.path()));
    EXPECT_FALSE(rules.LoadAllWords(""));
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple"}));
}

TEST_F(PublishRulesTest, PictureCheckListsExactlyTheWordsWithoutPicture) {
    LoadWords("apple\nApple\npear\nice cream\n");
    Write("src/apple.jpg", jpeg);
    Write("src/ice cream.jpg", jpeg);
    QDir().mkpath(Path("src/pear.jpg"));  // a folder is not a picture
    EXPECT_EQ(rules.CheckPictures(Path("src/")), QStringList({"pear"}));
    EXPECT_EQ(rules.CheckPictures(Path("src")), QStringList({"pear"})) << "a box typed without separator";
    EXPECT_EQ(rules.CheckPictures(""), rules.PublishWords()) << "no folder chosen";
}

// Source look-ups ignore letter case, as the media store's do; what is
// written is named after the word.
TEST_F(PublishRulesTest, SourcesAreFoundWhateverTheirLetterCase) {
    LoadWords("Monday\nTuesday\n");
    Write("src/monday.JPG", jpeg);
    Write("src/TUESDAY.jpg", jpeg);
    Write("letters/m/monday.wav", wav);
    Write("flat/tuesday.WAV", wav);
    QDir().mkpath(Path("dest"));

    EXPECT_EQ(rules.CheckPictures(Path("src/")), QStringList());
    EXPECT_EQ(rules.CheckAudio(Path("letters"), Path("flat")), QStringList());
    EXPECT_EQ(rules.CopyPictures(Path("src"), Path("dest")).missing, QStringList());
    EXPECT_EQ(rules.CopyAudio(Path("letters"), Path("flat"), Path("dest")).missing, QStringList());
    EXPECT_EQ(QDir(Path("dest")).entryList(QDir::Files, QDir::Name),
              QStringList({"Monday.abw", "Monday.pet", "Tuesday.abw", "Tuesday.pet"}));
    EXPECT_EQ(Read("dest/Tuesday.abw"), Scrambled(wav));
    EXPECT_EQ(Read("src/monday.JPG"), jpeg);
    EXPECT_EQ(Read("letters/m/monday.wav"), wav);
}

// A link at the destination into a source folder, or a letter folder that
// is a link to the destination: that word fails and its source file stays.
TEST_F(PublishRulesTest, ACopyNeverWritesASourceFileThroughALink) {
    LoadWords("apple\npear\n");
    Write("src/apple.jpg", jpeg);
    Write("src/pear.jpg", jpeg);
    QDir().mkpath(Path("dest"));
    ASSERT_TRUE(QFile::link(Path("src/apple.jpg"), Path("dest/apple.jpg")));
    const auto pictures = rules.CopyPictures(Path("src"), Path("dest"));
    EXPECT_EQ(pictures.failed, QStringList({"apple"}));
    EXPECT_EQ(Read("src/apple.jpg"), jpeg);
    EXPECT_EQ(Read("dest/pear.pet"), Scrambled(jpeg));

    Write("sounds/apple.wav", wav);
    QDir().mkpath(Path("letters"));
    ASSERT_TRUE(QFile::link(Path("sounds"), Path("letters/a")));
    const auto audio = rules.CopyAudio(Path("letters"), "", Path("sounds"));
    EXPECT_EQ(audio.failed, QStringList({"apple"}));
    EXPECT_EQ(Read("sounds/apple.wav"), wav);
}

TEST_F(PublishRulesTest, CopyingPicturesKeepsAPlainPictureAtTheDestinationAndReplacesAnOlderScrambledOne) {
    LoadWords("apple\npear\nplum\n");
    const QByteArray handMade = TempInstall::MakeJpeg(20, 20);
    Write("src/apple.jpg", jpeg);
    Write("src/pear.jpg", jpeg);
    Write("dest/apple.jpg", handMade);
    Write("dest/apple.pet", "older scrambled picture");
    Write("dest/pear.pet", "older scrambled picture");

    const auto outcome = rules.CopyPictures(Path("src/"), Path("dest/"));

    EXPECT_EQ(outcome.missing, QStringList({"plum"}));
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_EQ(Read("dest/apple.pet"), Scrambled(handMade)) << "the plain picture at the destination wins";
    EXPECT_EQ(Read("dest/pear.pet"), Scrambled(jpeg));
    EXPECT_FALSE(Exists("dest/apple.jpg"));
    EXPECT_FALSE(Exists("dest/pear.jpg"));
    EXPECT_FALSE(Exists("dest/plum.pet"));
    EXPECT_EQ(Read("src/apple.jpg"), jpeg) << "sources stay plain";
    EXPECT_EQ(Read("src/pear.jpg"), jpeg);
}

TEST_F(PublishRulesTest, CopyingAudioPrefersTheLetterFolders) {
    LoadWords("apple\nbanana\ncherry\n");
    const QByteArray flat = TempInstall::MakeWav(0.2);
    Write("letters/a/apple.wav", wav);
    Write("flat/apple.wav", flat);
    Write("flat/banana.wav", flat);
    Write("dest/banana.wav", "stale plain sound");
    Write("dest/banana.abw", "older scrambled sound");

    EXPECT_EQ(rules.CheckAudio(Path("letters"), Path("flat/")), QStringList({"cherry"}));
    const auto outcome = rules.CopyAudio(Path("letters"), Path("flat/"), Path("dest"));

    EXPECT_EQ(outcome.missing, QStringList({"cherry"}));
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_EQ(Read("dest/apple.abw"), Scrambled(wav));
    EXPECT_EQ(Read("dest/banana.abw"), Scrambled(flat)) << "the source replaces what the destination held";
    EXPECT_FALSE(Exists("dest/apple.wav"));
    EXPECT_FALSE(Exists("dest/banana.wav"));
    EXPECT_FALSE(Exists("dest/cherry.abw"));
}

TEST_F(PublishRulesTest, AFileThatCannotBeRenamedIsLeftPlain) {
    LoadWords("apple\npear\n");
    Write("src/apple.jpg", jpeg);
    Write("src/pear.jpg", jpeg);
    QDir().mkpath(Path("dest/apple.pet/inside"));

    const auto outcome = rules.CopyPictures(Path("src"), Path("dest"));

    EXPECT_EQ(outcome.failed, QStringList({"apple"}));
    EXPECT_EQ(Read("dest/apple.jpg"), jpeg) << "not half-converted";
    EXPECT_TRUE(QFileInfo(Path("dest/apple.pet/inside")).isDir());
    EXPECT_EQ(Read("dest/pear.pet"), Scrambled(jpeg)) << "one failure does not stop the others";
}

TEST_F(PublishRulesTest, WordsThatNamePathsTouchNoFile) {
    LoadWords("../apple\nsub/pear\n..\n");
    Write("apple.jpg", jpeg);
    Write("apple.wav", wav);
    Write("src/sub/pear.jpg", jpeg);
    QDir().mkpath(Path("src"));
    QDir().mkpath(Path("dest"));

    EXPECT_EQ(rules.CheckPictures(Path("src")), rules.PublishWords());
    EXPECT_EQ(rules.CheckAudio(Path("src"), Path("src")), rules.PublishWords());
    EXPECT_EQ(rules.CopyPictures(Path("src"), Path("dest/x")).missing, rules.PublishWords());
    EXPECT_EQ(rules.CopyAudio(Path("src"), Path("src"), Path("dest/x")).missing, rules.PublishWords());
    EXPECT_EQ(Read("apple.jpg"), jpeg);
    EXPECT_EQ(Read("apple.wav"), wav);
    EXPECT_EQ(Read("src/sub/pear.jpg"), jpeg);
    EXPECT_TRUE(QDir(Path("dest")).isEmpty());
}

TEST_F(PublishRulesTest, FileConversionsRenameAndRoundTrip) {
    Write("apple.jpg", jpeg);
    Write("apple.pet", "older");
    ASSERT_TRUE(PublishRules::EncryptPicFile(Path("apple.jpg")));
    EXPECT_FALSE(Exists("apple.jpg"));
    EXPECT_EQ(Read("apple.pet").left(4), QByteArray("\xFF\x1B\xFF\x07"));

    Write("apple.jpg", "older plain");
    ASSERT_TRUE(PublishRules::DecryptPicFile(Path("apple.pet")));
    EXPECT_FALSE(Exists("apple.pet"));
    EXPECT_EQ(Read("apple.jpg"), jpeg);

    Write("hello.wav", wav);
    ASSERT_TRUE(PublishRules::EncryptWavFile(Path("hello.wav")));
    EXPECT_EQ(Read("hello.abw").left(4), QByteArray("\x4A\x92\x62\x62"));
    EXPECT_EQ(Read("hello.abw").mid(72), wav.mid(72));

    EXPECT_TRUE(PublishRules::EncryptWavFile(Path("nothing.wav")));
    EXPECT_FALSE(Exists("nothing.abw"));
}

TEST_F(PublishRulesTest, ClipboardTextAndSearchAddress) {
    EXPECT_EQ(PublishRules::ClipboardText({"apple", "ice cream"}), QString("\r\napple\r\nice cream"));
    EXPECT_EQ(PublishRules::ClipboardText({}), QString());

    const QString address = PublishRules::ImageSearchAddress("ice&cream #1");
    EXPECT_TRUE(address.contains("/images/search?q=ice%26cream%20%231&form=QBIL&qs=n&sk=#")) << address.toStdString();
    const QUrl url(address);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), "https");
    EXPECT_EQ(QUrlQuery(url).queryItemValue("q", QUrl::FullyDecoded), "ice&cream #1");
}

TEST_F(PublishRulesTest, FolderBoxesAndDestinations) {
    EXPECT_EQ(PublishRules::PathIn("/a/b/", "c.jpg"), "/a/b/c.jpg");
    EXPECT_EQ(PublishRules::PathIn("/a/b", "c.jpg"), "/a/b/c.jpg");
    EXPECT_EQ(PublishRules::PathIn("", "c.jpg"), "");
    EXPECT_TRUE(PublishRules::IsWritableFolder(dir.path()));
    EXPECT_FALSE(PublishRules::IsWritableFolder(Path("missing")));
    EXPECT_FALSE(PublishRules::IsWritableFolder(""));
    Write("file", "x");
    EXPECT_FALSE(PublishRules::IsWritableFolder(Path("file")));
}

// An editor without the right to write the destination: the folder is named
// as not writable, every word of the copy fails, and the destination keeps
// exactly what it held (no half-made or plain file left behind).
TEST_F(PublishRulesTest, ADestinationThatCannotBeWrittenFailsEveryWordAndStaysAsItWas) {
    LoadWords("apple\npear\nplum\n");
    Write("src/apple.jpg", jpeg);
    Write("src/pear.jpg", jpeg);
    Write("dest/pear.pet", "older scrambled picture");
    AsNobody::LetRead(dir.path());
    const AsNobody::Outcome outcome = AsNobody::Run([this] {
        const auto copy = rules.CopyPictures(Path("src"), Path("dest"));
        return QString("writable=%1 failed=%2 missing=%3")
            .arg(PublishRules::IsWritableFolder(Path("dest")))
            .arg(copy.failed.join(','), copy.missing.join(','));
    });
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, "writable=0 failed=apple,pear missing=plum");
    EXPECT_EQ(QDir(Path("dest")).entryList(QDir::Files | QDir::Hidden), QStringList{"pear.pet"});
    EXPECT_EQ(Read("dest/pear.pet"), "older scrambled picture");
    EXPECT_EQ(Read("src/apple.jpg"), jpeg);
}

}  // namespace
