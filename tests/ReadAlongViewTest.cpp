#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
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
const QList<QColor> kColours = {QColor(220, 40, 40), QColor(40, 200, 40), QColor(40, 40, 220)};

// The listen-and-read view's sound side on a real temporary installation,
// with scripted sound output, recorder and clock.
class ReadAlongViewTest : public ViewFixture {
protected:
    void SetUp() override {
        std::vector<TempInstall::Word> rows;
        for (int i = 0; i < kWords.size(); ++i) {
            rows.push_back({0, 0, kWords[i], "词"});
            AddPicture(kWords[i], TempInstall::MakeJpeg(40, 30, kColours[i], 95));
            AddVoice(kWords[i], 0.05);
        }
        for (const char* letter : {"c", "a", "t"}) AddVoice(letter);
        install.WriteFile("Common/pics/ffe.jpg", TempInstall::MakeJpeg(40, 30, QColor(100, 100, 100), 95));
        install.CreateDatabase({{"Unit 1"}}, rows);
        db.BuildConnString(install.AppPicsDir());
        ASSERT_TRUE(db.LoadSettings());
        catalogue.LoadUnits(0);
        words.LoadUnitWords(0, 0);
        Start();
        Go(0);
    }

    // A new view on the unit, as at the program's start: no word shown yet.
    void Start() {
        state.CurEnglish.clear();
        view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(), nullptr);
        view->resize(1000, 640);
        view->InitUserControl();
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
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

    // The word whose colour the middle of the picture has ("ffe" is grey).
    static QString WordOf(const QImage& picture) {
        const QColor c = picture.pixelColor(picture.width() / 2, picture.height() / 2);
        return c.red() > 150 ? "cat" : c.green() > 150 ? "dog" : c.blue() > 150 ? "pig" : "ffe";
    }

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
    QTest::keyClick(view->lblMyAudio, Qt::Key_Space);
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

// Every sound plays while the screen already shows what it belongs to: the
// newest word with its counter and resting picture, the spelling as far as
// it has been spoken.
TEST_F(ReadAlongViewTest, EachSoundPlaysWhileTheScreenShowsItsWord) {
    const auto secondNextDuringTransition = [&] {
        ticks.whileWaiting = [&] {
            if (state.EffectRunning && state.CurWordIndex == 1) Click(view->cmdNextWord);
        };
        Click(view->cmdNextWord);
        ticks.whileWaiting = nullptr;
    };
    const auto spell = [&] {
        Click(view->txtEnglish);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->TimerAnimation->isActive(); }, 3000));
    };
    const std::vector<std::tuple<std::function<void()>, QStringList, QString>> rows = {
        {secondNextDuringTransition, {"pig"}, "pig"}, {spell, {"c", "a", "t", "cat"}, "cat"}};
    for (const auto& [act, sounds, picture] : rows) {
        Go(0);
        QStringList heard;
        output.whilePlaying = [&](const QString& path) {
            heard << QFileInfo(path).completeBaseName();
            const QImage screen = view->screen()->grabWindow(view->winId()).toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_TRUE(screen == view->grab().toImage().convertToFormat(QImage::Format_RGB32)) << "lags at " << heard.last().toStdString();
            EXPECT_EQ(WordOf(screen.copy(QRect(view->Picture1->mapTo(view.get(), QPoint()), view->Picture1->size()))), picture);
        };
        act();
        output.whilePlaying = nullptr;
        EXPECT_EQ(heard, sounds);
    }
}

TEST_F(ReadAlongViewTest, TheFirstWordEntersFromTheDefaultPicture) {
    Start();
    QStringList seen;
    ticks.whileWaiting = [&] { seen << WordOf(view->Picture1->Image()); };
    Go(0);
    ticks.whileWaiting = nullptr;
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first(), "ffe");
    EXPECT_EQ(WordOf(view->Picture1->Image()), "cat");
}

// Whatever was clicked last, the arrows, Enter and Space move through the
// unit; a control reached by Tab answers Space itself.
TEST_F(ReadAlongViewTest, KeysMoveWhateverWasClickedLast) {
    const std::vector<std::tuple<std::function<void()>, std::vector<std::pair<Qt::Key, int>>>> rows = {
        {[&] { Click(view->cmdLastWord); }, {{Qt::Key_Right, 0}, {Qt::Key_Space, 1}}},
        {[&] { Click(view->txtEnglish); }, {{Qt::Key_Right, 1}, {Qt::Key_Space, 2}}},
        {[&] { view->cmdLastWord->setFocus(Qt::TabFocusReason); }, {{Qt::Key_Space, 2}, {Qt::Key_Space, 0}, {Qt::Key_Return, 1}}},
    };
    for (const auto& [act, keys] : rows) {
        Go(0);
        view->Picture1->setFocus();
        act();
        for (const auto& [key, index] : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(state.CurWordIndex, index) << QTest::toString(key);
        }
    }
    EXPECT_TRUE(messages.shown.empty()) << "上一页 got a key";
    EXPECT_TRUE(host.modes.empty()) << "列表显示 got a key";
}

TEST_F(ReadAlongViewTest, BrowsingWaitsUnderAModalWindowAndEndsSilentlyWhenTheViewIsHidden) {
    view->chkAutoplay->click();
    view->TimerAutoplay->setInterval(1);
    QDialog dialog(view.get());
    dialog.open();
    const int at = state.CurWordIndex;
    QTest::qWait(100);
    EXPECT_EQ(state.CurWordIndex, at) << "nothing moves behind the window";
    dialog.close();
    ticks.whileWaiting = [&] {
        if (state.CurWordIndex != at) view->hide();
    };
    output.played.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->isHidden(); }, 2000)) << "browsing goes on after it";
    ticks.whileWaiting = nullptr;
    QTest::qWait(50);
    EXPECT_FALSE(view->chkAutoplay->isChecked());
    EXPECT_FALSE(view->TimerAutoplay->isActive());
    EXPECT_TRUE(output.played.isEmpty()) << "the hidden view spoke";
}
}  // namespace
