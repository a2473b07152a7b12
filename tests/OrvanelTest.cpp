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

namespace {

enum Unit { kTwenty, kEleven, kOne, kEmpty, kSpell };

QString WordName(int unit, int i) {
    static const char* units[] = {"tw", "el", "on", "em", "sp"};
    return QString("%1%2").arg(units[unit]).arg(i + 1, 2, 10, QChar('0'));
}

QColor WordColour(const QString& word) {
    return QColor::fromHsv(static_cast<int>(qHash(word) % 36) * 10, 220, 230);
}

const QColor kDefaultColour(128, 128, 128);

// Five units of different sizes; every picture has its own colour so that the
// shown word can be told from a pixel.
class OrvanelTest : public ViewFixture {
protected:
    void SetUp() override {
        std::vector<TempInstall::Word> rows;
        const int sizes[] = {20, 11, 1, 0};
        for (int unit = 0; unit < 4; ++unit)
            for (int i = 0; i < sizes[unit]; ++i) rows.push_back({0, unit, WordName(unit, i), QString("词%1").arg(i + 1)});
        rows.push_back({0, kSpell, "T-shirt", "T恤衫"});
        rows.push_back({0, kSpell, "ok", "好"});
        install.CreateDatabase({{"Twenty", "Eleven", "One", "Empty", "Spell"}}, rows);
        db.BuildConnString(install.AppPicsDir());
        for (const TempInstall::Word& row : rows)
            if (row.english != "tw05") StorePicture(row.english, WordColour(row.english));
        StorePicture("ffe", kDefaultColour);
        for (const char* word : {"tw01", "tw02", "tw20", "on01", "T-shirt", "ok", "t", "s", "h", "i", "r"})
            AddVoice(word, 0.05);
        ASSERT_TRUE(db.LoadSettings());
        catalogue.LoadUnits(0);
        view = std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
        view->resize(1000, 640);
    }

    void StorePicture(const QString& word, const QColor& colour) {
        AddPicture(word, TempInstall::MakeJpeg(400, 300, colour, 95));
    }

    // Opens a unit as the main window does and shows the view on its first word.
    void Open(Unit unit, qint16 index = 0) {
        state.CurUnit = unit;
        words.LoadUnitWords(0, unit);
        view->InitUserControl();
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        output.played.clear();
        qint16 at = index;
        view->ChangeWord(at);
        output.played.clear();
    }

    static bool Near(QRgb a, const QColor& b) {
        return std::abs(qRed(a) - b.red()) < 12 && std::abs(qGreen(a) - b.green()) < 12 &&
               std::abs(qBlue(a) - b.blue()) < 12;
    }

    QRgb ShownPixel() {
        const QImage& image = view->Picture1->Image();
        return image.pixel(image.width() / 2, image.height() / 2);
    }

    bool Shows(const QString& word) {
        return Near(ShownPixel(), word == "ffe" ? kDefaultColour : WordColour(word));
    }

    static QRgb ThumbPixel(QToolButton* thumb) {
        const QImage image = thumb->icon().pixmap(thumb->iconSize()).toImage();
        return image.pixel(image.width() / 2, image.height() / 2);
    }

    QStringList ThumbWords() {
        QStringList names;
        for (QToolButton* thumb : view->ArrImages)
            if (!thumb->isHidden()) names << thumb->accessibleName();
        return names;
    }

    int BorderedThumb() {
        int found = -1;
        for (int i = 0; i < 8; ++i)
            if (view->ArrImages[i]->styleSheet().contains("solid #")) {
                EXPECT_EQ(found, -1) << "one border only";
                found = i;
            }
        return found;
    }

    std::vector<bool> NavStates() {
        return {view->cmdFirstWord->isEnabled(), view->cmdPrevWord->isEnabled(), view->cmdNextWord->isEnabled(),
                view->cmdLastWord->isEnabled()};
    }

    // Every picture of the store rests scrambled (the default may stay plain).
    void ExpectStoreScrambled() {
        const QStringList plain = QDir(install.DataDir() + "/pics").entryList({"*.jpg"}, QDir::Files);
        for (const QString& name : plain) EXPECT_EQ(name, "ffe.jpg") << "left plain: " << name.toStdString();
        EXPECT_TRUE(QDir(install.DataDir() + "/voice").entryList({"*.wav"}, QDir::Files).isEmpty());
    }

    static QString AccessibleName(QObject* object) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(QAccessible::Name) : QString();
    }

    ScriptedTickSource ticks;
    std::unique_ptr<Orvanel> view;
};

using Nav = std::vector<bool>;

TEST_F(OrvanelTest, FirstWordOfTwentyShowsCounterPageBorderAndButtons) {
    Open(kTwenty);
    EXPECT_EQ(view->lblWordNum->text(), "1/20");
    EXPECT_EQ(state.CurEnglish, "tw01");
    EXPECT_EQ(view->txtEnglish->text(), "tw01");
    EXPECT_EQ(view->LabelChinese->text(), "词1");
    EXPECT_EQ(ThumbWords(), QStringList({"tw01", "tw02", "tw03", "tw04", "tw05", "tw06", "tw07", "tw08"}));
    EXPECT_EQ(BorderedThumb(), 0);
    EXPECT_EQ(NavStates(), Nav({false, false, true, true}));
    EXPECT_TRUE(Shows("tw01"));
    EXPECT_TRUE(Near(ThumbPixel(view->ArrImages[1]), WordColour("tw02")));
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, ElevenWordsAtTheTenthShowTheShortLastPage) {
    Open(kEleven, 9);
    EXPECT_EQ(view->PageStart, 8);
    EXPECT_EQ(view->PageSize, 3);
    EXPECT_EQ(ThumbWords(), QStringList({"el09", "el10", "el11"}));
    for (int i = 3; i < 8; ++i) EXPECT_TRUE(view->ArrImages[i]->isHidden()) << i;
    EXPECT_EQ(BorderedThumb(), 1);
    EXPECT_EQ(view->lblWordNum->text(), "10/11");
    EXPECT_EQ(NavStates(), Nav({true, true, true, true}));
}

TEST_F(OrvanelTest, NextWrapsAtTheEndButPreviousStopsAtTheStart) {
    Open(kTwenty, 19);
    EXPECT_EQ(NavStates(), Nav({true, true, false, false}));
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_EQ(NavStates(), Nav({false, false, true, true}));
    EXPECT_EQ(state.PrevEnglish, "tw20");
    EXPECT_EQ(Spoken(), QStringList({"tw01"}));

    output.played.clear();
    QTest::keyClick(view.get(), Qt::Key_Up);
    QTest::keyClick(view->Picture1, Qt::Key_Left);
    EXPECT_EQ(state.CurWordIndex, 0) << "no wrap backwards";
    EXPECT_TRUE(output.played.isEmpty()) << "nothing else happens";

    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Space);
    QTest::keyClick(view->Picture1, Qt::Key_Return);
    EXPECT_EQ(state.CurWordIndex, 3);
    view->cmdLastWord->click();
    EXPECT_EQ(state.CurWordIndex, 19);
    view->cmdPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 18);
    view->cmdFirstWord->click();
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_TRUE(Shows("tw01"));
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, ThumbnailsAndPageArrowsMoveAndRefuseAtTheEnds) {
    Open(kTwenty, 3);
    view->picNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 8);
    EXPECT_EQ(ThumbWords().first(), "tw09");
    EXPECT_EQ(BorderedThumb(), 0);
    view->ArrImages[1]->click();
    EXPECT_EQ(state.CurWordIndex, 9);
    EXPECT_EQ(view->lblWordNum->text(), "10/20");
    view->picPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 7);
    EXPECT_EQ(BorderedThumb(), 7);
    EXPECT_TRUE(messages.shown.empty());

    view->picPrevWord->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "没有了！");
    EXPECT_EQ(messages.shown[0].title, "选择单词");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(state.CurWordIndex, 7);

    view->cmdLastWord->click();
    view->picNextWord->click();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(state.CurWordIndex, 19);
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, PageArrowsLeaveAutoplayRunningButButtonsStopIt) {
    Open(kTwenty);
    view->chkAutoplay->setChecked(true);
    view->TimerAutoplay->start();
    view->picNextWord->click();
    EXPECT_TRUE(view->TimerAutoplay->isActive());
    view->cmdNextWord->click();
    EXPECT_FALSE(view->TimerAutoplay->isActive());
    EXPECT_FALSE(view->chkAutoplay->isChecked());
}

TEST_F(OrvanelTest, OneWordUnit) {
    Open(kOne);
    EXPECT_EQ(view->lblWordNum->text(), "1/1");
    EXPECT_EQ(NavStates(), Nav({true, true, false, false}));
    view->cmdPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_TRUE(output.played.isEmpty());
    view->picNextWord->click();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(OrvanelTest, EmptyUnitShowsNothingToMoveTo) {
    Open(kTwenty, 4);
    Open(kEmpty);
    EXPECT_EQ(view->lblWordNum->text(), "0/0");
    EXPECT_TRUE(ThumbWords().isEmpty());
    EXPECT_EQ(NavStates(), Nav({false, false, false, false}));
    EXPECT_TRUE(view->txtEnglish->text().isEmpty());
    QTest::keyClick(view.get(), Qt::Key_Right);
    view->picNextWord->click();
    view->picPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_TRUE(output.played.isEmpty());
}

TEST_F(OrvanelTest, ShuffleDrawsAnyWordAndTheSameWordKeepsThePreviousOne) {
    Open(kTwenty, 2);
    view->chkRnd->setChecked(true);
    random.asked.clear();
    // Each move draws its word, then the transition and its direction.
    random.draws = {15, 0, 0, 15, 0, 0, 4};
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 15);
    EXPECT_EQ(state.PrevEnglish, "tw03");
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 15);
    EXPECT_EQ(state.PrevEnglish, "tw03") << "the same word changes nothing";
    EXPECT_TRUE(Shows("tw16")) << "the transition played again from the word before";
    view->cmdPrevWord->click();
    EXPECT_EQ(state.CurWordIndex, 4);
    EXPECT_EQ(random.asked.front(), 20);
    EXPECT_TRUE(Shows("tw05") || Shows("ffe"));
}

TEST_F(OrvanelTest, MissingPictureShowsTheDefaultAlsoAsThumbnail) {
    Open(kTwenty, 4);
    EXPECT_EQ(state.CurEnglish, "tw05");
    EXPECT_TRUE(Shows("ffe"));
    EXPECT_TRUE(Near(ThumbPixel(view->ArrImages[4]), kDefaultColour));
    EXPECT_EQ(view->ArrImages[4]->accessibleName(), "tw05");
    view->cmdNextWord->click();
    EXPECT_TRUE(Shows("tw06"));
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, SoundSwitchSilencesMovesUntilSwitchedBack) {
    Open(kTwenty);
    EXPECT_EQ(view->AudioTag(), "sound");
    view->imgAudio->click();
    EXPECT_EQ(view->AudioTag(), "nosound");
    view->cmdNextWord->click();
    EXPECT_EQ(state.CurWordIndex, 1);
    EXPECT_TRUE(output.played.isEmpty());
    view->imgAudio->click();
    EXPECT_EQ(view->AudioTag(), "sound");
    view->cmdPrevWord->click();
    EXPECT_EQ(Spoken(), QStringList({"tw01"}));
    EXPECT_EQ(view->imgAudio->accessibleName(), "声音开关");
}

TEST_F(OrvanelTest, SpellingAnimationSpeaksLettersButNotTheHyphen) {
    Open(kSpell);
    ASSERT_EQ(state.CurEnglish, "T-shirt");
    QStringList captions;
    output.whilePlaying = [&](const QString&) { captions << view->txtEnglish->text(); };
    QTest::mouseClick(view->txtEnglish, Qt::LeftButton);
    EXPECT_TRUE(view->txtEnglish->text().isEmpty() || view->TimerAnimation->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    EXPECT_EQ(Spoken(), QStringList({"t", "s", "h", "i", "r", "t", "T-shirt"}));
    EXPECT_EQ(captions, QStringList({"T", "T-s", "T-sh", "T-shi", "T-shir", "T-shirt", "T-shirt"}));
    EXPECT_EQ(view->txtEnglish->text(), "T-shirt");
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, AMoveDuringTheAnimationEndsItWithTheNewWord) {
    Open(kSpell);
    view->imgAudio->click();
    QTest::mouseClick(view->txtEnglish, Qt::LeftButton);
    view->cmdNextWord->click();
    QTRY_VERIFY_WITH_TIMEOUT(!view->TimerAnimation->isActive(), 5000);
    EXPECT_EQ(view->txtEnglish->text(), "ok");
    EXPECT_EQ(Spoken(), QStringList({"ok"})) << "silent move, then the animation ends on the new word";
}

TEST_F(OrvanelTest, AMoveDuringATransitionShowsTheNewestPictureAndSpeaksOnce) {
    Open(kTwenty);
    bool moved = false;
    ticks.whileWaiting = [&] {
        if (moved || !state.EffectRunning) return;
        moved = true;
        view->cmdNextWord->click();
    };
    view->cmdNextWord->click();
    ticks.whileWaiting = nullptr;
    ASSERT_TRUE(moved);
    EXPECT_EQ(state.CurWordIndex, 2);
    EXPECT_FALSE(state.EffectRunning);
    EXPECT_FALSE(view->InTransition);
    EXPECT_TRUE(Shows("tw03"));
    EXPECT_EQ(Spoken(), QStringList()) << "tw03 has no pronunciation; tw02 was overtaken";
    view->cmdNextWord->click();
    EXPECT_TRUE(Shows("tw04"));
    ExpectStoreScrambled();

    view->cmdFirstWord->click();
    output.played.clear();
    moved = false;
    ticks.whileWaiting = [&] {
        if (moved || !state.EffectRunning) return;
        moved = true;
        QTest::keyClick(view.get(), Qt::Key_Right);  // the button is disabled at the last word
    };
    view->cmdLastWord->click();
    ticks.whileWaiting = nullptr;
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_TRUE(Shows("tw01"));
    EXPECT_EQ(Spoken(), QStringList({"tw01"})) << "the newer move speaks once, the overtaken one not at all";
}

TEST_F(OrvanelTest, TransitionRunsAtTheBoxSizeAndVisiblyMoves) {
    Open(kTwenty);
    std::vector<QImage> frames;
    ticks.whileWaiting = [&] {
        if (state.EffectRunning) frames.push_back(view->Picture1->Image().copy());
    };
    view->cmdNextWord->click();
    ticks.whileWaiting = nullptr;
    ASSERT_GE(frames.size(), 10u);
    EXPECT_EQ(frames.front().size(), view->Picture1->size());
    EXPECT_GT(view->Picture1->width(), 400) << "the picture is scaled up to a large box";
    EXPECT_NE(frames[frames.size() / 4], frames[frames.size() / 2]) << "frames differ while it runs";
    EXPECT_TRUE(Shows("tw02"));
}

TEST_F(OrvanelTest, SpellingAndMeaningSwitchesAndTheListButton) {
    Open(kTwenty);
    view->chkEnglish->click();
    EXPECT_TRUE(view->txtEnglish->isHidden());
    view->cmdNextWord->click();
    EXPECT_TRUE(view->txtEnglish->isHidden()) << "stays hidden after a move";
    EXPECT_FALSE(view->LabelChinese->isHidden());
    view->chkChinese->click();
    EXPECT_TRUE(view->LabelChinese->isHidden());
    view->chkEnglish->click();
    EXPECT_FALSE(view->txtEnglish->isHidden());

    view->chkAutoplay->setChecked(true);
    view->TimerAutoplay->start();
    view->cmdToWordList->click();
    EXPECT_EQ(host.modes, std::vector<qint16>{8});
    EXPECT_FALSE(view->TimerAutoplay->isActive());
}

TEST_F(OrvanelTest, LongTextsShrinkButNotBelowEightPoints) {
    Open(kTwenty);
    state.CurEnglish = "a fairly long phrase to read";
    state.CurChinese = "这是一个很长很长的中文意思";
    view->LoadWord();
    const int english = view->txtEnglish->font().pointSize();
    EXPECT_LT(english, OrvanelRules::kEnglishStartSize);
    EXPECT_EQ((OrvanelRules::kEnglishStartSize - english) % 2, 0);
    EXPECT_LE(QFontMetrics(view->txtEnglish->font()).horizontalAdvance(view->txtEnglish->text()),
              view->Picture1->width());
    state.CurEnglish = "Good afternoon";
    view->LoadWord();
    const int wide = view->txtEnglish->font().pointSize();
    view->resize(600, 640);
    QTRY_VERIFY_WITH_TIMEOUT(view->txtEnglish->font().pointSize() < wide, 2000);
    EXPECT_LE(QFontMetrics(view->txtEnglish->font()).horizontalAdvance(view->txtEnglish->text()),
              view->Picture1->width()) << "refitted to the narrower picture";
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
    qint16 at = 1;
    view->ChangeWord(at);
    EXPECT_EQ(view->lblWordNum->text(), "2/20");
    EXPECT_EQ(view->txtEnglish->text(), "tw02");
    EXPECT_TRUE(output.played.isEmpty()) << "nothing is spoken before the window is up";
    EXPECT_TRUE(Shows("ffe"));
    view->show();
    QTRY_VERIFY_WITH_TIMEOUT(!output.played.isEmpty(), 3000);
    EXPECT_EQ(Spoken(), QStringList({"tw02"}));
    EXPECT_TRUE(Shows("tw02"));
    ExpectStoreScrambled();
}

TEST_F(OrvanelTest, PicturesAndLiveTextsAreNamedForScreenReaders) {
    Open(kTwenty, 1);
    EXPECT_EQ(AccessibleName(view->Picture1), "tw02");
    EXPECT_EQ(AccessibleName(view->ArrImages[0]), "tw01");
    EXPECT_EQ(AccessibleName(view->lblWordNum), "2/20");
    EXPECT_EQ(AccessibleName(view->txtEnglish), "tw02");
    EXPECT_EQ(AccessibleName(view->LabelChinese), "词2");
    EXPECT_EQ(AccessibleName(view->picNextWord), "下一页");
    EXPECT_EQ(AccessibleName(view->picPrevWord), "上一页");
    view->cmdNextWord->click();
    EXPECT_EQ(AccessibleName(view->Picture1), "tw03");
    EXPECT_EQ(AccessibleName(view->lblWordNum), "3/20");
}

TEST_F(OrvanelTest, RecorderPanelControlsAreLaidOutWithTheirCaptions) {
    Open(kTwenty);
    EXPECT_EQ(view->FrameRecorder->title(), "跟读比对");
    EXPECT_EQ(view->lblStandardAudio->text(), "标准发音");
    EXPECT_EQ(view->lblBothAudio->text(), "循环比对");
    EXPECT_EQ(view->lblRecord->text(), "开始录音");
    EXPECT_EQ(view->lblMyAudio->text(), "尚未录音");
    EXPECT_EQ(view->Label1->text(), "朗读效果评价：");
    EXPECT_EQ(view->TimerRecord->interval(), 15000);
    EXPECT_EQ(view->TimerAutoplay->interval(), 3000);
    EXPECT_EQ(view->TimerAnimation->interval(), 5);
    EXPECT_FALSE(view->chkAutoplay->isChecked());
    EXPECT_TRUE(view->chkRead->isChecked());
    install.WriteFile("Common/myvoice/tw02.wav", TempInstall::MakeWav(0.05));
    view->cmdNextWord->click();
    EXPECT_EQ(view->lblMyAudio->text(), "我的朗读");
    EXPECT_LE(view->FrameRecorder->mapTo(view.get(), QPoint(0, view->FrameRecorder->height())).y(), view->height())
        << "the panel fits the view";
}

}  // namespace
