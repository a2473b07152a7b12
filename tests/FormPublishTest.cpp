#include "media/ModuleCrpt.h"
#include "publish/FormPublish.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempInstall.h"

namespace {

class PublishRulesTest : public ::testing::Test, protected TempFolder {
protected:
    void LoadWords(const QByteArray& text) { Write("words.txt", text); ASSERT_TRUE(rules.LoadAllWords(Path("words.txt"))); }
    // Files of the editor's, which no copy may change.
    void Source(const QStringList& names, const QByteArray& bytes) { for (const QString& name : names) Write(name, bytes), sources[name] = bytes; }
    void ExpectSourcesKept() const { for (const auto& [name, bytes] : sources) EXPECT_EQ(Read(name), bytes) << name.toStdString(); }
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
    for (const QString& unreadable : {Path("missing.txt"), dir.path(), QString()}) EXPECT_FALSE(rules.LoadAllWords(unreadable));
    EXPECT_EQ(rules.PublishWords(), QStringList({"apple", "苹果", "ice cream"})) << "the list stays";
}

// Sources are found whatever their letter case, the letter folder first; a word that could name a path has none.
TEST_F(PublishRulesTest, ChecksAndCopiesListTheWordsWithoutASource) {
    LoadWords("Monday\napple\npear\nbanana\n../apple\nsub/pear\n..\n");
    Source({"src/MONDAY.jpg", "src/apple.jpg", "src/sub/pear.jpg", "apple.jpg"}, jpeg);
    Source({"letters/m/monday.WAV", "letters/A/apple.wav", "flat/BANANA.wav", "flat/sub/pear.wav", "apple.wav"}, wav);
    Source({"flat/apple.wav"}, TempInstall::MakeWav(0.2));
    QDir().mkpath(Path("src/pear.jpg"));  // a folder is not a picture
    QDir().mkpath(Path("dest"));
    const QStringList noPicture = {"pear", "banana", "../apple", "sub/pear", ".."}, noSound = {"pear", "../apple", "sub/pear", ".."};
    EXPECT_EQ(QList<QStringList>({rules.CheckPictures(Path("src/")), rules.CheckPictures(""), rules.CheckAudio(Path("letters"), Path("flat/"))}),
              QList<QStringList>({noPicture, rules.PublishWords(), noSound})) << "with no picture folder chosen, every word lacks one";
    const auto pictures = rules.CopyPictures(Path("src"), Path("dest")), sounds = rules.CopyAudio(Path("letters"), Path("flat/"), Path("dest/"));
    EXPECT_EQ(QList<QStringList>({pictures.missing, sounds.missing, pictures.failed + sounds.failed}), QList<QStringList>({noPicture, noSound, {}}));
    EXPECT_EQ(Listing("dest"), QStringList({"Monday.abw", "Monday.pet", "apple.abw", "apple.pet", "banana.abw"}));
    EXPECT_EQ(Read("dest/apple.abw") + Read("dest/Monday.pet"), TempInstall::Scrambled(wav) + TempInstall::Scrambled(jpeg));
    ExpectSourcesKept();
}

// A plain picture at the destination was put there by hand and wins; older files give way to the source. A word
// fails alone, its copy left plain, where its name is taken by a folder or a link (into a source folder, dangling,
// or a letter folder linking to the destination).
TEST_F(PublishRulesTest, ACopyReplacesWhatTheDestinationHeldButAPlainPictureAndNeverASource) {
    LoadWords("fig\napple\nkiwi\nlime\npear\nplum\n");
    const QByteArray handMade = TempInstall::MakeJpeg(20, 20), flat = TempInstall::MakeWav(0.2);
    Source({"src/fig.jpg", "src/apple.jpg", "src/kiwi.jpg", "src/lime.jpg", "src/pear.jpg"}, jpeg);
    Source({"flat/fig.wav", "flat/pear.wav", "dest/kiwi.wav"}, flat);
    Source({"letters/a/apple.wav"}, wav);
    Write("dest/apple.jpg", handMade);
    for (const QString name : {"apple.pet", "pear.pet", "pear.abw", "pear.wav"}) Write("dest/" + name, "older");
    for (const QString name : {"fig.pet", "fig.abw"}) QDir().mkpath(Path("dest/" + name + "/inside"));
    for (const auto& [target, link] : {std::pair{"src/kiwi.jpg", "dest/kiwi.jpg"}, {"src/new.jpg", "dest/lime.jpg"}, {"dest", "letters/k"}})
        ASSERT_TRUE(QFile::link(Path(target), Path(link)));
    const auto pictures = rules.CopyPictures(Path("src/"), Path("dest/")), sounds = rules.CopyAudio(Path("letters"), Path("flat"), Path("dest"));
    EXPECT_EQ(QList<QStringList>({pictures.missing, pictures.failed, sounds.missing, sounds.failed}),
              QList<QStringList>({{"plum"}, {"fig", "kiwi", "lime"}, {"lime", "plum"}, {"fig", "kiwi"}}));
    EXPECT_EQ(Listing("dest"), QStringList({"apple.abw", "apple.pet", "fig.jpg", "fig.wav", "kiwi.jpg", "kiwi.wav", "pear.abw", "pear.pet"}));
    const std::pair<QString, QByteArray> held[] = {{"apple.pet", TempInstall::Scrambled(handMade)}, {"pear.pet", TempInstall::Scrambled(jpeg)},
        {"apple.abw", TempInstall::Scrambled(wav)}, {"pear.abw", TempInstall::Scrambled(flat)}, {"fig.jpg", jpeg}, {"fig.wav", flat}};
    for (const auto& [name, bytes] : held) EXPECT_EQ(Read("dest/" + name), bytes) << name.toStdString();
    EXPECT_FALSE(Exists("src/new.jpg"));
    ExpectSourcesKept();
    ASSERT_TRUE(PublishRules::DecryptPicFile(Path("dest/pear.pet")));
    EXPECT_EQ(Read("dest/pear.jpg"), jpeg);
}

class FormPublishTest : public PublishRulesTest {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    void SetUp() override {
        messages.textAnswers.push_back(QString("rj"));
        ASSERT_TRUE(window->Open() && window->isVisible());
        messages.shown.clear();
    }

    void Click(QPushButton* button) { ASSERT_TRUE(button->isEnabled()); QTest::mouseClick(button, Qt::LeftButton); }
    // Clicks a button whose file or folder dialog is answered so.
    void Pick(QPushButton* button, const std::optional<QString>& answer) { messages.fileAnswers.push_back(answer); Click(button); }
    void Load(const QByteArray& text) { Write("words.txt", text); Pick(window->cmdALL, Path("words.txt")); }
    void Choose(std::initializer_list<std::pair<QPushButton*, QString>> picks) {
        for (const auto& [button, folder] : picks) { QDir().mkpath(Path(folder)); Pick(button, Path(folder)); }
    }
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
    std::unique_ptr<FormPublish> window = std::make_unique<FormPublish>(messages);
};

// A destination not chosen, not a writable folder, or among the sources however spelled, is refused with one
// warning before anything is copied.
TEST_F(FormPublishTest, ADestinationThatCannotTakeTheCopyIsRefusedBeforeAnythingIsCopied) {
    Load("apple\n");
    for (const QString folder : {"src", "outer/src"})
        for (const QString name : {"apple.jpg", "apple.wav", "a/apple.wav"}) Write(folder + "/" + name, jpeg);
    Write("file", "x");
    ASSERT_TRUE(QFile::link(Path("src"), Path("link")));
    const std::tuple<QString, QString, QString> rows[] = {{"src", "", "还没有选择目标文件夹"}, {"src", "nowhere/", "nowhere/”不存在或不能写入"},
        {"src", "file", "file”不存在"}, {"src/", "src", "源文件夹"}, {"src", "outer/../src/", "源文件夹"}, {"src/", "link/", "源文件夹"},
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

// One warning names the destination and at most twenty of the words whose files failed; the others are copied
// all the same. An audio copy says whether every word was found.
TEST_F(FormPublishTest, ACopySaysOkOnlyWhenEveryFileWasWrittenAndFound) {
    Load("apple\nplum\n");
    Write("src/apple.jpg", jpeg);
    Choose({{window->cmdPicSrc, "src"}, {window->cmdPicDest, "src2"}});
    EXPECT_EQ(QList<QStringList>({{SaidOnClick(window->cmdCopyPic, MsgIcon::Information), window->lblItemNum->text()}, Items(), Listing("src2")}),
              QList<QStringList>({{"ok", "缺乏图片文件的单词"}, {"plum"}, {"apple.pet"}}));
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
        EXPECT_EQ(Read(dest + "pear.pet"), TempInstall::Scrambled(jpeg));
    }
    Load("apple\nbanana\n");
    Write("letters/a/apple.wav", wav);
    Choose({{window->cmdAudioSrc1, "letters"}, {window->cmdAudioSrc2, "flat"}, {window->cmdAudioDest, "dest"}});
    EXPECT_EQ(SaidOnClick(window->cmdCheckAudio, MsgIcon::Information), "check audio finished！");
    EXPECT_EQ(window->lblItemNum->text(), "缺乏音频文件的单词:1");
    for (const auto& [lacking, says] : {std::pair{QStringList{"banana"}, "还有单词没有音频文件"}, {QStringList{}, "check audio finished！"}}) {
        EXPECT_EQ(QList<QStringList>({{SaidOnClick(window->cmdCopyAudio, MsgIcon::Information)}, Items(), {window->lblItemNum->text()}}),
                  QList<QStringList>({{says}, lacking, {"缺乏音频文件的单词"}}));
        Write("flat/banana.wav", wav);
    }
    EXPECT_EQ(Listing("dest"), QStringList({"apple.abw", "banana.abw"}));
}

// Only the access code opens the window. A word file that cannot be read is told and the list stays; the copy
// button puts the listed words on the clipboard, a word's picture search names it; the scramble button turns a
// chosen file either way, or tells that it cannot.
TEST_F(FormPublishTest, TheCodeOpensItAndTheListCopyAndScrambleButtonsWork) {
    for (const std::optional<QString>& code : {std::optional<QString>("RJ"), std::optional<QString>()}) {
        FormPublish other(messages);
        messages.textAnswers.push_back(code);
        EXPECT_FALSE(other.Open() || other.isVisible());
    }
    Load("apple\nice cream\n");
    Pick(window->cmdALL, Path("missing.txt"));
    EXPECT_EQ(Said() + Items().join(','), "不能读取单词文件“" + Path("missing.txt") + "”，单词列表没有改变。apple,ice cream");
    Click(window->cmdCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\r\napple\r\nice cream");
    EXPECT_TRUE(PublishRules::ImageSearchAddress("ice cream").contains("images/search?q=ice%20cream&"));
    Write("pic.jpg", jpeg);
    for (const QByteArray& bytes : {TempInstall::Scrambled(jpeg), jpeg}) {
        Pick(window->cmdEncrypt, Path("pic.jpg"));
        EXPECT_EQ(Read("pic.jpg") + Said(), bytes + "OK");
    }
    Pick(window->cmdEncrypt, Path("gone.jpg"));
    EXPECT_EQ(Said(), "文件“" + Path("gone.jpg") + "”不能改写，没有加密或解密。");
}

}  // namespace
