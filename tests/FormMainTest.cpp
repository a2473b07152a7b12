#include "app/FormBookUnit.h"
#include "app/FormMain.h"
#include "app/StartupWarmup.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "media/ModuleCrpt.h"
#include "quiz/FormReview.h"
#include "quiz/FormRRK.h"
#include "quiz/WordRRK.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"
#include "views/Orvanel.h"
#include "views/WordList.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

namespace {

const QString kNoWords = "没有找到您要的单词库，请下载最新的版本！";
const QString kBook1 = "测试版Orvanel -- 第1册  Unit 1 Hello!", kBook2 = "测试版Orvanel -- 第2册  Unit 1 Animals";
const QString kPosition = "select LastBook || ',' || LastUnit from FeatureTable";
const QString kResults = "select group_concat(English || ':' || Result) from words";

class FormMainTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    // Book 1: "hello", "red" in unit 1, unit 2 empty; book 2: "cat", "dog". Scrambled, as installed.
    void SetUp() override {
        install.CreateDatabase({{"Unit 1 Hello!", "Unit 2 Empty"}, {"Unit 1 Animals"}},
                               {{0, 0, "hello", "你好"}, {0, 0, "red", "红色", 0, "1|0|1"}, {1, 0, "cat", "猫"}, {1, 0, "dog", "狗"}});
        ModuleCrpt::ScrambleHeader(install.DbPath());
        Reopen();
    }
    void Reopen(const QString& sql = {}) {
        window.reset();
        if (!sql.isEmpty()) install.OnScrambled(sql);
        messages.shown.clear(), messages.answers.clear();
        window = std::make_unique<FormMain>(install.BinDir(), messages, output, recorder, random, warmup);
    }
    QStringList Told(int length = -1) {
        QStringList texts;
        for (const auto& shown : messages.shown) texts << shown.text.left(length);
        return texts;
    }
    QByteArray File() { return install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName); }
    void Click(int button) { QTest::mouseClick(window->imgCommand[button], Qt::LeftButton); }
    // The mode and the views shown, each filling the frame.
    QString Seen() {
        const std::pair<QWidget*, QString> views[] = {{window->Orvanel1, "read"}, {window->WordList1, "list"}, {window->WordPPK21, "letters"},
            {window->WordRRK1, "test"}, {window->WordFFK1, "flip"}, {window->WordPicList1, "pictures"}, {window->FormReview1, "review"}};
        QString seen = QString::number(window->ViewMode());
        for (const auto& [view, name] : views)
            if (view && !view->isHidden()) seen += " " + name + (view->geometry() == window->MainFrame->rect() ? "" : "?");
        return seen;
    }
    // What the pupil sees: views, book and unit, the word and its number, the title.
    QString Where() {
        const LessonState& s = window->State();
        return QString("%1 %2%3 %4 %5 ").arg(Seen()).arg(s.CurBook).arg(s.CurUnit).arg(s.CurEnglish,
               window->Orvanel1->lblWordNum->text()) + window->windowTitle();
    }
    template <class Question> void Answer(Question& question, const QString& meaning, bool right = true) {
        for (QRadioButton* option : question.optAns)
            if ((option->text() == meaning) == right && !option->isHidden()) { option->click(); break; }
        question.cmdOK->click();
    }
    // The letter game opens its picture question first: the right meaning is picked.
    void AnswerPictureQuestion() {
        WhenModal([this](QWidget* modal) {
            ASSERT_TRUE(dynamic_cast<FormRRK*>(modal)) << "no picture question";
            Answer(*static_cast<FormRRK*>(modal), window->State().Words[window->WordPPK21->PuzzleIndex].Chinese);
        });
    }
    static void ClickItem(QListWidget* list, int row, bool twice = false) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    TempInstall install;
    ScriptedMessageService messages;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    ScriptedRandom random;
    StartupWarmup warmup;
    std::unique_ptr<FormMain> window;
};

// A stored book or unit outside the lists, by one or more, falls back to the first; a stored unit without words
// opens the choice of unit, and none chosen ends the program. A missing media folder is named once.
TEST_F(FormMainTest, StartsOnTheStoredUnitOrTheFirst) {
    const QString noMedia = "找不到存放图片和声音的文件夹：\n" + install.DataDir() + "/voice\n单词的图片和读音将不能显示和播放。";
    const struct { int book, unit; bool choose; QString where; QStringList told; } rows[] = {{1, 0, false, "10 cat 1/2 " + kBook2, {}},
        {1, 1, false, "10 cat 1/2 " + kBook2, {}}, {2, 0, false, "00 hello 1/2 " + kBook1, {}}, {5, 9, false, "00 hello 1/2 " + kBook1, {}},
        {0, 1, true, "10 cat 1/2 " + kBook2, {kNoWords}}, {0, 1, false, "", {kNoWords, "没有选择单元，程序将退出。"}},
        {0, 0, false, "00 hello 1/2 " + kBook1, {noMedia}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.where.toStdString() + row.told.join(' ').toStdString());
        Reopen(QString("update FeatureTable set LastBook = %1, LastUnit = %2").arg(row.book).arg(row.unit));
        if (row.told.contains(noMedia)) QDir(install.DataDir() + "/voice").removeRecursively();
        // A unit without words opens the choice of unit.
        if (row.told.contains(kNoWords)) WhenModal([&](QWidget* modal) {
            auto* form = static_cast<FormBookUnit*>(modal);
            if (!row.choose) return form->cmdCancle->click();
            ClickItem(form->lstBook, 1);
            ClickItem(form->lstUnit, 0, true);
        });
        EXPECT_EQ(window->Start() ? Where() : "", row.where.isEmpty() ? "" : "1 read " + row.where);
        EXPECT_EQ(Told(), row.told);
        EXPECT_TRUE(install.DbIsScrambled());
    }
}

// Views other than the listen-and-read one are made when first shown.
TEST_F(FormMainTest, EachCommandShowsItsViewAloneFillingTheFrame) {
    ASSERT_TRUE(window->Start());
    EXPECT_FALSE(window->WordList1 || window->WordPPK21 || window->WordRRK1 || window->WordFFK1 || window->WordPicList1 || window->FormReview1 ||
                 window->mnuTEST_WordErrNum->isEnabled()) << "no view made yet, and no test details to show";
    const auto show = [this](int mode) { return [this, mode] { window->ShowUserControl(static_cast<qint16>(mode)); }; };
    const std::pair<std::function<void()>, QString> rows[] = {
        {[this] { window->mnuLEARN_WordList->trigger(); }, "8 pictures"},
        {[this] { QTest::mouseDClick(window->WordPicList1->imgWord[1], Qt::LeftButton); }, "1 read"},
        {[this] { EXPECT_EQ(window->State().CurEnglish, "red"); AnswerPictureQuestion(); Click(2); }, "3 letters"},
        {[this] { Click(3); }, "6 flip"}, {[this] { Click(4); }, "4 test"}, {show(2), "2 list"},
        {show(9), "9 review"}, {[this] { Click(1); }, "1 read"}, {show(0), "0"}, {show(5), "5"}, {show(7), "7"}};
    for (const auto& [go, seen] : rows) { go(); EXPECT_EQ(Seen(), seen); }
}

// A run starts with every word untested; with an error it ends on the result list, all right on the
// words with the unit marked: a mark the file refuses is told, kept and written at the exit.
TEST_F(FormMainTest, ATestRunEndsOnTheResultListOrMarksThePassedUnit) {
    for (const int wrong : {1, 0}) {
        SCOPED_TRACE(wrong);
        Reopen(wrong ? "" : "create trigger NoMarks before update on words_BookUnit begin select raise(abort, 'no'); end");
        ASSERT_TRUE(window->Start()); window->show();
        LessonState& state = window->State();
        state.Words[0].Tested = state.Words[1].CurrErr = true, state.TestedCount = 2;
        window->mnuTEST_SelectChinese->trigger();
        EXPECT_EQ(QString("%1%2%3").arg(state.TestedCount).arg(state.Words[0].Tested).arg(state.Words[1].CurrErr), "000");
        // Answers up to four of the test's questions while it runs, the first `wrong` of them wrongly.
        for (int asked = 0; asked < 4 && window->ViewMode() == 4; ++asked) {
            const QString english = window->WordRRK1->lblTestWord->text();
            for (const CWordType& word : state.Words)
                if (word.English == english) Answer(*window->WordRRK1, word.Chinese, asked >= wrong);
        }
        EXPECT_EQ(Seen(), wrong ? "2 list" : "1 read");
        if (wrong) {
            EXPECT_EQ(QString::number(window->WordList1->ListView1->topLevelItemCount()) + window->WordList1->lblResult->text(),
                      "2本次共测试2个单词,其中有1个单词出错！");
            const size_t shown = messages.shown.size();
            window->mnuLEARN_Orvanel->trigger();
            EXPECT_EQ(Seen() + QString(" %1").arg(messages.shown.size() - shown), "1 read 0") << "nothing more is asked";
        } else {
            EXPECT_EQ(Told(8), QStringList({"学习结果没有保存", "你好棒喔！全对了"}));
        }
        install.OnScrambled("drop trigger if exists NoMarks");
        messages.Answer(MsgAnswer::Yes);
        window->close();
        EXPECT_EQ(install.OnScrambled("select group_concat(BookID || UnitID || ':' || UnitStatus) from words_BookUnit "
                      "where UnitStatus is not null"), wrong ? "" : "00:2");
    }
}

// A file gone away (a USB stick pulled out) is told once; the results stay in memory.
TEST_F(FormMainTest, LeavingSavesThePositionAndEveryResultUnlessThePupilSaysNo) {
    const QString kAway = "学习结果没有保存：无法写入词库文件\n" + install.DbPath() +
                          "\n请确认这个文件和它所在的文件夹可以写入，程序会在下次保存时再试。";
    const struct { const char* name; MsgAnswer answer; bool away; } rows[] = {{"no", MsgAnswer::No, false},
        {"yes", MsgAnswer::Yes, false}, {"session end", MsgAnswer::Ok, false}, {"file away", MsgAnswer::Yes, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool asks = row.answer != MsgAnswer::Ok, saves = row.answer != MsgAnswer::No && !row.away;
        Reopen("update FeatureTable set LastBook = 5, LastUnit = 9; update words set Result = NULL where "
               "English = 'hello'; update words set Result = '1|0|1' where English = 'red'");
        ASSERT_TRUE(window->Start()); window->show();
        window->State().Words[1].CountAnswer(false);
        const QByteArray before = File();
        if (row.away) { ASSERT_TRUE(QFile::rename(install.DbPath(), install.DbPath() + ".away")); }
        if (asks) messages.Answer(row.answer);
        row.answer == MsgAnswer::No ? window->mnuExit->trigger() : asks ? void(window->close()) : window->EndSession();
        EXPECT_EQ(QString("%1 %2").arg(window->isVisible()).arg(window->SessionEnded()), row.answer == MsgAnswer::No ? "1 0" : asks ? "0 0" : "1 1");
        ASSERT_EQ(Told(), (asks ? QStringList{"真的要退出吗?"} : QStringList()) + (row.away ? QStringList{kAway} : QStringList()));
        if (asks) { EXPECT_TRUE(messages.shown[0].title == "英语Orvanel" && messages.shown[0].buttons == MsgButtons::YesNo); }
        if (row.away) {
            const CWordType& red = window->State().Words[1];
            EXPECT_EQ(QString("%1 %2|%3|%4").arg(messages.shown[1].title).arg(red.testNum).arg(red.errNum).arg(red.rightNum), "测试版 2|1|0");
            ASSERT_TRUE(QFile::rename(install.DbPath() + ".away", install.DbPath()));
        }
        EXPECT_TRUE(install.DbIsScrambled());
        if (saves) { EXPECT_EQ(install.OnScrambled(kPosition) + ' ' + install.OnScrambled(kResults + " where Book = 0"), "0,0 hello:0|0|0,red:2|1|0"); }
        else { EXPECT_EQ(File(), before); }
    }
}

// Browsing other books keeps the unit and the word studied; results in memory are written first.
TEST_F(FormMainTest, BookUnitDialogBrowsesRefusesAnEmptyUnitAndChoosesOrCancels) {
    ASSERT_TRUE(window->Start());
    window->State().Words[1].CountAnswer(true);  // red
    window->Orvanel1->cmdNextWord->click();
    for (const bool choose : {false, true}) {
        SCOPED_TRACE(choose ? "chosen" : "cancelled");
        messages.shown.clear();
        bool stayedOpen = false;
        WhenModal([&](QWidget* modal) {
            auto* form = static_cast<FormBookUnit*>(modal);
            EXPECT_EQ(form->lblBookUnit->text(), "第1册  Unit 1 Hello!");
            EXPECT_GE(std::min({form->lstBook->font().pointSize(), form->lstUnit->font().pointSize(), form->cmdOK->font().pointSize()}), 12);
            ClickItem(form->lstBook, 1);
            EXPECT_EQ(QString::number(form->lstUnit->count()) + " " + form->lblBookUnit->text(), "1 第2册  Unit 1 Animals");
            ClickItem(form->lstBook, 0), ClickItem(form->lstUnit, 1);
            EXPECT_EQ(QString::number(form->lstUnit->count()) + " " + form->lblBookUnit->text(), "2 第1册  Unit 2 Empty");
            form->cmdOK->click();
            stayedOpen = form->isVisible();
            if (!choose) return form->cmdCancle->click();
            ClickItem(form->lstBook, 1), ClickItem(form->lstUnit, 0, true);
        });
        window->mnuFILE_BookUnit->trigger();
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(Told(), QStringList{kNoWords});
        const LessonState& state = window->State();
        EXPECT_EQ(install.OnScrambled(kPosition) + QString(" %1 %2 ").arg(state.WordCount).arg(state.UnitCount) + Where(),
                  choose ? "1,0 2 1 1 read 10 cat 1/2 " + kBook2 : "0,0 2 2 1 read 00 red 2/2 " + kBook1);
        EXPECT_EQ(install.OnScrambled(kResults + " where English = 'red'"), "red:2|0|2");
    }
}

}  // namespace
