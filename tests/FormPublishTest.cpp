#include <gtest/gtest.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>
#include <QUrlQuery>
#include <map>

#include "media/ModuleCrpt.h"
#include "publish/FormPublish.h"
#include "tests/support/AsNobody.h"
#include "tests/support/QtApp.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

// Stands in for the web browser: records the pages the program opens.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

namespace {

QByteArray Scrambled(QByteArray bytes) {
    ModuleCrpt::ScrambleHeader(bytes);
    return bytes;
}

class PublishRulesTest : public ::testing::Test, protected TempFolder {
protected:
    void LoadWords(const QByteArray& text) { Write("words.txt", text); ASSERT_TRUE(rules.LoadAllWords(Path("words.txt"))); }
    // A file of the editor's, which no copy may change.
    void Source(const QString& name, const QByteArray& bytes) { Write(name, bytes); sources[name] = bytes; }
    void ExpectSourcesKept() const {
        for (const auto& [name, bytes] : sources) EXPECT_EQ(Read(name), bytes) << name.toStdString();
    }
    QStringList Listing(const QString& folder) const { return QDir(Path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    PublishRules rules;
    std::map<QString, QByteArray> sources;
    const QByteArray jpeg = TempInstall::MakeJpeg(), wav = TempInstall::MakeWav(0.1);
};

TEST_F(PublishRulesTest, AWordFileGivesEachWordOnceInFileOrderWhateverItsEncoding) {
    LoadWords("apple\r\nApple\n   apple  \n\n  \t \ncat\n");
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "Apple", "cat"}));
    EXPECT_TRUE(rules.IsWordLoaded("Apple") && !rules.IsWordLoaded("APPLE"));
    const QString words = "apple\n苹果\nice cream\n";
    QStringEncoder gb18030("GB18030"), utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    for (const QByteArray& bytes : {"\xEF\xBB\xBF" + words.toUtf8(), QByteArray(gb18030(words)), QByteArray(utf16(words))}) {
        LoadWords(bytes);
        EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << bytes.toHex().toStdString();
    }
    for (const QString& unreadable : {Path("missing.txt"), dir.path(), QString()})
        EXPECT_FALSE(rules.LoadAllWords(unreadable)) << unreadable.toStdString();
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << "the list stays";
}

// Sources are found whatever their letter case, the letter folder first; a
// word that could name a path has none.
TEST_F(PublishRulesTest, ChecksAndCopiesListTheWordsWithoutASource) {
    LoadWords("Monday\napple\npear\nbanana\n../apple\nsub/pear\n..\n");
    for (const QString name : {"src/MONDAY.jpg", "src/apple.jpg", "src/sub/pear.jpg", "apple.jpg"}) Source(name, jpeg);
    for (const QString name : {"letters/m/monday.WAV", "letters/A/apple.wav", "flat/BANANA.wav", "flat/sub/pear.wav",
                               "apple.wav", "flat/apple.wav"})
        Source(name, name == "flat/apple.wav" ? TempInstall::MakeWav(0.2) : wav);
    QDir().mkpath(Path("src/pear.jpg"));  // a folder is not a picture
    QDir().mkpath(Path("dest"));
    const QStringList noPicture = {"pear", "banana", "../apple", "sub/pear", ".."};
    const QStringList noSound = {"pear", "../apple", "sub/pear", ".."};
    EXPECT_EQ(rules.CheckPictures(Path("src/")), noPicture);
    EXPECT_EQ(rules.CheckPictures(""), rules.PublishWords()) << "no folder chosen";
    EXPECT_EQ(rules.CheckAudio(Path("letters"), Path("flat/")), noSound);
    const auto pictures = rules.CopyPictures(Path("src"), Path("dest"));
    const auto sounds = rules.CopyAudio(Path("letters"), Path("flat/"), Path("dest/"));
    EXPECT_EQ(pictures.missing, noPicture);
    EXPECT_EQ(sounds.missing, noSound);
    EXPECT_EQ(pictures.failed + sounds.failed, QStringList());
    EXPECT_EQ(Listing("dest"), QStringList({"Monday.abw", "Monday.pet", "apple.abw", "apple.pet", "banana.abw"}));
    EXPECT_EQ(Read("dest/apple.abw"), Scrambled(wav));
    EXPECT_EQ(Read("dest/Monday.pet"), Scrambled(jpeg));
    ExpectSourcesKept();
}

// A plain picture at the destination was put there by hand and wins; older
// files give way to the source. A word fails alone, its copy left plain, where
// its name is taken by a folder or a link (into a source folder, dangling, or
// a letter folder linking to the destination).
TEST_F(PublishRulesTest, ACopyReplacesWhatTheDestinationHeldButAPlainPictureAndNeverASource) {
    LoadWords("fig\napple\nkiwi\nlime\npear\nplum\n");
    const QByteArray handMade = TempInstall::MakeJpeg(20, 20), flat = TempInstall::MakeWav(0.2);
    for (const QString word : {"fig", "apple", "kiwi", "lime", "pear"}) Source("src/" + word + ".jpg", jpeg);
    for (const QString name : {"flat/fig.wav", "flat/pear.wav", "dest/kiwi.wav"}) Source(name, flat);
    Source("letters/a/apple.wav", wav);
    Write("dest/apple.jpg", handMade);
    for (const QString name : {"apple.pet", "pear.pet", "pear.abw", "pear.wav"}) Write("dest/" + name, "older");
    for (const QString name : {"fig.pet", "fig.abw"}) QDir().mkpath(Path("dest/" + name + "/inside"));
    for (const auto& [target, link] : {std::pair{"src/kiwi.jpg", "dest/kiwi.jpg"}, {"src/new.jpg", "dest/lime.jpg"},
                                       {"dest", "letters/k"}})
        ASSERT_TRUE(QFile::link(Path(target), Path(link)));
    const auto pictures = rules.CopyPictures(Path("src/"), Path("dest/"));
    const auto sounds = rules.CopyAudio(Path("letters"), Path("flat"), Path("dest"));
    EXPECT_EQ(pictures.missing, QStringList({"plum"}));
    EXPECT_EQ(pictures.failed, QStringList({"fig", "kiwi", "lime"}));
    EXPECT_EQ(sounds.missing, QStringList({"lime", "plum"}));
    EXPECT_EQ(sounds.failed, QStringList({"fig", "kiwi"}));
    EXPECT_EQ(Listing("dest"), QStringList({"apple.abw", "apple.pet", "fig.jpg", "fig.wav", "kiwi.jpg", "kiwi.wav",
                                            "pear.abw", "pear.pet"}));
    const std::pair<QString, QByteArray> held[] = {{"apple.pet", Scrambled(handMade)}, {"pear.pet", Scrambled(jpeg)},
                                                   {"apple.abw", Scrambled(wav)},      {"pear.abw", Scrambled(flat)},
                                                   {"fig.jpg", jpeg},                  {"fig.wav", flat}};
    for (const auto& [name, bytes] : held) EXPECT_EQ(Read("dest/" + name), bytes) << name.toStdString();
    EXPECT_FALSE(Exists("src/new.jpg"));
    ExpectSourcesKept();
    ASSERT_TRUE(PublishRules::DecryptPicFile(Path("dest/pear.pet")));
    EXPECT_EQ(Read("dest/pear.jpg"), jpeg);
}

// As an editor who may not write the destination: it stays exactly as it was.
TEST_F(PublishRulesTest, ADestinationThatCannotBeWrittenFailsEveryWordAndStaysAsItWas) {
    LoadWords("apple\npear\nplum\n");
    Source("src/apple.jpg", jpeg);
    Source("src/pear.jpg", jpeg);
    Write("dest/pear.pet", "older");
    AsNobody::LetRead(dir.path());
    const AsNobody::Outcome outcome = AsNobody::Run([this] {
        const auto copy = rules.CopyPictures(Path("src"), Path("dest"));
        return QString("writable=%1 failed=%2 missing=%3")
            .arg(PublishRules::IsWritableFolder(Path("dest")))
            .arg(copy.failed.join(','), copy.missing.join(','));
    });
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, "writable=0 failed=apple,pear missing=plum");
    EXPECT_EQ(Listing("dest"), QStringList{"pear.pet"});
    EXPECT_EQ(Read("dest/pear.pet"), "older");
    ExpectSourcesKept();
}

class FormPublishTest : public PublishRulesTest {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    void SetUp() override {
        QDesktopServices::setUrlHandler("https", &pages, "Open");
        messages.textAnswers.push_back(QString("rj"));
        ASSERT_TRUE(window->Open() && window->isVisible());
        messages.shown.clear();
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler("https"); }

    void Click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Clicks a button whose file or folder dialog is answered so.
    void Pick(QPushButton* button, const std::optional<QString>& answer) { messages.fileAnswers.push_back(answer); Click(button); }
    void Load(const QByteArray& text) { Write("words.txt", text); Pick(window->cmdALL, Path("words.txt")); }
    void Choose(QPushButton* button, const QString& folder) { QDir().mkpath(Path(folder)); Pick(button, Path(folder)); }
    QStringList Items() const {
        QStringList texts;
        for (int i = 0; i < window->List1->count(); ++i) texts << window->List1->item(i)->text();
        return texts;
    }
    QMap<QString, QByteArray> Files() const {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            files[path] = Read(path.mid(dir.path().size() + 1));
        }
        return files;
    }
    QString Said() const { return messages.shown.empty() ? QString() : messages.shown.back().text; }
    // The one message the click showed.
    QString SaidOnClick(QPushButton* button, MsgIcon icon) {
        messages.shown.clear();
        Click(button);
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown.empty() ? MsgIcon::None : messages.shown.back().icon, icon) << Said().toStdString();
        return Said();
    }

    ScriptedMessageService messages;
    PageCatcher pages;
    std::unique_ptr<FormPublish> window = std::make_unique<FormPublish>(messages);
};

TEST_F(FormPublishTest, OnlyTheRightAccessCodeOpensTheWindow) {
    const std::optional<QString> codes[] = {"RJ", " rj", "", std::nullopt};
    for (const auto& code : codes) {
        FormPublish other(messages);
        messages.shown.clear();
        messages.textAnswers.push_back(code);
        EXPECT_FALSE(other.Open() || other.isVisible());
        ASSERT_EQ(messages.shown.size(), 1u) << "only the code is asked, nothing else is said";
        EXPECT_EQ(messages.shown[0].text, "password:");
    }
}

// Each folder button fills its own box, the folder and a separator; a
// cancelled dialog changes nothing.
TEST_F(FormPublishTest, TheListShowsTheLoadedWordsAndWhatTheyLack) {
    Load("apple\npear\nplum\n");
    Pick(window->cmdALL, std::nullopt);
    EXPECT_EQ(window->txtWordFile->text(), Path("words.txt"));
    const std::pair<QPushButton*, QLineEdit*> boxes[] = {
        {window->cmdPicSrc, window->txtPicSrc}, {window->cmdPicDest, window->txtPicDest},
        {window->cmdAudioSrc1, window->txtAudioSrc1}, {window->cmdAudioSrc2, window->txtAudioSrc2},
        {window->cmdAudioDest, window->txtAudioDest}};
    for (int i = 0; i < 5; ++i) Choose(boxes[i].first, QString("f%1").arg(i));
    Pick(window->cmdPicSrc, std::nullopt);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(boxes[i].second->text(), Path(QString("f%1/").arg(i))) << i;
    EXPECT_FALSE(window->LoadAllWords(Path("gone.txt")));
    EXPECT_TRUE(Said().contains(Path("gone.txt")) && messages.shown.size() == 1);
    EXPECT_EQ(Items(), QStringList({"apple", "pear", "plum"}));
    Write("f0/pear.jpg", jpeg);
    EXPECT_EQ(SaidOnClick(window->cmdCheckPic, MsgIcon::Information), "check picture finished！");
    EXPECT_EQ(Items(), QStringList({"apple", "plum"}));
    EXPECT_EQ(window->lblItemNum->text(), "缺乏图片文件的单词:\n2");
    EXPECT_EQ(window->List1->accessibleName(), window->lblItemNum->text());
    Load("pear\n");
    EXPECT_EQ(window->lblItemNum->text() + window->List1->accessibleName(), "DisplayDisplay");
}

// A destination not chosen, not a writable folder, or among the sources
// however spelled, is refused with one warning before anything is copied.
TEST_F(FormPublishTest, ADestinationThatCannotTakeTheCopyIsRefusedBeforeAnythingIsCopied) {
    Load("apple\n");
    for (const QString folder : {"src", "outer/src"})
        for (const QString name : {"apple.jpg", "apple.wav", "a/apple.wav"}) Write(folder + "/" + name, jpeg);
    Write("file", "x");
    ASSERT_TRUE(QFile::link(Path("src"), Path("link")));
    const std::tuple<QString, QString, QString> rows[] = {
        {"src", "", "还没有选择目标文件夹"}, {"src", "nowhere/", "nowhere/”不存在或不能写入"}, {"src", "file", "file”不存在"},
        {"src/", "src", "源文件夹"}, {"src", "outer/../src/", "源文件夹"}, {"src/", "link/", "源文件夹"},
        {"src", "src/a/", "源文件夹"}, {"outer/src/", "outer", "源文件夹"}};
    const auto before = Files();
    for (const auto& [source, dest, says] : rows) {
        window->txtPicSrc->setText(Path(source));
        for (QLineEdit* box : {window->txtPicDest, window->txtAudioDest}) box->setText(dest.isEmpty() ? dest : Path(dest));
        QStringList said = {SaidOnClick(window->cmdCopyPic, MsgIcon::Warning)};
        for (QLineEdit* clashing : {window->txtAudioSrc1, window->txtAudioSrc2}) {
            for (QLineEdit* box : {window->txtAudioSrc1, window->txtAudioSrc2}) box->setText(Path("elsewhere"));
            clashing->setText(Path(source));
            said << SaidOnClick(window->cmdCopyAudio, MsgIcon::Warning);
        }
        for (const QString& text : said)
            EXPECT_TRUE(text.contains(says) && text.contains("没有复制任何文件")) << (source + " → " + dest + ": " + text).toStdString();
        EXPECT_EQ(Files(), before) << (source + " → " + dest).toStdString();
    }
}

// One warning names the destination and at most twenty of the words whose
// files failed; the others are copied all the same.
TEST_F(FormPublishTest, APictureCopySaysOkOnlyWhenEveryFileWasWritten) {
    Load("apple\nplum\n");
    Write("src/apple.jpg", jpeg);
    Choose(window->cmdPicSrc, "src");
    Choose(window->cmdPicDest, "src2");
    EXPECT_EQ(SaidOnClick(window->cmdCopyPic, MsgIcon::Information), "ok");
    EXPECT_EQ(window->lblItemNum->text(), "缺乏图片文件的单词");
    EXPECT_EQ(Items(), QStringList({"plum"}));
    EXPECT_EQ(Listing("src2"), QStringList({"apple.pet"}));
    EXPECT_EQ(Read("src2/apple.pet").left(4), QByteArray("\xFF\x1B\xFF\x07"));
    for (const auto& [failing, more] : {std::pair{20, ""}, {21, " 等 21 个单词"}}) {
        QStringList words;
        for (int i = 1; i <= failing; ++i) words << QString("w%1").arg(i, 2, 10, QChar('0'));
        Load((words.join('\n') + "\npear").toUtf8());
        const QString dest = QString("d%1/").arg(failing);
        for (const QString& word : words) Write("src/" + word + ".jpg", jpeg), QDir().mkpath(Path(dest + word + ".pet/x"));
        Write("src/pear.jpg", jpeg);
        window->txtPicDest->setText(Path(dest));
        const QString said = SaidOnClick(window->cmdCopyPic, MsgIcon::Warning);
        EXPECT_TRUE(said.section('\n', 0, 0).contains(Path(dest))) << said.toStdString();
        EXPECT_EQ(said.section('\n', 1), words.mid(0, 20).join("、") + more);
        EXPECT_TRUE(Exists(dest + "pear.pet"));
    }
}

TEST_F(FormPublishTest, AnAudioCopySaysWhetherEveryWordWasFound) {
    Load("apple\nbanana\n");
    Write("letters/a/apple.wav", wav);
    Choose(window->cmdAudioSrc1, "letters");
    Choose(window->cmdAudioSrc2, "flat");
    Choose(window->cmdAudioDest, "dest");
    EXPECT_EQ(SaidOnClick(window->cmdCheckAudio, MsgIcon::Information), "check audio finished！");
    EXPECT_EQ(window->lblItemNum->text(), "缺乏音频文件的单词:1");
    for (const auto& [lacking, says] : {std::pair{QStringList{"banana"}, "还有单词没有音频文件"},
                                        {QStringList{}, "check audio finished！"}}) {
        EXPECT_EQ(SaidOnClick(window->cmdCopyAudio, MsgIcon::Information), says);
        EXPECT_EQ(Items(), lacking);
        EXPECT_EQ(window->lblItemNum->text(), "缺乏音频文件的单词");
        Write("flat/banana.wav", wav);
    }
    EXPECT_EQ(Listing("dest"), QStringList({"apple.abw", "banana.abw"}));
    EXPECT_EQ(Read("dest/apple.abw"), Scrambled(wav));
}

TEST_F(FormPublishTest, TheScrambleButtonTogglesAChosenFile) {
    Write("lesson.pet", jpeg);
    Pick(window->cmdEncrypt, std::nullopt);
    EXPECT_TRUE(messages.shown.empty()) << "cancelled";
    for (const QByteArray& now : {Scrambled(jpeg), jpeg}) {
        messages.fileAnswers.push_back(Path("lesson.pet"));
        EXPECT_EQ(SaidOnClick(window->cmdEncrypt, MsgIcon::Information), "OK");
        EXPECT_EQ(Read("lesson.pet"), now);
    }
    messages.fileAnswers.push_back(Path("vanished.pet"));
    EXPECT_TRUE(SaidOnClick(window->cmdEncrypt, MsgIcon::Warning).contains(Path("vanished.pet")));
    EXPECT_FALSE(Exists("vanished.pet"));
}

// A double click, Return or Enter copies the word, looks for its pictures
// and takes it off the list; the list goes to the clipboard line by line.
TEST_F(FormPublishTest, AWordLookedUpLeavesTheList) {
    Load("apple\nice cream\npear\nplum\nfig\n");
    QListWidget* list = window->List1;
    const QRect rect = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    const std::tuple<Qt::Key, QStringList, QString, int> rows[] = {
        {Qt::Key_Down, {"apple", "pear", "plum", "fig"}, "ice cream", 1},
        {Qt::Key_Return, {"apple", "plum", "fig"}, "pear", 2}, {Qt::Key_Enter, {"apple", "fig"}, "plum", 3}};
    for (const auto& [key, left, looked, pagesOpened] : rows) {
        list->setCurrentRow(1);
        list->setFocus();
        QTest::keyClick(list, key);
        EXPECT_EQ(Items(), left) << key;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), looked) << key;
        ASSERT_EQ(pages.opened.size(), pagesOpened);
        EXPECT_EQ(pages.opened.back().path(), "/images/search");
        EXPECT_EQ(QUrlQuery(pages.opened.back()).queryItemValue("q", QUrl::FullyDecoded), looked) << key;
    }
    EXPECT_EQ(SaidOnClick(window->cmdCopy, MsgIcon::Information), "OK");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\r\napple\r\nfig");
}

}  // namespace

#include "FormPublishTest.moc"
