#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "tests/support/ScriptedTickSource.h"
#include "tests/support/ViewFixture.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/PictureBox.h"

namespace {

const QStringList kWords = {"cat", "dog", "pig"};

// The listen-and-read view's sound side on a real temporary installation,
// with scripted sound output, recorder and clock.
class ReadAlongViewTest : public ViewFixture {
protected:
    void SetUp() override {
        std::vector<TempInstall::Word> rows;
        for (const QString& word : kWords) {
            rows.push_back({0, 0, word, "词"});
            AddMedia(word, 40, 30, 0.05);
        }
        install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(40, 30));
        install.CreateDatabase({{"Unit 1"}}, rows);
        db.BuildConnString(install.AppPicsDir());
        ASSERT_TRUE(db.LoadSettings());
        catalogue.LoadUnits(0);
        words.LoadUnitWords(0, 0);
        view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(), nullptr);
        view->resize(1000, 640);
        view->InitUserControl();
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        Go(0);
    }

    void Go(int index) {
        qint16 at = static_cast<qint16>(index);
        view->ChangeWord(at);
        output.played.clear();
    }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    bool HasRecording(const QString& word) const { return install.Exists("Common/myvoice/" + word + ".wav"); }

    QStringList Played() const {
        QStringList names;
        for (const QString& path : output.played) names << path.section('/', -2);
        return names;
    }

    bool Recording() const { return view->lblRecord->text() == "停止"; }

    // Lets a timer fire now instead of after its designed interval.
    static bool Fire(QTimer* timer, const std::function<bool()>& done) {
        timer->setInterval(1);
        return QTest::qWaitFor(done, 2000);
    }

    QColor MyAudioColour() const { return view->lblMyAudio->palette().color(QPalette::WindowText); }

    ScriptedTickSource ticks;
    std::unique_ptr<Orvanel> view;
};

TEST_F(ReadAlongViewTest, RecordLabelStartsAndASecondClickSavesAndPlaysBack) {
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    EXPECT_EQ(MyAudioColour(), QColor(Qt::red));
    Click(view->lblRecord);
    EXPECT_EQ(view->lblRecord->text(), "停止");
    EXPECT_EQ(view->imgRecord->accessibleName(), "停止");
    EXPECT_TRUE(view->TimerRecord->isActive());
    EXPECT_EQ(view->TimerRecord->interval(), 15000);
    EXPECT_EQ(view->lblMyAudio->text(), "我的朗读");
    EXPECT_EQ(MyAudioColour(), QColor(Qt::black));
    EXPECT_EQ(recorder.format, (RecordFormat{2, 16, 44100}));
    QTest::qWait(50);
    Click(view->imgRecord);
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_EQ(view->imgRecord->accessibleName(), "开始录音");
    EXPECT_FALSE(view->TimerRecord->isActive());
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_EQ(Played(), QStringList({"myvoice/cat.wav"}));
    EXPECT_EQ(view->lblMyAudio->text(), "我的朗读");
}

TEST_F(ReadAlongViewTest, FifteenSecondsEndARecordingWithoutPlayback) {
    Click(view->lblRecord);
    ASSERT_TRUE(Fire(view->TimerRecord, [&] { return !Recording(); }));
    EXPECT_FALSE(view->TimerRecord->isActive());
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_EQ(view->lblMyAudio->text(), "我的朗读");
}

TEST_F(ReadAlongViewTest, StandardPronunciationDuringARecordingSavesFirstAndPlaysOnlyTheStandard) {
    Click(view->lblRecord);
    bool saved = false;
    output.whilePlaying = [&](const QString&) { saved = HasRecording("cat"); };
    Click(view->lblStandardAudio);
    EXPECT_TRUE(saved);
    EXPECT_EQ(Played(), QStringList({"voice/cat.wav"}));
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_FALSE(view->TimerRecord->isActive());
}

TEST_F(ReadAlongViewTest, BothWithoutARecordingSpeaksThenAsksForOne) {
    Click(view->lblBothAudio);
    EXPECT_EQ(Played(), QStringList({"voice/cat.wav"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "请先录音！");
    EXPECT_EQ(messages.shown[0].title, "跟读录音");
    output.played.clear();
    Click(view->imgMyAudio);
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(ReadAlongViewTest, TryAgainDeletesTheRecordingAndTheIndicatorStaysRed) {
    Click(view->lblRecord);
    Click(view->lblRecord);
    ASSERT_TRUE(HasRecording("cat"));
    Click(view->imgReadBad);
    EXPECT_FALSE(HasRecording("cat"));
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    EXPECT_EQ(MyAudioColour(), QColor(Qt::red));
    Go(1);
    Go(0);
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    Click(view->imgReadBad);  // nothing left to delete
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAlongViewTest, MovingDuringARecordingSavesItUnderItsOwnWord) {
    Click(view->lblRecord);
    Click(view->cmdNextWord);
    EXPECT_EQ(state.CurEnglish, "dog");
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_FALSE(HasRecording("dog"));
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_FALSE(view->TimerRecord->isActive());
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    EXPECT_FALSE(Played().contains("myvoice/cat.wav"));
}

TEST_F(ReadAlongViewTest, AutoplayFromTheLastWordStartsAtOnceThenEveryThreeSeconds) {
    Go(2);
    view->chkAutoplay->click();
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_TRUE(view->TimerAutoplay->isActive());
    EXPECT_EQ(view->TimerAutoplay->interval(), 3000);
    ASSERT_TRUE(Fire(view->TimerAutoplay, [&] { return state.CurWordIndex == 1; }));
    EXPECT_TRUE(view->chkAutoplay->isChecked());
    view->chkAutoplay->click();
    EXPECT_FALSE(view->TimerAutoplay->isActive());
}

TEST_F(ReadAlongViewTest, ActionsThatStopAutoplayAndThoseThatDoNot) {
    const std::vector<std::pair<const char*, std::function<void()>>> stopping = {
        {"first", [&] { Click(view->cmdFirstWord); }},
        {"last", [&] { Click(view->cmdLastWord); }},
        {"next", [&] { Click(view->cmdNextWord); }},
        {"previous", [&] { Click(view->cmdPrevWord); }},
        {"key", [&] { QTest::keyClick(view.get(), Qt::Key_Right); }},
        {"thumbnail", [&] { Click(view->ArrImages[2]); }},
        {"list", [&] { Click(view->cmdToWordList); }},
        {"standard", [&] { Click(view->imgStandardAudio); }},
        {"mine", [&] { Click(view->lblMyAudio); }},
        {"both", [&] { Click(view->imgBothAudio); }},
        {"record", [&] { Click(view->imgRecord); }},
    };
    for (const auto& [name, act] : stopping) {
        Go(1);
        view->chkAutoplay->setChecked(true);
        view->TimerAutoplay->start();
        act();
        EXPECT_FALSE(view->chkAutoplay->isChecked()) << name;
        EXPECT_FALSE(view->TimerAutoplay->isActive()) << name;
    }
    const std::vector<std::pair<const char*, std::function<void()>>> leaving = {
        {"next page", [&] { Click(view->picNextWord); }},
        {"previous page", [&] { Click(view->picPrevWord); }},
        {"picture", [&] { Click(view->Picture1); }},
        {"spelling", [&] { Click(view->txtEnglish); }},
        {"english", [&] { Click(view->chkEnglish); }},
        {"chinese", [&] { Click(view->chkChinese); }},
        {"shuffle", [&] { Click(view->chkRnd); }},
        {"try again", [&] { Click(view->imgReadBad); }},
    };
    view->TimerAutoplay->setInterval(60000);
    for (const auto& [name, act] : leaving) {
        view->chkAutoplay->setChecked(true);
        view->TimerAutoplay->start();
        act();
        EXPECT_TRUE(view->chkAutoplay->isChecked()) << name;
        EXPECT_TRUE(view->TimerAutoplay->isActive()) << name;
    }
}

TEST_F(ReadAlongViewTest, PictureClickSpeaksTheWord) {
    Click(view->Picture1);
    EXPECT_EQ(Played(), QStringList({"voice/cat.wav"}));
}

TEST_F(ReadAlongViewTest, ReadAlongCheckBoxHidesThePanelAndKeepsRecordings) {
    Click(view->lblRecord);
    Click(view->lblRecord);
    view->chkRead->click();
    EXPECT_TRUE(view->FrameRecorder->isHidden());
    Go(1);
    Go(0);
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_EQ(view->lblMyAudio->text(), "我的朗读");
    view->chkRead->click();
    EXPECT_FALSE(view->FrameRecorder->isHidden());
}

TEST_F(ReadAlongViewTest, RecordingByKeyboard) {
    view->imgRecord->setFocus();
    QTest::keyClick(view->imgRecord, Qt::Key_Space);
    EXPECT_EQ(view->imgRecord->accessibleName(), "停止");
    QTest::keyClick(view->imgRecord, Qt::Key_Space);
    EXPECT_EQ(view->imgRecord->accessibleName(), "开始录音");
    EXPECT_TRUE(HasRecording("cat"));
    view->lblMyAudio->setFocus();
    output.played.clear();
    QTest::keyClick(view->lblMyAudio, Qt::Key_Return);
    EXPECT_EQ(Played(), QStringList({"myvoice/cat.wav"}));
}

TEST_F(ReadAlongViewTest, AFailedStartLeavesTheControlsIdle) {
    recorder.openError = "找不到录音设备（麦克风），请接好麦克风后再试。";
    Click(view->lblRecord);
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_FALSE(view->TimerRecord->isActive());
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Error");
}

}  // namespace
