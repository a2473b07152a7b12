#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <malloc.h>

#include "app/FormMain.h"
#include "app/StartupWarmup.h"
#include "media/ModuleCrpt.h"
#include "quiz/WordRRK.h"
#include "tests/support/QtApp.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

namespace {

class FormMainSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        install.CreateDatabase({{"Unit 1", "Unit 2"}, {"Unit 1"}},
                               {{0, 0, "hello", "你好"}, {0, 0, "red", "红色", 0, "1|0|1"}, {1, 0, "cat", "猫"}},
                               0, 1);
        install.Exec("insert into words values (0, 1, 'blue', '蓝色', 0, NULL)");
    }

    std::unique_ptr<FormMain> MakeWindow() {
        return std::make_unique<FormMain>(install.BinDir(), messages, output, recorder, random, warmup);
    }

    QString Stored(const QString& sql) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        const QString value = install.Query(sql).toString();
        ModuleCrpt::ScrambleHeader(install.DbPath());
        return value;
    }

    TempInstall install;
    ScriptedMessageService messages;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    ScriptedRandom random;
    StartupWarmup warmup;
};

// A child widget that, like a view stopping its sound or timer, still uses
// the shared state while it is destroyed.
class StateReadingWidget : public QWidget {
public:
    StateReadingWidget(LessonState& state, QString& seen, QWidget* parent)
        : QWidget(parent), state_(state), seen_(seen) {}
    ~StateReadingWidget() override { seen_ = state_.Words.empty() ? QString() : state_.Words.front().English; }

private:
    LessonState& state_;
    QString& seen_;
};

TEST_F(FormMainSessionTest, ServicesOutliveTheChildWidgets) {
    // Freed memory is overwritten, so a use after the services died would not
    // read back the old text by chance.
    mallopt(M_PERTURB, 0xa5);
    QString seen;
    {
        auto window = MakeWindow();
        ASSERT_TRUE(window->Start());
        new StateReadingWidget(window->State(), seen, window->MainFrame);
    }
    mallopt(M_PERTURB, 0);
    EXPECT_EQ(seen, "blue");
}

// The database file disappears during the session (a USB stick pulled out):
// Yes at exit says once that nothing was saved, and the program still ends.
TEST_F(FormMainSessionTest, ExitWithAFailingDatabaseTellsOnceAndCloses) {
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start());
    window->show();
    window->State().Words[0].CountAnswer(true);
    ASSERT_TRUE(QFile::rename(install.DbPath(), install.DbPath() + ".away"));
    messages.Answer(MsgAnswer::Yes);
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "学习结果没有保存：无法写入词库文件\n" + install.DbPath() +
                                          "\n请确认这个文件和它所在的文件夹可以写入，程序会在下次保存时再试。");
    EXPECT_EQ(messages.shown[1].title, "测试版");
    EXPECT_FALSE(messages.shown[1].text.contains("重新安装"));
    const CWordType& blue = window->State().Words[0];  // still in memory for another try
    EXPECT_EQ(QString("%1|%2|%3").arg(blue.testNum).arg(blue.errNum).arg(blue.rightNum), "1|0|1");
}

TEST_F(FormMainSessionTest, TooManyUnitsEndTheStartWithoutMovingThePupil) {
    install.Exec("insert into words_BookUnit (VersionID, BookID, BookName, UnitID, UnitName) "
                 "with recursive n(i) as (select 2 union all select i + 1 from n where i < 40001) "
                 "select 7, 0, '第1册', i, 'Unit' from n");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    const QByteArray before = install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName);
    {
        auto window = MakeWindow();
        EXPECT_FALSE(window->Start());
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(install.DbPath()));
    EXPECT_EQ(install.ReadFile("Bin/AppPics/" + LessonDatabase::kFileName), before);
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "0,1");
}

TEST_F(FormMainSessionTest, SessionEndSavesLikeYesWithoutAsking) {
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start());
    window->State().Words[0].CountAnswer(false);
    window->EndSession();
    EXPECT_TRUE(window->SessionEnded());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Stored("select LastBook || ',' || LastUnit from FeatureTable"), "0,1");
    EXPECT_EQ(Stored("select Result from words where English = 'blue'"), "1|1|0");
}

// The file refuses the unit's mark when the test is passed; the mark is kept
// and written at exit, once the file takes writes again.
TEST_F(FormMainSessionTest, AUnitMarkThatCouldNotBeStoredIsWrittenAtExit) {
    install.Exec("create trigger NoMarks before update on words_BookUnit begin select raise(abort, 'no'); end");
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start());
    window->show();
    window->mnuTEST_SelectChinese->trigger();
    window->WordRRK1->optAns[0]->click();  // blue, the unit's only word
    window->WordRRK1->cmdOK->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("学习结果没有保存"));
    ModuleCrpt::ScrambleHeader(install.DbPath());
    install.Exec("drop trigger NoMarks");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    messages.Answer(MsgAnswer::Yes);
    window->close();
    EXPECT_EQ(Stored("select UnitStatus from words_BookUnit where BookID = 0 and UnitID = 1"), "2");
}

TEST_F(FormMainSessionTest, MissingMediaFolderIsNamedOnceAndTheProgramRuns) {
    QDir(install.DataDir()).removeRecursively();
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "找不到存放图片和声音的文件夹：\n" + install.DataDir() +
                                          "\n单词的图片和读音将不能显示和播放。");
    EXPECT_EQ(window->ViewMode(), 1);
    window->ShowUserControl(1);
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
