#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
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
#include "views/ReadingWaves.h"
#include "views/RecorderPanel.h"
#include "views/StarRating.h"

namespace {

const QStringList kWords = {"cat", "dog", "pig"};
const QList<QColor> kColours = {QColor(220, 40, 40), QColor(40, 200, 40), QColor(40, 40, 220)};

// The listen-and-read view's sound side: three words, letters for spelling
// "cat", scripted sound output, recorder and clock.
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
        view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
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

    QStringList Played() const {
        QStringList names;
        for (const QString& path : output.played) names << path.section('/', -2);
        return names;
    }

    // Lets a timer fire now instead of after its designed interval.
    static bool Fire(QTimer* timer, const std::function<bool()>& done) {
        timer->setInterval(1);
        return QTest::qWaitFor(done, 2000);
    }

    // The word whose colour the middle of the picture has ("ffe" is grey).
    static QString WordOf(const QImage& picture) {
        const QColor c = picture.pixelColor(picture.width() / 2, picture.height() / 2);
        return c.red() > 150 ? "cat" : c.green() > 150 ? "dog" : c.blue() > 150 ? "pig" : "ffe";
    }

    ScriptedTickSource ticks;
    std::unique_ptr<Orvanel> view;
};

// The recorder panel after each sequence of clicks and keys, on a new view
// at "cat": the record control, the timer, the indicator, the files, the
// sounds and the messages.
TEST_F(ReadAlongViewTest, ThePanelShowsWhatEachSequenceLeaves) {
    struct Row {
        const char* name;
        std::function<void()> act;
        bool recording, recorded;
        QStringList kept, played, titles;
    };
    const auto record = [&] { Click(view->FrameRecorder->lblRecord); };
    const auto space = [&](QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Space);
    };
    const std::vector<Row> rows = {
        {"record", record, true, true, {}, {}, {}},
        {"stop by the picture", [&] { record(); QTest::qWait(50); Click(view->FrameRecorder->imgRecord); }, false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {}},
        {"time limit", [&] { record(); ASSERT_TRUE(Fire(view->TimerRecord, [&] { return !view->TimerRecord->isActive(); })); },
         false, true, {"cat.wav"}, {}, {}},
        {"standard", [&] { record(); Click(view->FrameRecorder->lblStandardAudio); }, false, true, {"cat.wav"}, {"voice/cat.wav"}, {}},
        {"picture", [&] { Click(view->Picture1); }, false, false, {}, {"voice/cat.wav"}, {}},
        {"both, none yet", [&] { Click(view->FrameRecorder->lblBothAudio); }, false, false, {}, {"voice/cat.wav"}, {"跟读录音"}},
        {"mine, none yet", [&] { Click(view->FrameRecorder->imgMyAudio); }, false, false, {}, {}, {"跟读录音"}},
        {"try again", [&] { record(); record(); Click(view->FrameRecorder->imgReadBad); }, false, false, {}, {"myvoice/cat.wav"}, {}},
        {"try again, none", [&] { Click(view->FrameRecorder->imgReadBad); }, false, false, {}, {}, {}},
        {"moved away", [&] { record(); Click(view->cmdNextWord); }, false, false, {"cat.wav"}, {"voice/dog.wav"}, {}},
        {"back again", [&] { record(); record(); Go(1); Go(0); }, false, true, {"cat.wav"}, {}, {}},
        {"no microphone", [&] { recorder.openError = "找不到录音设备"; record(); }, false, false, {}, {}, {"Error"}},
        {"by keyboard", [&] { space(view->FrameRecorder->imgRecord); space(view->FrameRecorder->imgRecord); space(view->FrameRecorder->lblMyAudio); }, false, true, {"cat.wav"},
         {"myvoice/cat.wav", "myvoice/cat.wav"}, {}},
    };
    for (const Row& row : rows) {
        view.reset();
        QDir myVoice(install.DataDir() + "/myvoice");
        for (const QString& file : myVoice.entryList(QDir::Files)) myVoice.remove(file);
        recorder.openError.clear();
        messages.shown.clear();
        Start();
        Go(0);
        output.whilePlaying = [&](const QString&) { EXPECT_EQ(view->FrameRecorder->lblRecord->text(), "开始录音") << row.name << ": not yet shown"; };
        row.act();
        output.whilePlaying = nullptr;
        const QString caption = row.recording ? "停止" : "开始录音";
        EXPECT_EQ(view->FrameRecorder->lblRecord->text(), caption) << row.name;
        EXPECT_EQ(view->FrameRecorder->imgRecord->accessibleName(), caption) << row.name;
        EXPECT_EQ(view->TimerRecord->isActive(), row.recording) << row.name;
        EXPECT_EQ(view->FrameRecorder->lblMyAudio->text(), row.recorded ? "我的朗读" : "尚未录音") << row.name;
        EXPECT_EQ(view->FrameRecorder->lblMyAudio->palette().color(QPalette::WindowText), row.recorded ? QColor(Qt::black) : QColor(Qt::red))
            << row.name;
        EXPECT_EQ(myVoice.entryList(QDir::Files), row.kept) << row.name;
        EXPECT_EQ(Played(), row.played) << row.name;
        QStringList titles;
        for (const auto& shown : messages.shown) titles << shown.title;
        EXPECT_EQ(titles, row.titles) << row.name;
    }
    EXPECT_EQ(view->TimerRecord->interval(), 15000);
}

TEST_F(ReadAlongViewTest, TheReadAlongSwitchHidesAndShowsThePanel) {
    view->chkRead->click();
    EXPECT_TRUE(view->FrameRecorder->isHidden());
    EXPECT_TRUE(view->Waves->isHidden());
    view->chkRead->click();
    EXPECT_FALSE(view->FrameRecorder->isHidden());
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
    const std::vector<std::pair<QWidget*, bool>> rows = {
        {view->cmdFirstWord, true}, {view->cmdLastWord, true}, {view->cmdNextWord, true}, {view->cmdPrevWord, true},
        {view.get(), true} /* a key */, {view->ArrImages[2], true}, {view->cmdToWordList, true},
        {view->FrameRecorder->imgStandardAudio, true}, {view->FrameRecorder->lblMyAudio, true}, {view->FrameRecorder->imgBothAudio, true}, {view->FrameRecorder->imgRecord, true},
        {view->picNextWord, false}, {view->picPrevWord, false}, {view->Picture1, false}, {view->txtEnglish, false},
        {view->chkEnglish, false}, {view->chkChinese, false}, {view->chkRnd, false}, {view->FrameRecorder->imgReadBad, false}};
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& [control, stops] = rows[i];
        Go(1);
        view->chkAutoplay->setChecked(true);
        view->TimerAutoplay->start(60000);
        control == view.get() ? QTest::keyClick(control, Qt::Key_Right) : Click(control);
        EXPECT_EQ(view->chkAutoplay->isChecked(), !stops) << "row " << i;
        EXPECT_EQ(view->TimerAutoplay->isActive(), !stops) << "row " << i;
    }
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
        {[&] { view->cmdNextWord->setFocus(Qt::TabFocusReason); }, {{Qt::Key_Right, 1}, {Qt::Key_Left, 0}, {Qt::Key_Down, 1}}},
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

// Each word's standard spoken for real; the pupil's take is the standard of
// the word said (or silence), so the score it earns is sure.
TEST_F(ReadAlongViewTest, TheStarsFollowTheirWordAndLeaveWithTryAgain) {
    std::map<QString, QByteArray> spoken;
    for (const QString& word : kWords) {
        QProcess espeak;
        espeak.start("espeak-ng", {"-v", "en-us", "--stdout", word});
        ASSERT_TRUE(espeak.waitForFinished(30000));
        spoken[word] = espeak.readAllStandardOutput();
        install.WriteFile("Common/voice/" + word + ".abw", spoken[word]);
        ModuleCrpt::ScrambleHeader(install.DataDir() + "/voice/" + word + ".abw");
    }
    install.WriteFile("Common/appvoice/SuccessWav1.wav", TempInstall::MakeWav(0.05));
    QByteArray silence = TempInstall::MakeWav(1.0, 44100, 2);
    silence.replace(44, silence.size() - 44, QByteArray(silence.size() - 44, '\0'));
    struct Row {
        QByteArray take;
        int stars;
        QString note;
        bool cheered;
    };
    const std::vector<Row> rows = {{spoken["dog"], 1, "", false},
                                   {silence, 0, "没有听到声音，请大声一点再录一次。", false},
                                   {spoken["cat"], 3, "", true}};
    for (const Row& row : rows) {
        recorder.take = row.take;
        output.played.clear();
        Click(view->FrameRecorder->lblRecord);
        Click(view->FrameRecorder->lblRecord);
        EXPECT_EQ(view->FrameRecorder->Stars->Stars(), row.stars) << row.stars;
        EXPECT_EQ(view->FrameRecorder->Stars->accessibleName(), row.stars ? QString("%1颗星").arg(row.stars) : QString());
        EXPECT_EQ(view->FrameRecorder->lblScoreNote->text(), row.note);
        EXPECT_EQ(view->FrameRecorder->lblScoreNote->isVisible(), !row.note.isEmpty());
        EXPECT_EQ(view->Waves->HasWaves(), row.stars > 0);
        EXPECT_EQ(Played().contains("appvoice/SuccessWav1.wav"), row.cheered) << row.stars;
    }
    Go(1);
    EXPECT_EQ(view->FrameRecorder->Stars->Stars(), 0);
    Go(0);
    EXPECT_EQ(view->FrameRecorder->Stars->Stars(), 3);
    QList<ReadingWaves::Track> marked;
    output.whilePlaying = [&](const QString&) { marked << view->Waves->Playing(); };
    Click(view->FrameRecorder->lblBothAudio);
    output.whilePlaying = nullptr;
    EXPECT_EQ(marked, (QList<ReadingWaves::Track>{ReadingWaves::Track::Standard, ReadingWaves::Track::Mine}));
    EXPECT_EQ(view->Waves->Playing(), ReadingWaves::Track::None);
    Click(view->FrameRecorder->imgReadBad);
    EXPECT_EQ(view->FrameRecorder->Stars->Stars(), 0);
    EXPECT_FALSE(view->Waves->HasWaves());
    Go(1);
    Go(0);
    EXPECT_EQ(view->FrameRecorder->Stars->Stars(), 0);
}

}  // namespace
