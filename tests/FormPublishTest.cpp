#include <gtest/gtest.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include "publish/FormPublish.h"
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

class FormPublishTest : public ::testing::Test, protected TempFolder {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        QDesktopServices::setUrlHandler("https", &pages, "Open");
        window = std::make_unique<FormPublish>(messages);
        messages.textAnswers.push_back(QString("rj"));
        ASSERT_TRUE(window->Open());
        messages.shown.clear();
    }

    void TearDown() override { QDesktopServices::unsetUrlHandler("https"); }

    void Click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void LoadWords(const QByteArray& text) {
        Write("words.txt", text);
        messages.fileAnswers.push_back(Path("words.txt"));
        Click(window->cmdALL);
    }

    void ChooseFolder(QPushButton* button, const QString& relative) {
        QDir().mkpath(Path(relative));
        messages.fileAnswers.push_back(Path(relative));
        Click(button);
    }

    QStringList Items() const {
        QStringList texts;
        for (int i = 0; i < window->List1->count(); ++i) texts << window->List1->item(i)->text();
        return texts;
    }

    // Every file below the temporary folder with its bytes (links not followed).
    QMap<QString, QByteArray> Files() const {
        QMap<QString, QByteArray> files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            files[it.filePath()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
        }
        return files;
    }

    QString LastMessage() const { return messages.shown.empty() ? QString() : messages.shown.back().text; }

    ScriptedMessageService messages;
    PageCatcher pages;
    std::unique_ptr<FormPublish> window;
};

TEST_F(FormPublishTest, OnlyTheRightAccessCodeOpensTheWindow) {
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), FormPublish::kTitle);

    for (const std::optional<QString>& code : {std::optional<QString>("RJ"), std::optional<QString>(" rj"),
                                               std::optional<QString>(""), std::optional<QString>()}) {
        FormPublish other(messages);
        messages.shown.clear();
        messages.textAnswers.push_back(code);
        EXPECT_FALSE(other.Open());
        EXPECT_FALSE(other.isVisible());
        ASSERT_EQ(messages.shown.size(), 1u) << "only the code is asked, nothing else is said";
        EXPECT_EQ(messages.shown[0].text, "password:");
    }
}

TEST_F(FormPublishTest, ControlsCarryTheirCaptions) {
    EXPECT_EQ(window->cmdALL->text(), "Load words from Text");
    EXPECT_EQ(window->txtWordFile->placeholderText(), "Load Word From This Text File");
    EXPECT_EQ(window->lblItemNum->text(), "Display");
    ASSERT_EQ(window->SSTab1->count(), 2);
    EXPECT_EQ(window->SSTab1->tabText(0), "Pictures");
    EXPECT_EQ(window->SSTab1->tabText(1), "Audio");
    EXPECT_TRUE(window->SSTab1->widget(0)->isAncestorOf(window->cmdCheckPic));
    EXPECT_TRUE(window->SSTab1->widget(1)->isAncestorOf(window->cmdCopyAudio));
    EXPECT_EQ(window->cmdPicSrc->text(), "Source Dir");
    EXPECT_EQ(window->cmdAudioSrc2->text(), "Source2");
    EXPECT_EQ(window->cmdEncrypt->text(), "数据库加解密");
}

TEST_F(FormPublishTest, LoadingAndChoosingFolders) {
    LoadWords("apple\nApple\n apple \n\n");
    EXPECT_EQ(window->txtWordFile->text(), Path("words.txt"));
    EXPECT_EQ(Items(), QStringList({"apple", "Apple"}));

    messages.fileAnswers.push_back(std::nullopt);
    Click(window->cmdALL);
    EXPECT_EQ(window->txtWordFile->text(), Path("words.txt")) << "a cancelled dialog changes nothing";
    EXPECT_EQ(Items(), QStringList({"apple", "Apple"}));

    ChooseFolder(window->cmdPicSrc, "pictures");
    EXPECT_EQ(window->txtPicSrc->text(), Path("pictures/"));
    messages.fileAnswers.push_back(std::nullopt);
    Click(window->cmdPicSrc);
    EXPECT_EQ(window->txtPicSrc->text(), Path("pictures/"));
    ChooseFolder(window->cmdAudioDest, "sounds");
    EXPECT_EQ(window->txtAudioDest->text(), Path("sounds/"));
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(window->LoadAllWords(Path("gone.txt")));
    EXPECT_EQ(Items(), QStringList({"apple", "Apple"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(LastMessage().contains(Path("gone.txt")));
}

TEST_F(FormPublishTest, PictureCheckShowsTheLackingWordsAndTheirCount) {
    LoadWords("apple\npear\nplum\n");
    Write("src/pear.jpg", TempInstall::MakeJpeg());
    ChooseFolder(window->cmdPicSrc, "src");
    Click(window->cmdCheckPic);
    EXPECT_EQ(Items(), QStringList({"apple", "plum"}));
    EXPECT_EQ(window->lblItemNum->text().split('\n'), QStringList({"缺乏图片文件的单词:", "2"}));
    EXPECT_EQ(window->List1->accessibleName(), window->lblItemNum->text());
    EXPECT_EQ(LastMessage(), "check picture finished！");

    LoadWords("pear\n");
    EXPECT_EQ(window->lblItemNum->text(), "Display");
}

TEST_F(FormPublishTest, CopyingPicturesScramblesThemAtTheDestination) {
    LoadWords("apple\nplum\n");
    const QByteArray jpeg = TempInstall::MakeJpeg();
    Write("src/apple.jpg", jpeg);
    ChooseFolder(window->cmdPicSrc, "src");

    window->txtPicDest->setText(Path("nowhere/"));
    Click(window->cmdCopyPic);
    EXPECT_TRUE(LastMessage().contains(Path("nowhere/"))) << "the missing destination is named";
    EXPECT_FALSE(QFileInfo::exists(Path("nowhere")));

    ChooseFolder(window->cmdPicDest, "dest");
    Click(window->cmdCopyPic);
    EXPECT_EQ(LastMessage(), "ok");
    EXPECT_EQ(window->lblItemNum->text(), "缺乏图片文件的单词");
    EXPECT_EQ(Items(), QStringList({"plum"}));
    EXPECT_EQ(Read("dest/apple.pet").left(4), QByteArray("\xFF\x1B\xFF\x07"));
    EXPECT_FALSE(QFileInfo::exists(Path("dest/apple.jpg")));
}

// However the paths are spelled, a destination that is a source folder,
// lies inside one or holds one is refused with one message before anything
// is copied, for either audio source.
TEST_F(FormPublishTest, ADestinationAmongTheSourcesIsRefusedBeforeAnythingIsCopied) {
    LoadWords("apple\n");
    for (const QString folder : {"src", "outer/src"}) {
        Write(folder + "/apple.jpg", TempInstall::MakeJpeg());
        Write(folder + "/apple.wav", TempInstall::MakeWav(0.1));
        Write(folder + "/a/apple.wav", TempInstall::MakeWav(0.1));
    }
    ASSERT_TRUE(QFile::link(Path("src"), Path("link")));
    const std::pair<QString, QString> cases[] = {
        {"src/", "src"}, {"src", "outer/../src/"}, {"src/", "link/"}, {"src", "src/a/"}, {"outer/src/", "outer"}};
    for (const auto& [source, dest] : cases) {
        const std::string row = (source + " → " + dest).toStdString();
        const auto before = Files();
        const auto refuses = [&](QPushButton* copy) {
            messages.shown.clear();
            Click(copy);
            ASSERT_EQ(messages.shown.size(), 1u) << row;
            EXPECT_TRUE(LastMessage().contains("源文件夹") && LastMessage().contains("没有复制任何文件")) << row;
            EXPECT_EQ(messages.shown.back().icon, MsgIcon::Warning) << row;
            EXPECT_EQ(Files(), before) << row;
        };
        window->txtPicSrc->setText(Path(source));
        window->txtPicDest->setText(Path(dest));
        refuses(window->cmdCopyPic);
        window->txtAudioDest->setText(Path(dest));
        for (QLineEdit* box : {window->txtAudioSrc1, window->txtAudioSrc2}) {
            window->txtAudioSrc1->setText(box == window->txtAudioSrc1 ? Path(source) : Path("elsewhere"));
            window->txtAudioSrc2->setText(box == window->txtAudioSrc2 ? Path(source) : Path("elsewhere"));
            refuses(window->cmdCopyAudio);
        }
    }
}

TEST_F(FormPublishTest, ACopyThatFailsIsNotReportedAsDone) {
    LoadWords("apple\npear\n");
    Write("src/apple.jpg", TempInstall::MakeJpeg());
    Write("src/pear.jpg", TempInstall::MakeJpeg());
    ChooseFolder(window->cmdPicSrc, "src");

    Click(window->cmdCopyPic);
    ASSERT_EQ(messages.shown.size(), 1u) << "no destination chosen yet";
    EXPECT_NE(LastMessage(), "ok");

    QDir().mkpath(Path("dest/apple.pet/taken"));
    ChooseFolder(window->cmdPicDest, "dest");
    messages.shown.clear();
    Click(window->cmdCopyPic);
    ASSERT_EQ(messages.shown.size(), 1u) << "one message for the whole copy";
    EXPECT_TRUE(LastMessage().contains("apple"));
    EXPECT_FALSE(LastMessage().contains("pear"));
    EXPECT_EQ(messages.shown.back().icon, MsgIcon::Warning);
    EXPECT_TRUE(QFileInfo::exists(Path("dest/pear.pet")));
}

TEST_F(FormPublishTest, CopyingAudioSaysWhetherEveryWordWasFound) {
    LoadWords("apple\nbanana\n");
    Write("letters/a/apple.wav", TempInstall::MakeWav(0.1));
    ChooseFolder(window->cmdAudioSrc1, "letters");
    ChooseFolder(window->cmdAudioSrc2, "flat");
    ChooseFolder(window->cmdAudioDest, "dest");

    Click(window->cmdCheckAudio);
    EXPECT_EQ(window->lblItemNum->text(), "缺乏音频文件的单词:1");
    EXPECT_EQ(LastMessage(), "check audio finished！");

    Click(window->cmdCopyAudio);
    EXPECT_EQ(Items(), QStringList({"banana"}));
    EXPECT_EQ(LastMessage(), "还有单词没有音频文件");
    EXPECT_EQ(Read("dest/apple.abw").left(4), QByteArray("\x4A\x92\x62\x62"));

    Write("flat/banana.wav", TempInstall::MakeWav(0.1));
    Click(window->cmdCopyAudio);
    EXPECT_TRUE(Items().isEmpty());
    EXPECT_EQ(LastMessage(), "check audio finished！");
    EXPECT_TRUE(QFileInfo::exists(Path("dest/banana.abw")));
}

TEST_F(FormPublishTest, TheScrambleButtonTogglesAChosenFile) {
    const QByteArray original = TempInstall::MakeJpeg();
    Write("lesson.pet", original);

    messages.fileAnswers.push_back(std::nullopt);
    Click(window->cmdEncrypt);
    EXPECT_EQ(Read("lesson.pet"), original) << "cancelling scrambles nothing";
    EXPECT_TRUE(messages.shown.empty());

    messages.fileAnswers.push_back(Path("lesson.pet"));
    Click(window->cmdEncrypt);
    EXPECT_EQ(LastMessage(), "OK");
    EXPECT_EQ(Read("lesson.pet").left(4), QByteArray("\xFF\x1B\xFF\x07"));
    EXPECT_EQ(Read("lesson.pet").mid(72), original.mid(72));

    messages.fileAnswers.push_back(Path("lesson.pet"));
    Click(window->cmdEncrypt);
    EXPECT_EQ(Read("lesson.pet"), original) << "twice restores the file byte for byte";

    messages.shown.clear();
    messages.fileAnswers.push_back(Path("vanished.pet"));
    Click(window->cmdEncrypt);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(LastMessage(), "OK");
    EXPECT_TRUE(LastMessage().contains(Path("vanished.pet")));
}

TEST_F(FormPublishTest, ADoubleClickLooksTheWordUpAndRemovesIt) {
    LoadWords("apple\nice cream\npear\n");
    QListWidget* list = window->List1;
    const QRect rect = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());

    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ice cream");
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened[0].path(), "/images/search");
    EXPECT_EQ(QUrlQuery(pages.opened[0]).queryItemValue("q", QUrl::FullyDecoded), "ice cream");
    EXPECT_EQ(Items(), QStringList({"apple", "pear"}));

    list->setCurrentRow(1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(pages.opened.size(), 2) << "Enter does what the double click does";
    EXPECT_EQ(Items(), QStringList({"apple"}));

    Click(window->cmdCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\r\napple");
    EXPECT_EQ(LastMessage(), "OK");
}

}  // namespace

#include "FormPublishTest.moc"
