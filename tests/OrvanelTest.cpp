#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
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
#include "views/RecorderPanel.h"

namespace {

enum Unit { kTwenty, kEleven, kOne, kEmpty, kSpell };

QString WordName(int unit, int i) { return QString("%1%2").arg(QStringList{"tw", "el", "on"}[unit]).arg(i + 1, 2, 10, QChar('0')); }
// Every picture has its own colour, so that the shown word can be told from a pixel; "ffe" is the default.
QColor WordColour(const QString& word) {
    return word == "ffe" ? QColor(128, 128, 128) : QColor::fromHsv(static_cast<int>(qHash(word) % 36) * 10, 220, 230);
}
QString AccessibleName(QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); }

// Units of 20, 11, 1 and 0 words and one to spell; tw05 has no picture.
class OrvanelTest : public ViewFixture {
protected:
    void SetUp() override {
        std::vector<TempInstall::Word> rows;
        for (int unit = 0; unit < 3; ++unit)
            for (int i = 0; i < std::vector{20, 11, 1}[unit]; ++i) rows.push_back({0, unit, WordName(unit, i), QString("词%1").arg(i + 1)});
        rows.push_back({0, kSpell, "T-shirt", "T恤衫"});
        rows.push_back({0, kSpell, "ok", "好"});
        install.CreateDatabase({{"Twenty", "Eleven", "One", "Empty", "Spell"}}, rows);
        db.BuildConnString(install.AppPicsDir());
        for (const TempInstall::Word& row : rows)
            if (row.english != "tw05") AddPicture(row.english, TempInstall::MakeJpeg(400, 300, WordColour(row.english), 95));
        AddPicture("ffe", TempInstall::MakeJpeg(400, 300, WordColour("ffe"), 95));
        for (const char* word : {"tw01", "tw02", "tw20", "on01", "T-shirt", "ok", "t", "s", "h", "i", "r"}) AddVoice(word, 0.05);
        ASSERT_TRUE(db.LoadSettings());
        catalogue.LoadUnits(0);
        view->resize(1000, 640);
    }
    // Opens a unit as the main window does and shows the view on a word.
    void Open(Unit unit, qint16 index = 0) {
        state.CurUnit = unit;
        words.LoadUnitWords(0, unit);
        view->InitUserControl();
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->ChangeWord(index);
        output.played.clear();
    }
    static bool Near(const QImage& image, const QString& word) {
        const QColor a = image.pixelColor(image.width() / 2, image.height() / 2), b = WordColour(word);
        return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 && std::abs(a.blue() - b.blue()) < 12;
    }
    bool Shows(const QString& word) { return Near(view->Picture1->Image(), word); }
    static bool ThumbShows(QToolButton* thumb, const QString& word) { return Near(thumb->icon().pixmap(thumb->iconSize()).toImage(), word); }
    // Counter, spelling, meaning, the page's thumbnails with "*" on the bordered one, and |<, <, >, >| usable.
    QString Screen() {
        QStringList thumbs;
        for (QToolButton* thumb : view->ArrImages)
            if (!thumb->isHidden()) thumbs << thumb->accessibleName() + (thumb->styleSheet().contains("solid #") ? "*" : "");
        EXPECT_EQ(AccessibleName(view->lblWordNum), view->lblWordNum->text());
        EXPECT_EQ(AccessibleName(view->txtEnglish), view->txtEnglish->text());
        EXPECT_EQ(AccessibleName(view->LabelChinese), view->LabelChinese->text());
        EXPECT_EQ(AccessibleName(view->Picture1), state.WordCount ? state.CurEnglish : QString());
        return QString("%1 %2 %3 | %4 | %5%6%7%8").arg(view->lblWordNum->text(), view->txtEnglish->text(), view->LabelChinese->text(),
            thumbs.join(' ')).arg(view->cmdFirstWord->isEnabled()).arg(view->cmdPrevWord->isEnabled())
            .arg(view->cmdNextWord->isEnabled()).arg(view->cmdLastWord->isEnabled());
    }
    // Every picture and pronunciation of the store rests scrambled (the default may stay plain).
    void ExpectStoreScrambled() {
        EXPECT_EQ(QDir(install.DataDir() + "/pics").entryList({"*.jpg"}, QDir::Files), QStringList{"ffe.jpg"});
        EXPECT_TRUE(QDir(install.DataDir() + "/voice").entryList({"*.wav"}, QDir::Files).isEmpty());
    }
    // Runs act, doing during once a transition has started.
    void DuringTransition(const std::function<void()>& act, const std::function<void()>& during) {
        bool done = false;
        ticks.whileWaiting = [&] {
            if (done || !state.EffectRunning) return;
            done = true;
            during();
        };
        act();
        ticks.whileWaiting = nullptr;
        ASSERT_TRUE(done);
    }
    ScriptedTickSource ticks;
    std::unique_ptr<Orvanel> view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
};

const QString kFirstPage = "tw01* tw02 tw03 tw04 tw05 tw06 tw07 tw08";

// Buttons, thumbnails, page arrows and keys: Next wraps at the end, Previous
// stops at the start; a page arrow beyond the ends says there is no more.
TEST_F(OrvanelTest, EachMoveShowsItsWordCounterPageAndButtons) {
    struct Row {
        Unit unit;
        qint16 from;
        std::function<void()> act;
        QString screen, picture;
        QStringList spoken;
        size_t messages;
    };
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
        {kTwenty, 3, [&] { view->picNextWord->click(); view->ArrImages[1]->click(); },
         "10/20 tw10 词10 | tw09 tw10* tw11 tw12 tw13 tw14 tw15 tw16 | 1111", "tw10", {}, 0},
        {kTwenty, 9, [&] { view->picPrevWord->click(); }, "8/20 tw08 词8 | tw01 tw02 tw03 tw04 tw05 tw06 tw07 tw08* | 1111", "tw08", {}, 0},
        {kTwenty, 7, [&] { view->picPrevWord->click(); }, "8/20 tw08 词8 | tw01 tw02 tw03 tw04 tw05 tw06 tw07 tw08* | 1111", "tw08", {}, 1},
        {kTwenty, 16, [&] { view->picNextWord->click(); }, "17/20 tw17 词17 | tw17* tw18 tw19 tw20 | 1111", "tw17", {}, 1},
        {kTwenty, 15, [&] { view->picNextWord->click(); }, "17/20 tw17 词17 | tw17* tw18 tw19 tw20 | 1111", "tw17", {}, 0},
        {kEleven, 9, [] {}, "10/11 el10 词10 | el09 el10* el11 | 1111", "el10", {}, 0},
        {kOne, 0, [&] { view->cmdPrevWord->click(); view->picPrevWord->click(); }, "1/1 on01 词1 | on01* | 1100", "on01", {}, 1},
        {kOne, 0, [&] { view->picNextWord->click(); }, "1/1 on01 词1 | on01* | 1100", "on01", {}, 1},
        {kEmpty, 0, [&] { keys(view.get(), {Qt::Key_Right}); view->picNextWord->click(); view->picPrevWord->click(); },
         "0/0   |  | 0000", "", {}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.screen.toStdString());
        Open(row.unit, row.from);
        messages.shown.clear();
        row.act();
        EXPECT_EQ(Screen(), row.screen);
        if (!row.picture.isEmpty()) {
            EXPECT_TRUE(Shows(row.picture));
        }
        EXPECT_EQ(Spoken(), row.spoken);
        ASSERT_EQ(messages.shown.size(), row.messages);
        for (const auto& shown : messages.shown) EXPECT_EQ(shown.title + shown.text + QString::number(int(shown.icon)), "选择单词没有了！1");
    }
    Open(kTwenty, 19);
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(state.PrevEnglish, "tw20");
    EXPECT_TRUE(ThumbShows(view->ArrImages[1], "tw02"));
    EXPECT_TRUE(ThumbShows(view->ArrImages[4], "ffe")) << "the missing picture's thumbnail";
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, ShuffleDrawsAnyWordAndTheSameWordKeepsThePreviousOne) {
    Open(kTwenty, 2);
    view->chkRnd->setChecked(true);
    random.asked.clear();
    random.draws = {15, 0, 0, 15, 0, 0, 4};  // each move draws its word, then the transition and its direction
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 15);
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 15);
    EXPECT_EQ(state.PrevEnglish, "tw03") << "the same word changes nothing";
    EXPECT_TRUE(Shows("tw16")) << "the transition played again from the word before";
    view->cmdPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 4);
    EXPECT_EQ(random.asked.front(), 20);
    EXPECT_TRUE(Shows("ffe"));
}

TEST_F(OrvanelTest, SoundSwitchSilencesMovesUntilSwitchedBack) {
    Open(kTwenty);
    view->imgAudio->click();
    EXPECT_EQ(view->AudioTag(), "nosound");
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 1);
    EXPECT_TRUE(output.played.isEmpty());
    view->imgAudio->click();
    EXPECT_EQ(view->AudioTag(), "sound");
    view->cmdPrevWord->click();
    EXPECT_EQ(Spoken(), QStringList({"tw01"}));
}

// Letters are spoken as the spelling grows, the hyphen silently; a move
// during the animation ends it with the new word.
TEST_F(OrvanelTest, SpellingAnimationSpeaksLettersButNotTheHyphen) {
    Open(kSpell);
    QStringList captions;
    output.whilePlaying = [&](const QString&) { captions << view->txtEnglish->text(); };
    QTest::mouseClick(view->txtEnglish, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    EXPECT_EQ(Spoken(), QStringList({"t", "s", "h", "i", "r", "t", "T-shirt"}));
    EXPECT_EQ(captions, QStringList({"T", "T-s", "T-sh", "T-shi", "T-shir", "T-shirt", "T-shirt"}));
    EXPECT_EQ(view->txtEnglish->text(), "T-shirt");
    ExpectStoreScrambled();
    output.whilePlaying = nullptr;
    Open(kSpell);
    view->imgAudio->click();
    QTest::mouseClick(view->txtEnglish, Qt::LeftButton);
    view->cmdNextWord->click();
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    EXPECT_EQ(view->txtEnglish->text(), "ok");
    EXPECT_EQ(Spoken(), QStringList({"ok"})) << "silent move, then the animation ends on the new word";
}

// A move during a transition shows the newest picture and speaks once.
TEST_F(OrvanelTest, AMoveDuringATransitionWins) {
    Open(kTwenty, 1);
    DuringTransition([&] { view->cmdLastWord->click(); }, [&] { QTest::keyClick(view.get(), Qt::Key_Right); });
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_FALSE(state.EffectRunning);
    EXPECT_FALSE(view->InTransition);
    EXPECT_TRUE(Shows("tw01"));
    EXPECT_EQ(Spoken(), QStringList({"tw01"})) << "the overtaken move says nothing";
    view->cmdNextWord->click();
    EXPECT_TRUE(Shows("tw02"));
}

TEST_F(OrvanelTest, TransitionRunsAtTheBoxSizeAndVisiblyMoves) {
    Open(kTwenty);
    std::vector<QImage> frames;
    ticks.whileWaiting = [&] { if (state.EffectRunning) frames.push_back(view->Picture1->Image().copy()); };
    view->cmdNextWord->click();
    ticks.whileWaiting = nullptr;
    ASSERT_GE(frames.size(), 10u);
    EXPECT_EQ(frames.front().size(), view->Picture1->size());
    EXPECT_GT(view->Picture1->width(), 400) << "the picture is scaled up to a large box";
    EXPECT_NE(frames[frames.size() / 4], frames[frames.size() / 2]) << "frames differ while it runs";
    EXPECT_TRUE(Shows("tw02"));
}

// The spelling and meaning switches hold across moves; the list button asks for the list.
TEST_F(OrvanelTest, SpellingAndMeaningSwitchesTheListButtonAndThePanel) {
    Open(kTwenty);
    view->chkEnglish->click();
    view->cmdNextWord->click();
    EXPECT_TRUE(view->txtEnglish->isHidden());
    EXPECT_FALSE(view->LabelChinese->isHidden());
    view->chkChinese->click();
    view->chkEnglish->click();
    EXPECT_TRUE(view->LabelChinese->isHidden());
    EXPECT_FALSE(view->txtEnglish->isHidden());
    view->cmdToWordList->click();
    EXPECT_EQ(host.modes, std::vector<qint16>{8});
    EXPECT_LE(view->FrameRecorder->mapTo(view.get(), QPoint(0, view->FrameRecorder->height())).y(), view->height()) << "the panel fits";
    EXPECT_LE(view->FrameRecorder->Line1->geometry().left(), view->FrameRecorder->lblStandardAudio->geometry().left()) << "the rule spans both columns";
    EXPECT_GE(view->FrameRecorder->Line1->geometry().right(), view->FrameRecorder->lblMyAudio->geometry().right());
}

TEST_F(OrvanelTest, LongTextsShrinkButNotBelowEightPoints) {
    Open(kTwenty);
    const auto fits = [&] { return QFontMetrics(view->txtEnglish->font()).horizontalAdvance(view->txtEnglish->text()) <= view->Picture1->width(); };
    state.CurEnglish = "a fairly long phrase to read";
    view->LoadWord();
    EXPECT_LT(view->txtEnglish->font().pointSize(), OrvanelRules::kEnglishStartSize);
    EXPECT_EQ((OrvanelRules::kEnglishStartSize - view->txtEnglish->font().pointSize()) % 2, 0);
    EXPECT_TRUE(fits());
    state.CurEnglish = "Good afternoon";
    view->LoadWord();
    const int wide = view->txtEnglish->font().pointSize();
    view->resize(600, 640);
    QTRY_VERIFY_WITH_TIMEOUT(view->txtEnglish->font().pointSize() < wide, 2000);
    EXPECT_TRUE(fits()) << "refitted to the narrower picture";
    EXPECT_EQ(view->txtEnglish->text(), "Good afternoon");
    state.CurEnglish = QString(400, QChar('m'));
    view->LoadWord();
    EXPECT_EQ(view->txtEnglish->font().pointSize(), 8);
    EXPECT_TRUE(view->txtEnglish->text().endsWith(QChar(0x2026))) << "elided";
}

TEST_F(OrvanelTest, WindowComesFirstThenTheTransitionAndTheWord) {
    state.CurUnit = kTwenty;
    words.LoadUnitWords(0, kTwenty);
    view->InitUserControl();
    qint16 second = 1;
    view->ChangeWord(second);
    EXPECT_EQ(view->lblWordNum->text(), "2/20");
    EXPECT_TRUE(output.played.isEmpty()) << "nothing is spoken before the window is up";
    EXPECT_TRUE(Shows("ffe"));
    view->show();
    QTRY_VERIFY_WITH_TIMEOUT(!output.played.isEmpty(), 3000);
    EXPECT_EQ(Spoken(), QStringList({"tw02"}));
    EXPECT_TRUE(Shows("tw02"));
    ExpectStoreScrambled();
}

}  // namespace
