#include "tests/support/ScriptedTickSource.h"
#include "tests/support/ViewFixture.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/PictureBox.h"
#include "views/ReadingWaves.h"
#include "views/RecorderPanel.h"
#include "views/StarRating.h"

enum Unit { kTwenty, kEleven, kOne, kEmpty, kSpell, kRead };

QString WordName(int unit, int i) { return QString("%1%2").arg(QStringList{"tw", "el", "on"}[unit]).arg(i + 1, 2, 10, QChar('0')); }
// Every picture has its own colour, so that the shown word can be told from a pixel; "ffe" is the default.
QColor WordColour(const QString& word) {
    return word == "ffe" ? QColor(128, 128, 128) : QColor::fromHsv(static_cast<int>(qHash(word) % 36) * 10, 220, 230);
}
QString AccessibleName(QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); }
void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
// Lets a timer fire now instead of after its designed interval.
bool Fire(QTimer* timer, const std::function<bool()>& done) { timer->setInterval(1); return QTest::qWaitFor(done, 2000); }

// Units of 20, 11, 1 and 0 words, one to spell and one to read along; tw05 has no picture.
class OrvanelTest : public ViewFixture {
protected:
    void SetUp() override {
        std::vector<TempInstall::Word> rows;
        for (int unit = 0; unit < 3; ++unit)
            for (int i = 0; i < std::vector{20, 11, 1}[unit]; ++i) rows.push_back({0, unit, WordName(unit, i), QString("词%1").arg(i + 1)});
        rows.insert(rows.end(), {{0, kSpell, "T-shirt", "T恤衫"}, {0, kSpell, "ok", "好"}, {0, kRead, "cat", "猫"}, {0, kRead, "dog", "狗"}, {0, kRead, "pig", "猪"}});
        install.CreateDatabase({{"Twenty", "Eleven", "One", "Empty", "Spell", "Read"}}, rows);
        db.BuildConnString(install.AppPicsDir());
        for (const TempInstall::Word& row : rows)
            if (row.english != "tw05") AddPicture(row.english, TempInstall::MakeJpeg(400, 300, WordColour(row.english), 95));
        AddPicture("ffe", TempInstall::MakeJpeg(400, 300, WordColour("ffe"), 95));
        for (const char* word : {"tw01", "tw02", "tw20", "on01", "T-shirt", "ok", "t", "s", "h", "i", "r", "cat", "dog", "pig"}) AddVoice(word, 0.05);
        ASSERT_TRUE(db.LoadSettings());
        catalogue.LoadUnits(0);
        view->resize(1000, 640);
    }
    // Opens a unit as the main window does and shows the view on a word.
    void Open(Unit unit, int index = 0) {
        state.CurUnit = unit;
        words.LoadUnitWords(0, unit);
        view->InitUserControl();
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        Go(index);
    }
    // A new view, as at the program's start: no word shown yet.
    void Fresh(Unit unit) {
        view.reset(), state.CurEnglish.clear();
        view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
        view->resize(1000, 640);
        Open(unit);
    }
    void Go(int index) { qint16 at = static_cast<qint16>(index); view->ChangeWord(at); output.played.clear(); }
    QStringList Played() const {
        QStringList names;
        for (const QString& path : output.played) names << path.section('/', -2);
        return names;
    }
    static bool Near(const QImage& image, const QString& word) {
        const QColor a = image.pixelColor(image.width() / 2, image.height() / 2), b = WordColour(word);
        return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 && std::abs(a.blue() - b.blue()) < 12;
    }
    bool Shows(const QString& word) { return Near(view->Picture1->Image(), word); }
    static bool ThumbShows(QToolButton* thumb, const QString& word) { return Near(thumb->icon().pixmap(thumb->iconSize()).toImage(), word); }
    // The screen is painted as the view is, and its picture is that of word.
    void ExpectOnScreen(const QString& word) {
        const QImage screen = view->screen()->grabWindow(view->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(screen == view->grab().toImage().convertToFormat(QImage::Format_RGB32)) << "the screen lags";
        EXPECT_TRUE(Near(screen.copy(QRect(view->Picture1->mapTo(view.get(), QPoint()), view->Picture1->size())), word)) << word.toStdString();
    }
    // Counter, spelling, meaning, the page's thumbnails with "*" on the bordered one, and |<, <, >, >| usable.
    QString Screen() {
        QStringList thumbs;
        for (QToolButton* thumb : view->ArrImages)
            if (!thumb->isHidden()) thumbs << thumb->accessibleName() + (thumb->styleSheet().contains("solid #") ? "*" : "");
        EXPECT_EQ(QStringList({AccessibleName(view->lblWordNum), AccessibleName(view->txtEnglish), AccessibleName(view->LabelChinese)}),
                  QStringList({view->lblWordNum->text(), view->txtEnglish->text(), view->LabelChinese->text()}));
        EXPECT_EQ(AccessibleName(view->Picture1), state.WordCount ? state.CurEnglish : QString());
        return QString("%1 %2 %3 | %4 | %5%6%7%8").arg(view->lblWordNum->text(), view->txtEnglish->text(), view->LabelChinese->text(),
            thumbs.join(' ')).arg(view->cmdFirstWord->isEnabled()).arg(view->cmdPrevWord->isEnabled())
            .arg(view->cmdNextWord->isEnabled()).arg(view->cmdLastWord->isEnabled());
    }
    ScriptedTickSource ticks;
    std::unique_ptr<Orvanel> view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
};

const QString kFirstPage = "tw01* tw02 tw03 tw04 tw05 tw06 tw07 tw08";

// Buttons, thumbnails, page arrows and keys: Next wraps at the end, Previous
// stops at the start; a page arrow beyond the ends says there is no more.
TEST_F(OrvanelTest, EachMoveShowsItsWordCounterPageAndButtons) {
    struct Row { Unit unit; int from; std::function<void()> act; QString screen, picture; QStringList spoken; size_t messages; };
    const auto keys = [&](QWidget* to, std::initializer_list<Qt::Key> keys) { for (Qt::Key key : keys) QTest::keyClick(to, key); };
    const std::vector<Row> rows = {
        {kTwenty, 0, [] {}, "1/20 tw01 词1 | " + kFirstPage + " | 0011", "tw01", {}, 0},
        {kTwenty, 4, [] {}, "5/20 tw05 词5 | tw01 tw02 tw03 tw04 tw05* tw06 tw07 tw08 | 1111", "ffe", {}, 0},
        {kTwenty, 19, [] {}, "20/20 tw20 词20 | tw17 tw18 tw19 tw20* | 1100", "tw20", {}, 0},
        {kTwenty, 19, [&] { keys(view.get(), {Qt::Key_Right}); }, "1/20 tw01 词1 | " + kFirstPage + " | 0011", "tw01", {"tw01"}, 0},
        {kTwenty, 0, [&] { keys(view.get(), {Qt::Key_Up}); keys(view->Picture1, {Qt::Key_Left}); }, "1/20 tw01 词1 | " + kFirstPage + " | 0011", "tw01", {}, 0},
        {kTwenty, 0, [&] { keys(view.get(), {Qt::Key_Down, Qt::Key_Space}); keys(view->Picture1, {Qt::Key_Return}); },
         "4/20 tw04 词4 | tw01 tw02 tw03 tw04* tw05 tw06 tw07 tw08 | 1111", "tw04", {"tw02"}, 0},
        {kTwenty, 0, [&] { view->cmdLastWord->click(); view->cmdPrevWord->click(); }, "19/20 tw19 词19 | tw17 tw18 tw19* tw20 | 1111", "tw19", {"tw20"}, 0},
        {kTwenty, 9, [&] { view->cmdFirstWord->click(); }, "1/20 tw01 词1 | " + kFirstPage + " | 0011", "tw01", {"tw01"}, 0},
        {kTwenty, 0, [&] { view->imgAudio->click(); view->cmdNextWord->click(); view->imgAudio->click(); view->cmdPrevWord->click(); },
         "1/20 tw01 词1 | " + kFirstPage + " | 0011", "tw01", {"tw01"}, 0},
        {kTwenty, 3, [&] { view->picNextWord->click(); view->ArrImages[1]->click(); },
         "10/20 tw10 词10 | tw09 tw10* tw11 tw12 tw13 tw14 tw15 tw16 | 1111", "tw10", {}, 0},
        {kTwenty, 9, [&] { view->picPrevWord->click(); }, "8/20 tw08 词8 | tw01 tw02 tw03 tw04 tw05 tw06 tw07 tw08* | 1111", "tw08", {}, 0},
        {kTwenty, 7, [&] { view->picPrevWord->click(); }, "8/20 tw08 词8 | tw01 tw02 tw03 tw04 tw05 tw06 tw07 tw08* | 1111", "tw08", {}, 1},
        {kTwenty, 16, [&] { view->picNextWord->click(); }, "17/20 tw17 词17 | tw17* tw18 tw19 tw20 | 1111", "tw17", {}, 1},
        {kTwenty, 15, [&] { view->picNextWord->click(); }, "17/20 tw17 词17 | tw17* tw18 tw19 tw20 | 1111", "tw17", {}, 0},
        {kEleven, 9, [] {}, "10/11 el10 词10 | el09 el10* el11 | 1111", "el10", {}, 0},
        {kOne, 0, [&] { view->cmdPrevWord->click(); view->picPrevWord->click(); }, "1/1 on01 词1 | on01* | 1100", "on01", {}, 1},
        {kOne, 0, [&] { view->picNextWord->click(); }, "1/1 on01 词1 | on01* | 1100", "on01", {}, 1},
        {kEmpty, 0, [&] { keys(view.get(), {Qt::Key_Right}); view->picNextWord->click(); view->picPrevWord->click(); }, "0/0   |  | 0000", "", {}, 2},
        {kTwenty, 2, [&] { view->chkRnd->setChecked(true); random.draws = {15, 0, 0, 15, 0, 0, 4}; view->cmdNextWord->click(); view->cmdNextWord->click(); view->cmdPrevWord->click(); },
         "5/20 tw05 词5 | tw01 tw02 tw03 tw04 tw05* tw06 tw07 tw08 | 1111", "ffe", {}, 0},  // shuffled: each move draws its word, transition and direction
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.screen.toStdString());
        Open(row.unit, row.from);
        messages.shown.clear();
        row.act();
        EXPECT_EQ(Screen(), row.screen);
        if (!row.picture.isEmpty()) { EXPECT_TRUE(Shows(row.picture)); }
        EXPECT_EQ(Spoken(), row.spoken);
        ASSERT_EQ(messages.shown.size(), row.messages);
        for (const auto& shown : messages.shown) EXPECT_EQ(shown.title + shown.text + QString::number(int(shown.icon)), "选择单词没有了！1");
    }
    Open(kTwenty, 19);
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(state.PrevEnglish, "tw20");
    EXPECT_TRUE(ThumbShows(view->ArrImages[1], "tw02") && ThumbShows(view->ArrImages[4], "ffe")) << "tw02's and the missing picture's thumbnails";
    EXPECT_EQ(QDir(install.DataDir() + "/pics").entryList({"*.jpg"}), QStringList{"ffe.jpg"}) << "every word's picture rests scrambled";
}

// Letters are spoken as the spelling grows, each while the screen shows it, the
// hyphen silently; a move during the animation ends it with the new word.
TEST_F(OrvanelTest, SpellingAnimationSpeaksLettersButNotTheHyphen) {
    Open(kSpell);
    QStringList captions;
    output.whilePlaying = [&](const QString&) { captions << view->txtEnglish->text(); ExpectOnScreen("T-shirt"); };
    Click(view->txtEnglish);
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    output.whilePlaying = nullptr;
    EXPECT_EQ(Spoken(), QStringList({"t", "s", "h", "i", "r", "t", "T-shirt"}));
    EXPECT_EQ(captions, QStringList({"T", "T-s", "T-sh", "T-shi", "T-shir", "T-shirt", "T-shirt"}));
    Open(kSpell);
    view->imgAudio->click();
    Click(view->txtEnglish);
    view->cmdNextWord->click();
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    EXPECT_EQ(view->txtEnglish->text() + " " + Spoken().join(','), "ok ok") << "silent move, then the animation ends on the new word";
}

// A move during a transition ends it at once, shows the newest picture and speaks once.
TEST_F(OrvanelTest, AMoveDuringATransitionWins) {
    Open(kTwenty, 1);
    int overtaken = 0, waitsAfter = 0;
    ticks.whileWaiting = [&] {
        if (overtaken) { waitsAfter += state.EffectRunning; return; }
        if (!state.EffectRunning) return;
        overtaken = state.CurWordIndex;
        QTest::keyClick(view.get(), Qt::Key_Right);
    };
    output.whilePlaying = [&](const QString&) { ExpectOnScreen("tw01"); };
    view->cmdLastWord->click();
    ticks.whileWaiting = nullptr, output.whilePlaying = nullptr;
    // Overtaken at the last word, no wait after it (or the overtaken transition went on), then at rest on tw01.
    EXPECT_EQ(std::make_tuple(overtaken, waitsAfter, state.CurWordIndex, state.EffectRunning, view->InTransition, Shows("tw01")),
              std::make_tuple(19, 0, qint16(0), false, false, true));
    EXPECT_EQ(Spoken(), QStringList({"tw01"})) << "the overtaken move says nothing";
    view->cmdNextWord->click();
    EXPECT_TRUE(Shows("tw02"));
}

// The spelling and meaning switches hold across moves; the list button asks
// for the list; the read-along switch hides the panel and its waves.
TEST_F(OrvanelTest, SwitchesTheListButtonAndThePanel) {
    Open(kTwenty);
    const auto shown = [&] { return QString("%1%2%3").arg(!view->txtEnglish->isHidden()).arg(!view->LabelChinese->isHidden()).arg(!view->FrameRecorder->isHidden()); };
    view->chkEnglish->click();
    view->cmdNextWord->click();
    EXPECT_EQ(shown(), "011");
    view->chkChinese->click();
    view->chkEnglish->click();
    EXPECT_EQ(shown(), "101");
    view->cmdToWordList->click();
    EXPECT_EQ(host.modes, std::vector<qint16>{8});
    EXPECT_LE(view->FrameRecorder->mapTo(view.get(), QPoint(0, view->FrameRecorder->height())).y(), view->height()) << "the panel fits";
    EXPECT_LE(view->FrameRecorder->Line1->geometry().left(), view->FrameRecorder->lblStandardAudio->geometry().left()) << "the rule spans both columns";
    EXPECT_GE(view->FrameRecorder->Line1->geometry().right(), view->FrameRecorder->lblMyAudio->geometry().right());
    view->chkRead->click();
    EXPECT_EQ(shown() + QString::number(view->Waves->isHidden()), "1001") << "the waves hide with the panel";
    view->chkRead->click();
    EXPECT_EQ(shown(), "101");
}

TEST_F(OrvanelTest, LongTextsShrinkButNotBelowEightPoints) {
    Open(kTwenty);
    const auto fits = [&] { return QFontMetrics(view->txtEnglish->font()).horizontalAdvance(view->txtEnglish->text()) <= view->Picture1->width(); };
    const auto load = [&](const QString& english) { state.CurEnglish = english; view->LoadWord(); };
    load("a fairly long phrase to read");
    EXPECT_LT(view->txtEnglish->font().pointSize(), OrvanelRules::kEnglishStartSize);
    EXPECT_EQ((OrvanelRules::kEnglishStartSize - view->txtEnglish->font().pointSize()) % 2, 0);
    EXPECT_TRUE(fits());
    load("Good afternoon");
    const int wide = view->txtEnglish->font().pointSize();
    view->resize(600, 640);
    QTRY_VERIFY_WITH_TIMEOUT(view->txtEnglish->font().pointSize() < wide, 2000);
    EXPECT_EQ(QString("%1 %2").arg(fits()).arg(view->txtEnglish->text()), "1 Good afternoon") << "refitted to the narrower picture";
    load(QString(400, QChar('m')));
    EXPECT_EQ(QString("%1 %2").arg(view->txtEnglish->font().pointSize()).arg(view->txtEnglish->text().endsWith(QChar(0x2026))), "8 1") << "elided";
}

// Nothing is spoken before the window is up; the first word enters from the default picture.
TEST_F(OrvanelTest, WindowComesFirstThenTheTransitionAndTheWord) {
    state.CurUnit = kTwenty;
    words.LoadUnitWords(0, kTwenty);
    view->InitUserControl();
    qint16 second = 1;
    view->ChangeWord(second);
    EXPECT_EQ(QString("%1 %2 %3").arg(view->lblWordNum->text()).arg(output.played.size()).arg(Shows("ffe")), "2/20 0 1");
    QStringList seen;
    ticks.whileWaiting = [&] { if (seen.isEmpty()) seen << (Shows("ffe") ? "ffe" : "other"); };
    view->show();
    QTRY_VERIFY_WITH_TIMEOUT(!output.played.isEmpty(), 3000);
    ticks.whileWaiting = nullptr;
    EXPECT_EQ(seen, QStringList{"ffe"});
    EXPECT_EQ(Spoken(), QStringList({"tw02"}));
    EXPECT_TRUE(Shows("tw02"));
}

// The recorder panel after each sequence on a new view at "cat": the record
// control, its timer, the indicator, the files, the sounds and the messages.
TEST_F(OrvanelTest, ThePanelShowsWhatEachSequenceLeaves) {
    struct Row { const char* name; std::function<void()> act; bool recording, recorded; QStringList kept, played, titles; };
    const QByteArray kEarlier = TempInstall::MakeWav(0.2, 44100, 2, 16);
    const auto record = [&] { Click(view->FrameRecorder->lblRecord); };
    const auto space = [&](QWidget* control) { control->setFocus(Qt::TabFocusReason); QTest::keyClick(control, Qt::Key_Space); };
    const std::vector<Row> rows = {
        {"record", record, true, true, {}, {}, {}},
        {"stop by the picture", [&] { record(); QTest::qWait(50); Click(view->FrameRecorder->imgRecord); }, false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {}},
        {"time limit", [&] { record(); ASSERT_TRUE(Fire(view->TimerRecord, [&] { return !view->TimerRecord->isActive(); })); }, false, true, {"cat.wav"}, {}, {}},
        {"standard", [&] { record(); Click(view->FrameRecorder->lblStandardAudio); }, false, true, {"cat.wav"}, {"voice/cat.wav"}, {}},
        {"picture", [&] { Click(view->Picture1); }, false, false, {}, {"voice/cat.wav"}, {}},
        {"both, none yet", [&] { Click(view->FrameRecorder->lblBothAudio); }, false, false, {}, {"voice/cat.wav"}, {"跟读录音|请先录音！"}},
        {"mine, none yet", [&] { Click(view->FrameRecorder->imgMyAudio); }, false, false, {}, {}, {"跟读录音|请先录音！"}},
        {"try again", [&] { record(); record(); Click(view->FrameRecorder->imgReadBad); }, false, false, {}, {"myvoice/cat.wav"}, {}},
        {"try again, none", [&] { Click(view->FrameRecorder->imgReadBad); }, false, false, {}, {}, {}},
        {"moved away", [&] { record(); Click(view->cmdNextWord); }, false, false, {"cat.wav"}, {"voice/dog.wav"}, {}},
        {"back again", [&] { record(); record(); Go(1); Go(0); }, false, true, {"cat.wav"}, {}, {}},
        {"no microphone", [&] { recorder.openError = "找不到录音设备"; record(); }, false, false, {}, {}, {"Error|找不到录音设备"}},
        {"mine while recording", [&] { record(); Click(view->FrameRecorder->imgMyAudio); }, false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {}},
        {"both", [&] { record(); record(); Click(view->FrameRecorder->imgBothAudio); }, false, true, {"cat.wav"}, {"myvoice/cat.wav", "voice/cat.wav", "myvoice/cat.wav"}, {}},
        {"try again while recording", [&] { record(); Click(view->FrameRecorder->imgReadBad); }, true, true, {}, {}, {}},
        {"picture while spoken", [&] { output.whilePlaying = [&](const QString&) { Click(view->Picture1); }; Click(view->Picture1); }, false, false, {}, {"voice/cat.wav"}, {}},
        {"save fails, the earlier take stays", [&] { install.WriteFile("Common/myvoice/cat.wav", kEarlier); recorder.saveError = "磁盘满了"; record(); record(); },
         false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {"Error (save)|磁盘满了"}},
        {"by keyboard", [&] { space(view->FrameRecorder->imgRecord); space(view->FrameRecorder->imgRecord); space(view->FrameRecorder->lblMyAudio); },
         false, true, {"cat.wav"}, {"myvoice/cat.wav", "myvoice/cat.wav"}, {}},
    };
    QDir myVoice(install.DataDir() + "/myvoice");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view.reset();  // a recording still running is saved as the view goes
        for (const QString& file : myVoice.entryList(QDir::Files)) myVoice.remove(file);
        recorder.openError.clear(), recorder.saveError.clear(), messages.shown.clear();
        Fresh(kRead);
        output.whilePlaying = [&](const QString&) {
            EXPECT_EQ(view->FrameRecorder->lblRecord->text(), "开始录音") << "not yet shown";
            EXPECT_FALSE(recording.Recording()) << "sound while recording";
        };
        row.act();
        output.whilePlaying = nullptr;
        const QString caption = row.recording ? "停止" : "开始录音";
        EXPECT_EQ(std::make_tuple(view->FrameRecorder->lblRecord->text(), view->FrameRecorder->imgRecord->accessibleName(), view->TimerRecord->isActive(),
                                  recording.Recording()), std::make_tuple(caption, caption, row.recording, row.recording));
        EXPECT_EQ(std::make_pair(view->FrameRecorder->lblMyAudio->text(), view->FrameRecorder->lblMyAudio->palette().color(QPalette::WindowText)),
                  row.recorded ? std::make_pair(QString("我的朗读"), QColor(Qt::black)) : std::make_pair(QString("尚未录音"), QColor(Qt::red)));
        EXPECT_EQ(std::make_tuple(myVoice.entryList(QDir::Files), Played(), messages.Titles(true)), std::make_tuple(row.kept, row.played, row.titles));
        const QByteArray kept = install.ReadFile("Common/myvoice/cat.wav");
        if (!row.titles.filter("save").isEmpty()) { EXPECT_EQ(kept, kEarlier); }
        else if (!row.kept.isEmpty()) { EXPECT_EQ(kept.mid(28, 3), QByteArray("\x10\xB1\x02", 3)) << "byte rate of 44100 Hz, 16-bit stereo"; }
    }
    EXPECT_EQ(view->TimerRecord->interval(), 15000);
    EXPECT_EQ(recorder.format, (RecordFormat{2, 16, 44100}));
}

// Autoplay from the last word starts at once, then every three seconds; which actions stop it.
TEST_F(OrvanelTest, AutoplayAndTheActionsThatStopIt) {
    Open(kRead, 2);
    view->chkAutoplay->click();
    EXPECT_EQ(std::make_pair(state.CurWordIndex, view->TimerAutoplay->interval()), std::make_pair(qint16(0), 3000));
    ASSERT_TRUE(Fire(view->TimerAutoplay, [&] { return state.CurWordIndex == 1; }));
    RecorderPanel* panel = view->FrameRecorder;
    const std::vector<std::pair<QWidget*, bool>> rows = {
        {view->cmdFirstWord, true}, {view->cmdLastWord, true}, {view->cmdNextWord, true}, {view->cmdPrevWord, true},
        {view.get(), true} /* a key */, {view->ArrImages[2], true}, {view->cmdToWordList, true}, {panel->imgStandardAudio, true},
        {panel->lblMyAudio, true}, {panel->imgBothAudio, true}, {panel->imgRecord, true}, {view->picNextWord, false}, {view->picPrevWord, false},
        {view->Picture1, false}, {view->txtEnglish, false}, {view->chkEnglish, false}, {view->chkChinese, false}, {view->chkRnd, false}, {panel->imgReadBad, false}};
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& [control, stops] = rows[i];
        Go(1);
        view->chkAutoplay->setChecked(true);
        view->TimerAutoplay->start(60000);
        control == view.get() ? QTest::keyClick(control, Qt::Key_Right) : Click(control);
        EXPECT_EQ(std::make_pair(view->chkAutoplay->isChecked(), view->TimerAutoplay->isActive()), std::make_pair(!stops, !stops)) << "row " << i;
    }
}

// Each word's standard spoken for real; the pupil's take is the standard of
// the word said (or silence), so the score it earns is sure.
TEST_F(OrvanelTest, TheStarsFollowTheirWordAndLeaveWithTryAgain) {
    std::map<QString, QByteArray> spoken;
    for (const QString word : {"cat", "dog", "pig"}) {
        spoken[word] = TempInstall::Speak(word);
        install.WriteFile("Common/voice/" + word + ".abw", spoken[word]);
        ModuleCrpt::ScrambleHeader(install.DataDir() + "/voice/" + word + ".abw");
    }
    install.WriteFile("Common/appvoice/SuccessWav1.wav", TempInstall::MakeWav(0.05));
    const QByteArray silence = TempInstall::MakeWav(1.0, 44100, 2, 16, 0);
    Open(kRead);
    const struct { QByteArray take; int stars; QString note; bool cheered; } rows[] = {
        {spoken["dog"], 1, "", false}, {silence, 0, "没有听到声音，请大声一点再录一次。", false}, {spoken["cat"], 3, "", true}};
    RecorderPanel* panel = view->FrameRecorder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stars);
        recorder.take = row.take;
        output.played.clear();
        Click(panel->lblRecord);
        Click(panel->lblRecord);
        EXPECT_EQ(std::make_tuple(panel->Stars->Stars(), panel->Stars->accessibleName(), panel->lblScoreNote->text(), panel->lblScoreNote->isVisible()),
                  std::make_tuple(row.stars, row.stars ? QString("%1颗星").arg(row.stars) : QString(), row.note, !row.note.isEmpty()));
        EXPECT_EQ(std::make_pair(view->Waves->HasWaves(), Played().contains("appvoice/SuccessWav1.wav")), std::make_pair(row.stars > 0, row.cheered));
    }
    Go(1);
    EXPECT_EQ(panel->Stars->Stars(), 0);
    Go(0);
    EXPECT_EQ(panel->Stars->Stars(), 3);
    QList<ReadingWaves::Track> marked;
    output.whilePlaying = [&](const QString&) { marked << view->Waves->Playing(); };
    Click(panel->lblBothAudio);
    output.whilePlaying = nullptr;
    EXPECT_EQ(marked, (QList<ReadingWaves::Track>{ReadingWaves::Track::Standard, ReadingWaves::Track::Mine}));
    EXPECT_EQ(view->Waves->Playing(), ReadingWaves::Track::None);
    Click(panel->imgReadBad);
    EXPECT_EQ(std::make_pair(panel->Stars->Stars(), view->Waves->HasWaves()), std::make_pair(0, false));
    Go(1);
    Go(0);
    EXPECT_EQ(panel->Stars->Stars(), 0);
}
