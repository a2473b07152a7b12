#pragma once

#include <QGroupBox>

#include "views/ReadViewPictures.h"

class ClickableLabel;
class QFrame;
class QLabel;
class QToolButton;
class ReadAlongRules;
class StarRating;

// The listen-and-read view's recorder: the standard pronunciation, the
// pupil's recording, both in turn, the record control, and the evaluation
// row with the reading's stars. The view connects its controls; the panel
// shows what the read-along rules say.
class RecorderPanel : public QGroupBox {
public:
    RecorderPanel(const ReadViewPictures::Set& pictures, QWidget* parent);

    // Captions, the recording indicator and the shown word's score.
    void ShowState(ReadAlongRules& readAlong);

    QLabel* Label5;
    QLabel* Label4;
    QToolButton* imgReadGood;
    QToolButton* imgReadBad;
    QToolButton* imgBothAudio;
    ClickableLabel* lblBothAudio;
    QLabel* Label1;
    QFrame* Line1;
    QToolButton* imgMyAudio;
    ClickableLabel* lblMyAudio;
    ClickableLabel* lblStandardAudio;
    QToolButton* imgStandardAudio;
    QToolButton* imgRecord;
    ClickableLabel* lblRecord;
    QLabel* Label2;
    // The reading's score beside "朗读效果评价：" and the note when no voice
    // was heard.
    StarRating* Stars;
    QLabel* lblScoreNote;

private:
    void CreateControls(const ReadViewPictures::Set& pictures);
    void PlaceControls();
    void ShowScore(ReadAlongRules& readAlong);
};
