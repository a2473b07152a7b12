#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QAccessible>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QToolButton>

#include "app/FormBookUnit.h"
#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "app/StartupWarmup.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "media/ModuleCrpt.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/FormRRK.h"
#include "quiz/WordRRK.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtApp.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/PictureBox.h"
#include "views/WordList.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

namespace {

const QString kNoWords = "没有找到您要的单词库，请下载最新的版本！";

class FormMainTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void CreateInstall(int lastBook, int lastUnit) {
        install.CreateDatabase({{"Unit 1 Hello!", "Unit 2 Empty"}, {"Unit 1 Animals"}},
                               {{0, 0, "hello", "你好"},
                                {0, 0, "red", "红色", 0, "1|0|1"},
                                {1, 0, "cat", "猫"},
                                {1, 0, "dog", "狗"}},
                               lastBook, lastUnit);
        install.WriteFile("Bin/AppPics/help.txt", "<html><body><h2>怎样使用</h2><p>先选择词库。</p></body></html>");
        install.WriteFile("Bin/AppPics/ppkhelp.txt", "把字母拖到横线上，拼出单词。");
        window = std::make_unique<FormMain>(install.BinDir(), messages, output, recorder, random, warmup);
    }

    QString Stored(const QString& sql) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        const QString value = install.Query(sql).toString();
        ModuleCrpt::ScrambleHeader(install.DbPath());
        return value;
    }

    std::vector<QWidget*> VisibleViews() {
        std::vector<QWidget*> visible;
        for (QWidget* view : std::initializer_list<QWidget*>{window->Orvanel1, window->WordList1, window->WordPPK21,
                                                             window->WordRRK1, window->WordFFK1, window->WordPicList1})
            if (view && !view->isHidden()) visible.push_back(view);
        return visible;
    }

    // The letter game opens its picture question first: the right meaning is picked.
    void AnswerPictureQuestion() {
        WhenModal([this](QWidget* modal) {
            auto* question = dynamic_cast<FormRRK*>(modal);
            ASSERT_TRUE(question) << "no picture question";
            const QString meaning = window->State().Words[window->WordPPK21->PuzzleIndex].Chinese;
            for (int i = 0; i < 4; ++i)
                if (question->optAns[i]->text() == meaning) question->optAns[i]->click();
            question->cmdOK->click();
        });
    }

    static void ClickItem(QListWidget* list, int row, bool twice = false) {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static QStringList Items(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    TempInstall install;
    ScriptedMessageService messages;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    ScriptedRandom random;
    StartupWarmup warmup;
    std::unique_ptr<FormMain> window;
};

TEST_F(FormMainTest, StartsOnStoredUnitWithTitle) {
    CreateInstall(1, 0);
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->windowTitle(), "测试版Orvanel -- 第2册  Unit 1 Animals");
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{window->Orvanel1});
    EXPECT_EQ(window->State().CurEnglish, "cat");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(install.DbIsScrambled());
}

TEST_F(FormMainTest, StoredPositionOutsideTheListsFallsBack) {
    CreateInstall(5, 9);
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->State().CurBook, 0);
    EXPECT_EQ(window->State().CurUnit, 0);
    EXPECT_EQ(window->windowTitle(), "测试版Orvanel -- 第1册  Unit 1 Hello!");
}

TEST_F(FormMainTest, StoredUnitWithoutWordsShowsMessageThenDialog) {
    CreateInstall(0, 1);
    bool scrambledWhileShown = false;
    messages.whileShown = [&](const ScriptedMessageService::Shown&) { scrambledWhileShown = install.DbIsScrambled(); };
    size_t messagesWhenDialogOpened = 0;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ASSERT_TRUE(dynamic_cast<FormBookUnit*>(dialog));
        messagesWhenDialogOpened = messages.shown.size();
        auto* form = static_cast<FormBookUnit*>(dialog);
        EXPECT_EQ(form->windowTitle(), "测试版--选择教程");
        EXPECT_EQ(form->lstUnit->currentRow(), 1);
        ClickItem(form->lstUnit, 0);
        form->cmdOK->click();
    });
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(messagesWhenDialogOpened, 1u);
    EXPECT_EQ(messages.shown[0].text, kNoWords);
    EXPECT_TRUE(scrambledWhileShown) << "the file rests scrambled while the message waits";
    EXPECT_EQ(window->windowTitle(), "测试版Orvanel -- 第1册  Unit 1 Hello!");
    EXPECT_EQ(window->State().WordCount, 2);
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(Stored("select LastUnit from FeatureTable"), "0");
}

TEST_F(FormMainTest, CancellingTheStartDialogEndsWithoutWriting) {
    CreateInstall(0, 1);
    WhenModal([](QWidget* modal) { static_cast<FormBookUnit*>(modal)->cmdCancle->click(); });
    EXPECT_FALSE(window->Start());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "没有选择单元，程序将退出。");
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "0,1");
    EXPECT_TRUE(install.DbIsScrambled());
}

TEST_F(FormMainTest, ModesShowOneViewOrNone) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    // Only the listen-and-read view is made at the start; the others when first shown.
    EXPECT_FALSE(window->WordList1 || window->WordPPK21 || window->WordRRK1 || window->WordFFK1 ||
                 window->WordPicList1);
    const std::pair<int, std::function<QWidget*()>> views[] = {
        {2, [this] { return window->WordList1; }},    {3, [this] { return window->WordPPK21; }},
        {4, [this] { return window->WordRRK1; }},     {6, [this] { return window->WordFFK1; }},
        {8, [this] { return window->WordPicList1; }}, {1, [this] { return window->Orvanel1; }}};
    for (const auto& [mode, view] : views) {
        if (mode == 3) AnswerPictureQuestion();
        window->ShowUserControl(static_cast<qint16>(mode));
        EXPECT_EQ(window->ViewMode(), mode);
        ASSERT_TRUE(view()) << mode;
        EXPECT_EQ(view()->geometry(), window->MainFrame->rect()) << "a view made late fills the frame too";
        EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{view()}) << mode;
    }
    for (int mode : {0, 5, 7, 9}) {
        window->ShowUserControl(static_cast<qint16>(mode));
        EXPECT_EQ(window->ViewMode(), mode);
        EXPECT_TRUE(VisibleViews().empty()) << mode;
    }
}

TEST_F(FormMainTest, RunsResetTheRightFlags) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    LessonState& state = window->State();
    state.Words[0].Tested = true;
    state.Words[1].CurrErr = true;
    state.TestedCount = 2;
    window->mnuTEST_SelectChinese->trigger();
    EXPECT_EQ(window->ViewMode(), 4);
    EXPECT_EQ(state.TestedCount, 0);
    EXPECT_FALSE(state.Words[0].Tested || state.Words[1].CurrErr);
}

TEST_F(FormMainTest, MenuAndToolbarReachTheirViews) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    window->mnuLEARN_WordList->trigger();
    EXPECT_EQ(window->ViewMode(), 8);  // the picture list, not the word list
    const std::pair<int, int> buttons[] = {{2, 3}, {3, 6}, {4, 4}, {1, 1}};
    for (const auto& [button, mode] : buttons) {
        if (mode == 3) AnswerPictureQuestion();
        QTest::mouseClick(window->imgCommand[button], Qt::LeftButton);
        EXPECT_EQ(window->ViewMode(), mode) << window->imgCommand[button]->text().toStdString();
    }
    QStringList captions;
    for (QToolButton* b : window->imgCommand) captions << b->text();
    EXPECT_EQ(captions, QStringList({"选择词库", "Orvanel", "单词排排看", "单词连连看", "单元测试", "帮助", "错词本"}));
    for (QToolButton* b : window->imgCommand) EXPECT_EQ(b->accessibleName(), b->text());
    EXPECT_FALSE(window->mnuTEST_History->isEnabled());
    EXPECT_FALSE(window->mnuTEST_WordErrNum->isEnabled());
}

TEST_F(FormMainTest, TheTestAndTheLetterGameFeedTheReviewWhoseButtonCountsAndOpensIt) {
    CreateInstall(1, 0);
    ASSERT_TRUE(window->Start());
    QToolButton* review = window->imgCommand[6];
    QTest::mouseClick(review, Qt::LeftButton);
    EXPECT_EQ(window->ViewMode(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "今天没有要复习的单词，明天再来吧！");

    // The test's first answer and the picture question's are logged at once.
    window->mnuTEST_SelectChinese->trigger();
    WordRRK& test = *window->WordRRK1;
    const QString asked = test.lblTestWord->text();
    const QString meaning = asked == "cat" ? "猫" : "狗";
    for (int i = 0; i < 4; ++i)
        if (test.optAns[i]->text() == meaning) test.optAns[i]->click();
    test.cmdOK->click();
    EXPECT_EQ(Stored("select group_concat(English || ':' || Grade || ':' || Source) from AnswerLog"),
              asked + ":3:test");
    AnswerPictureQuestion();
    window->mnuGAME_PPK->trigger();  // the test asks before it ends
    EXPECT_EQ(Stored("select count(*) from AnswerLog where Source = 'game' and Grade = 3"), "1");

    // A word due long ago: the caption counts it and the button opens the review.
    window.reset();
    ModuleCrpt::ScrambleHeader(install.DbPath());
    install.Exec("update ReviewState set Due = '2000-01-01', LastReview = '1999-12-30' where English = '" + asked + "'");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    window = std::make_unique<FormMain>(install.BinDir(), messages, output, recorder, random, warmup);
    ASSERT_TRUE(window->Start());
    QTest::qWait(1);
    EXPECT_EQ(window->imgCommand[6]->text(), "错词本 1");
    EXPECT_EQ(window->imgCommand[6]->accessibleName(), "错词本 1");
    QTest::mouseClick(window->imgCommand[6], Qt::LeftButton);
    EXPECT_EQ(window->ViewMode(), 9);
}

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

TEST_F(FormMainTest, ARightClickOffersNoWayToHideTheToolbar) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->createPopupMenu(), nullptr);
}

TEST_F(FormMainTest, FooterShowsTheMakerAndOpensItsSiteByMouseOrKeyboard) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->lblMyWebName->text(), "Orvanel 学习软件");
    EXPECT_EQ(window->lblMyWeb->text(), "https://www.orvanel.example/");
    for (ClickableLabel* label : {window->lblMyWebName, window->lblMyWeb})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), label->text());
    EXPECT_EQ(window->lblMyWeb->palette().color(QPalette::WindowText), QColor(Qt::blue));

    UrlCatcher browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    QTest::mouseClick(window->lblMyWeb, Qt::LeftButton);
    window->lblMyWebName->setFocus();
    QTest::keyClick(window->lblMyWebName, Qt::Key_Return);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(browser.opened, QList<QUrl>({QUrl("https://www.orvanel.example/"), QUrl("https://www.orvanel.example/")}));
}

TEST_F(FormMainTest, ResultAndHelpDoNotLeaveTheView) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    AnswerPictureQuestion();
    window->ShowUserControl(3);
    WhenModal([](QWidget* modal) { static_cast<FormLearnStatus*>(modal)->cmdOK->click(); });
    window->mnuTEST_Result->trigger();
    EXPECT_EQ(window->ViewMode(), 3);
    WhenModal([](QWidget* modal) { static_cast<FormHelp*>(modal)->cmdOK->click(); });
    window->mnuHELP_HowToUse->trigger();
    EXPECT_EQ(window->ViewMode(), 3);
    EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{window->WordPPK21});
}

TEST_F(FormMainTest, LearningStatusBrowsesOtherBooksAndLeavesTheCurrentUnit) {
    CreateInstall(1, 0);
    ASSERT_TRUE(window->Start());
    const QString title = window->windowTitle();
    int rowsOfBookZero = -1;
    WhenModal([&](QWidget* modal) {
        auto* status = static_cast<FormLearnStatus*>(modal);
        EXPECT_EQ(status->lstBook->currentRow(), 1);
        status->lstBook->setCurrentRow(0);
        rowsOfBookZero = status->ListDetail->topLevelItemCount();
        status->cmdOK->click();
    });
    window->mnuTEST_Result->trigger();
    EXPECT_EQ(rowsOfBookZero, 2);
    LessonState& state = window->State();
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(state.CurBook, 1);
    ASSERT_EQ(state.UnitCount, 1);
    EXPECT_EQ(state.BookUnits[0].UnitName, "Unit 1 Animals");

    // A perfect test run marks book 1's unit, not book 0's first unit.
    window->mnuTEST_SelectChinese->trigger();
    for (int asked = 0; asked < 2; ++asked) {
        const QString meaning = state.Words[window->WordRRK1->lblTestWord->text() == "cat" ? 0 : 1].Chinese;
        for (QRadioButton* option : window->WordRRK1->optAns)
            if (option->text() == meaning && !option->isHidden()) option->click();
        window->WordRRK1->cmdOK->click();
    }
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 1 and UnitID = 0"), "2");
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 0"), "");
}

TEST_F(FormMainTest, TestWithAnErrorEndsOnTheResultList) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    window->mnuTEST_SelectChinese->trigger();
    LessonState& state = window->State();
    bool wrongGiven = false;
    for (int answers = 0; answers < 3 && window->ViewMode() == 4; ++answers) {
        const QString word = window->WordRRK1->lblTestWord->text();
        const QString meaning = state.Words[word == "hello" ? 0 : 1].Chinese;
        for (QRadioButton* option : window->WordRRK1->optAns)
            if ((option->text() == meaning) != !wrongGiven && !option->isHidden()) option->click();
        window->WordRRK1->cmdOK->click();
        wrongGiven = true;
    }
    EXPECT_EQ(window->ViewMode(), 2);
    EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{window->WordList1});
    EXPECT_EQ(window->WordList1->ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(window->WordList1->lblResult->text(), "本次共测试2个单词,其中有1个单词出错！");
    // Leaving the list asks nothing more of the test.
    const size_t shown = messages.shown.size();
    window->mnuLEARN_Orvanel->trigger();
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(messages.shown.size(), shown);
}

TEST_F(FormMainTest, PictureListOpensTheReadViewAtTheChosenWord) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    window->mnuLEARN_WordList->trigger();
    EXPECT_EQ(window->ViewMode(), 8);
    QTest::mouseDClick(window->WordPicList1->imgWord[1], Qt::LeftButton);
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(window->State().CurWordIndex, 1);
    EXPECT_EQ(window->State().CurEnglish, "red");
}

TEST_F(FormMainTest, TheLetterGameIsAskedBeforeLeavingAndShowsItsOwnHelp) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    AnswerPictureQuestion();
    QTest::mouseClick(window->imgCommand[2], Qt::LeftButton);
    ASSERT_EQ(window->ViewMode(), 3);
    EXPECT_EQ(window->WordPPK21->TileCount, window->WordPPK21->PuzzleWord.size());

    QString helpShown;
    WhenModal([&](QWidget* modal) {
        auto* help = dynamic_cast<FormHelp*>(modal);
        ASSERT_TRUE(help);
        helpShown = help->txtHelp->toPlainText();
        help->cmdOK->click();
    });
    window->WordPPK21->imgHelp->click();
    EXPECT_EQ(helpShown, "把字母拖到横线上，拼出单词。");

    messages.Answer(MsgAnswer::Cancel);
    QTest::mouseClick(window->imgCommand[1], Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, "还没有完成游戏，你确定要结束吗?");
    EXPECT_EQ(window->ViewMode(), 3);
    EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{window->WordPPK21});

    QTest::mouseClick(window->imgCommand[1], Qt::LeftButton);
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(window->WordPPK21->TileCount, 0);
}

TEST_F(FormMainTest, ExitAnsweredNoChangesNothing) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    window->show();
    window->State().CurBook = 1;
    window->State().Words[0].CountAnswer(true);
    const QByteArray before = install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName);
    messages.Answer(MsgAnswer::No);
    window->mnuExit->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messages.shown.back().text, "真的要退出吗?");
    EXPECT_EQ(messages.shown.back().title, "英语Orvanel");
    EXPECT_EQ(messages.shown.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), before);
}

TEST_F(FormMainTest, ExitAnsweredYesSavesPositionAndEveryResult) {
    CreateInstall(1, 0);
    ASSERT_TRUE(window->Start());
    window->show();
    window->State().Words[1].CountAnswer(false);  // dog
    messages.Answer(MsgAnswer::Yes);
    window->close();  // the close box goes the same way
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "1,0");
    EXPECT_EQ(Stored("select Result from words where English = 'dog'"), "1|1|0");
    EXPECT_EQ(Stored("select Result from words where English = 'cat'"), "0|0|0");
}

TEST_F(FormMainTest, BookUnitDialogBrowsesAndChooses) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    window->State().Words[1].CountAnswer(true);  // red, written before the new words load
    bool stayedOpen = false;
    WhenModal([&](QWidget* modal) {
        auto* form = static_cast<FormBookUnit*>(modal);
        EXPECT_EQ(form->lblBookUnit->text(), "第1册  Unit 1 Hello!");
        // At least the size of the listen-and-read view's check boxes.
        const std::initializer_list<QWidget*> texts = {form->lstBook, form->lstUnit, form->lblBookUnit, form->cmdOK};
        for (QWidget* text : texts) EXPECT_GE(text->font().pointSize(), 12);
        ClickItem(form->lstBook, 1);
        EXPECT_EQ(Items(form->lstUnit), QStringList{"Unit 1 Animals"});
        EXPECT_EQ(form->lblBookUnit->text(), "第2册  Unit 1 Animals");
        ClickItem(form->lstBook, 0);
        EXPECT_EQ(Items(form->lstUnit), QStringList({"Unit 1 Hello!", "Unit 2 Empty"}));
        ClickItem(form->lstUnit, 1);
        EXPECT_EQ(form->lblBookUnit->text(), "第1册  Unit 2 Empty");
        form->cmdOK->click();
        stayedOpen = form->isVisible();
        ClickItem(form->lstBook, 1);
        ClickItem(form->lstUnit, 0, true);  // a double click accepts like OK
    });
    window->mnuFILE_BookUnit->trigger();
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(messages.Saw(kNoWords));
    LessonState& state = window->State();
    EXPECT_EQ(state.CurBook, 1);
    EXPECT_EQ(state.CurUnit, 0);
    EXPECT_EQ(state.WordCount, 2);
    EXPECT_EQ(state.CurEnglish, "cat");
    EXPECT_EQ(window->windowTitle(), "测试版Orvanel -- 第2册  Unit 1 Animals");
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "1,0");
    EXPECT_EQ(Stored("select Result from words where English = 'red'"), "2|0|2");
}

TEST_F(FormMainTest, CancelAfterRefusedUnitKeepsTheCurrentUnit) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    WhenModal([&](QWidget* modal) {
        auto* form = static_cast<FormBookUnit*>(modal);
        ClickItem(form->lstBook, 1);
        ClickItem(form->lstBook, 0);
        ClickItem(form->lstUnit, 1);
        form->cmdOK->click();
        form->cmdCancle->click();
    });
    window->mnuFILE_BookUnit->trigger();
    const LessonState& state = window->State();
    EXPECT_EQ(state.CurBook, 0);
    EXPECT_EQ(state.CurUnit, 0);
    EXPECT_EQ(state.WordCount, 2);
    EXPECT_EQ(state.UnitCount, 2);  // the units of the current book again
    EXPECT_EQ(window->windowTitle(), "测试版Orvanel -- 第1册  Unit 1 Hello!");
    EXPECT_EQ(Stored("select LastUnit from FeatureTable"), "0");
}

TEST_F(FormMainTest, HelpWindowSwitchesTexts) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    QString shown;
    WhenModal([&](QWidget* modal) {
        auto* help = static_cast<FormHelp*>(modal);
        EXPECT_EQ(help->windowTitle(), "帮助");
        shown = help->txtHelp->toPlainText();
        QTest::mouseClick(help->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(window->imgCommand[5], Qt::LeftButton);
    EXPECT_TRUE(shown.contains("先选择词库。"));
    EXPECT_FALSE(shown.contains("<p>"));  // shown as rich text

    FormHelp& help = window->HelpWindow();
    help.Load_PPKHelp();
    EXPECT_EQ(help.txtHelp->toPlainText(), "把字母拖到横线上，拼出单词。");
    QFile::remove(install.AppPicsDir() + "/help.txt");
    help.Load_Help();
    EXPECT_TRUE(help.txtHelp->toPlainText().contains("help.txt"));
}

}  // namespace

namespace {

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

TEST_F(FormMainTest, ScreenReadersHearTheTitleAndTheChosenUnit) {
    CreateInstall(1, 0);
    EXPECT_EQ(AccessibleName(window.get()), "英语Orvanel");
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(AccessibleName(window.get()), "测试版Orvanel -- 第2册  Unit 1 Animals");

    QString announced;
    WhenModal([&](QWidget* modal) {
        auto* form = static_cast<FormBookUnit*>(modal);
        ClickItem(form->lstBook, 0);
        ClickItem(form->lstUnit, 0);
        announced = AccessibleName(form->lblBookUnit);
        EXPECT_EQ(announced, form->lblBookUnit->text());
        form->cmdOK->click();
    });
    window->mnuFILE_BookUnit->trigger();
    EXPECT_TRUE(announced.contains("Unit 1 Hello!")) << announced.toStdString();
    EXPECT_EQ(AccessibleName(window.get()), "测试版Orvanel -- 第1册  Unit 1 Hello!");
}

}  // namespace

// The first word's pictures load on a second thread while the window is
// built; the view takes every one of them from there, and each picture is
// the right one.
TEST_F(FormMainTest, TheFirstWordsPicturesComeFromTheThreadThatLoadedThem) {
    CreateInstall(1, 0);
    const auto picture = [](QColor colour) {
        QByteArray bytes = TempInstall::MakeJpeg(80, 60, colour, 95);
        ModuleCrpt::ScrambleHeader(bytes);
        return bytes;
    };
    install.WriteFile("Common/pics/cat.pet", picture(Qt::red));
    install.WriteFile("Common/pics/dog.pet", picture(Qt::blue));
    install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(80, 60));
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->Store().PrefetchedShown(), 3) << "the default picture and both thumbnails";
    window->show();
    QTRY_COMPARE(window->Orvanel1->Picture1->accessibleName(), QString("cat"));
    EXPECT_EQ(window->Store().PrefetchedShown(), 4) << "and the word's own picture, coming in over itself";

    const auto middle = [](const QImage& image) { return QColor(image.pixel(image.width() / 2, image.height() / 2)); };
    EXPECT_GT(middle(window->Orvanel1->Picture1->Image()).red(), 200);
    const QToolButton* dogThumb = window->Orvanel1->ArrImages[1];
    EXPECT_GT(middle(dogThumb->icon().pixmap(dogThumb->iconSize()).toImage()).blue(), 200);
    EXPECT_EQ(install.ReadFile("Common/pics/cat.pet"), picture(Qt::red)) << "rests scrambled";
    EXPECT_FALSE(install.Exists("Common/pics/cat.jpg"));
    window->hide();
}

// Browsing other books in the book dialog or the learning status reads their
// units; afterwards the word index still names the word the view shows, so
// the next move starts from there.
TEST_F(FormMainTest, BrowsingOtherBooksKeepsTheWordBeingStudied) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    Orvanel* view = window->Orvanel1;
    view->cmdNextWord->click();
    LessonState& state = window->State();
    ASSERT_EQ(state.CurWordIndex, 1);

    WhenModal([&](QWidget* modal) {
        auto* form = static_cast<FormBookUnit*>(modal);
        ClickItem(form->lstBook, 1);
        form->cmdCancle->click();
    });
    window->mnuFILE_BookUnit->trigger();
    EXPECT_EQ(state.CurWordIndex, 1);
    EXPECT_EQ(state.UnitCount, 2) << "the current book's units again";

    WhenModal([&](QWidget* modal) {
        auto* status = static_cast<FormLearnStatus*>(modal);
        status->lstBook->setCurrentRow(1);
        status->cmdOK->click();
    });
    window->mnuTEST_Result->trigger();
    EXPECT_EQ(state.CurWordIndex, 1);
    EXPECT_EQ(view->lblWordNum->text(), "2/2");

    view->cmdPrevWord->click();
    EXPECT_EQ(state.CurEnglish, "hello");
    EXPECT_EQ(view->lblWordNum->text(), "1/2");
}

// A database that refuses every write: choosing another unit tells the pupil
// once, and the unit stays until its results are written, so none is lost.
TEST_F(FormMainTest, AUnitChangeWaitsUntilTheResultsAreWritten) {
    CreateInstall(0, 0);
    install.Exec("create trigger NoResults before update on words begin select raise(abort, 'read only'); end");
    install.Exec("create trigger NoPosition before update on FeatureTable begin select raise(abort, 'read only'); end");
    ASSERT_TRUE(window->Start());
    window->State().Words[1].CountAnswer(true);  // red
    QString notice;
    WhenModal([&](QWidget* modal) {
        auto* form = static_cast<FormBookUnit*>(modal);
        ClickItem(form->lstBook, 1);
        ClickItem(form->lstUnit, 0);
        form->cmdOK->click();
        ASSERT_TRUE(form->isVisible());
        notice = form->lblNotSaved->isHidden() ? QString() : form->lblNotSaved->text();
        EXPECT_EQ(window->State().Words[1].English, "red");
        ModuleCrpt::ScrambleHeader(install.DbPath());
        install.Exec("drop trigger NoResults");
        install.Exec("drop trigger NoPosition");
        ModuleCrpt::ScrambleHeader(install.DbPath());
        form->cmdOK->click();
    });
    window->mnuFILE_BookUnit->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("学习结果没有保存"));
    EXPECT_TRUE(notice.startsWith("学习结果没有保存，所以现在还不能换单元。")) << notice.toStdString();
    EXPECT_EQ(window->State().CurEnglish, "cat");
    EXPECT_EQ(Stored("select Result from words where English = 'red'"), "2|0|2");
}

// Leaving the test or the letter game for the book dialog asks once; after
// that the game or test is over, whether a unit is chosen or not.
TEST_F(FormMainTest, LeavingARunForTheBookDialogAsksOnce) {
    CreateInstall(0, 0);
    ASSERT_TRUE(window->Start());
    const struct {
        QAction* command;
        bool choose;
        QString question, firstWord;
    } cases[] = {{window->mnuTEST_SelectChinese, false, "还没有完成测试，你确定要结束单元测试吗?", "hello"},
                 {window->mnuTEST_SelectChinese, true, "还没有完成测试，你确定要结束单元测试吗?", "cat"},
                 {window->mnuGAME_PPK, false, "还没有完成游戏，你确定要结束吗?", "cat"},
                 {window->mnuGAME_PPK, true, "还没有完成游戏，你确定要结束吗?", "hello"}};
    for (const auto& c : cases) {
        const qint16 otherBook = static_cast<qint16>(1 - window->State().CurBook);
        if (c.command == window->mnuGAME_PPK) AnswerPictureQuestion();
        c.command->trigger();
        messages.shown.clear();
        messages.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
        WhenModal([&](QWidget* modal) {
            auto* form = static_cast<FormBookUnit*>(modal);
            if (!c.choose) return form->cmdCancle->click();
            ClickItem(form->lstBook, otherBook);
            form->cmdOK->click();
        });
        window->mnuFILE_BookUnit->trigger();
        const auto asked = std::ranges::count_if(messages.shown, [&](const auto& m) { return m.text == c.question; });
        EXPECT_EQ(asked, 1) << c.question.toStdString();
        EXPECT_EQ(window->ViewMode(), 1);
        EXPECT_EQ(VisibleViews(), std::vector<QWidget*>{window->Orvanel1});
        EXPECT_EQ(window->State().CurEnglish, c.firstWord);
        messages.answers.clear();
    }
}

#include "FormMainTest.moc"
