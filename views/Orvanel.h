#pragma once

#include <QEvent>
#include <QWidget>
#include <array>

#include "core/LessonContext.h"
#include "media/modTransEffects.h"
#include "views/OrvanelRules.h"
#include "views/ReadAlongRules.h"
#include "views/ReadViewPictures.h"

class ClickableLabel;
class RecorderPanel;
class PictureBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class ReadingWaves;
class TickSource;

// The listen-and-read view: one word at a time with its picture (changed by
// a transition), spelling, meaning, position and a strip of thumbnails, and
// the buttons, keys and arrows that move through the unit; the standard
// pronunciation, the pupil's own recording and its replay, and automatic
// browsing.
class Orvanel : public QWidget {
public:
    Orvanel(LessonContext& context, TickSource& ticks, const ReadViewPictures::Set& pictures, QWidget* parent);
    ~Orvanel() override;

    void StartMyRecord();
    void InitUserControl();
    void StopAutoplay();
    void LoadWord();
    void LoadPic();
    void LoadArrPics();
    void LoadWordPic();
    void ChangeWord(qint16& index);

    qint16 PageStart = 0;
    qint16 PageSize = 0;
    bool InTransition = false;

    // Recorder panel
    QTimer* TimerRecord;
    RecorderPanel* FrameRecorder;
    // The two aligned waveforms of the standard and the reading, under the
    // picture.
    ReadingWaves* Waves;

    QCheckBox* chkAutoplay;
    QCheckBox* chkRnd;
    QCheckBox* chkChinese;
    QCheckBox* chkRead;
    QCheckBox* chkEnglish;
    QTimer* TimerAnimation;
    QPushButton* cmdToWordList;
    QPushButton* cmdLastWord;
    QPushButton* cmdNextWord;
    QPushButton* cmdPrevWord;
    QPushButton* cmdFirstWord;
    PictureBox* Picture1;
    PictureBox* Picture2;
    PictureBox* Picture3;
    QTimer* TimerAutoplay;
    std::array<QToolButton*, OrvanelRules::kThumbnails> ArrImages{};
    QToolButton* picNextWord;
    QToolButton* picPrevWord;
    QLabel* lblWordNum;
    ClickableLabel* txtEnglish;
    QLabel* LabelChinese;
    QToolButton* imgAudio;

    OrvanelRules& Rules() { return rules_; }
    ReadAlongRules& ReadAlong() { return readAlong_; }
    modTransEffects& Effects() { return effects_; }
    QString AudioTag() const { return audioTag_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControls(const ReadViewPictures::Set& pictures);
    void PlaceControls();
    void FitPictures();
    void FitThumbnails();
    void ConnectControls();
    void ConnectRecorderPanel();
    void ShowRecorderState();
    void KeepKeysWithTheView();
    void WindowBlockedChanged(QEvent::Type type);
    bool MoveByKey(int key);
    void PaintNow();

    void ShowTransition();
    void SetNavButtons(qint16 index);
    void NextWord();
    void PrevWord();
    void ShowEmptyUnit();
    void FinishMove(int move);
    // Shows text in label, fitted to the picture's width (a QLabel or a
    // ClickableLabel).
    template <class Label>
    void SetLabelText(Label* label, const QString& text, int startSize);
    QImage LoadWordPicture(const QString& word);

    void cmdFirstWord_Click();
    void cmdLastWord_Click();
    void cmdNextWord_Click();
    void cmdPrevWord_Click();
    void ArrImages_Click(int index);
    void picNextWord_Click();
    void picPrevWord_Click();
    void cmdToWordList_Click();
    void imgAudio_Click();
    void txtEnglish_Click();
    void TimerAnimation_Timer();
    void lblRecord_Click();
    void TimerRecord_Timer();
    void Listen(void (ReadAlongRules::*action)());
    void imgReadBad_Click();
    void chkRead_Click();
    void chkAutoplay_Click();

    LessonContext& context_;
    OrvanelRules rules_;
    ReadAlongRules readAlong_;
    modTransEffects effects_;
    QString audioTag_;
    QWidget* pictureArea_;
    QWidget* sidePanel_;
    QWidget* thumbStrip_;
    // Counts the moves, so that a move overtaken by a newer one (during its
    // transition) leaves the speaking to the newer one.
    int moves_ = 0;
    // The window was not on screen yet: the transition and pronunciation of
    // the shown word wait until it is.
    bool pendingEntrance_ = false;
};
