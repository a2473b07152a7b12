#include "views/RecorderPanel.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>

#include "views/ChangeStyleSheet.h"
#include "views/ClickableLabel.h"
#include "views/ImageButton.h"
#include "views/ReadAlongRules.h"
#include "views/SizedFont.h"
#include "views/StarRating.h"

namespace {

constexpr int kTextSize = 11;

}  // namespace

RecorderPanel::RecorderPanel(const ReadViewPictures::Set& pictures, QWidget* parent)
    : QGroupBox(QStringLiteral("跟读比对"), parent) {
    setFont(SizedFont(font(), 13, true));
    CreateControls(pictures);
    PlaceControls();
}

void RecorderPanel::CreateControls(const ReadViewPictures::Set& pictures) {
    auto labelled = [this](const QImage& picture, const QString& caption, QToolButton*& image, ClickableLabel*& label) {
        image = ImageButton(picture, caption, this);
        label = new ClickableLabel(caption, this);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(SizedFont(label->font(), kTextSize));
    };
    labelled(pictures.speaker, QStringLiteral("标准发音"), imgStandardAudio, lblStandardAudio);
    labelled(pictures.myVoice, QStringLiteral("我的朗读"), imgMyAudio, lblMyAudio);
    labelled(pictures.both, QStringLiteral("循环比对"), imgBothAudio, lblBothAudio);
    labelled(pictures.record, QStringLiteral("开始录音"), imgRecord, lblRecord);

    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("朗读效果评价："), this);
    imgReadGood = ImageButton(pictures.readGood, QStringLiteral("很好"), this);
    imgReadBad = ImageButton(pictures.readBad, QStringLiteral("再试一次"), this);
    Label4 = new QLabel(QStringLiteral("  Very Good !"), this);
    Label5 = new QLabel(QStringLiteral("   Try again !"), this);
    Label2 = new QLabel(this);
    Stars = new StarRating(this);
    lblScoreNote = new QLabel(this);
    lblScoreNote->setWordWrap(true);
    lblScoreNote->setStyleSheet(QStringLiteral("color: #c0392b;"));
    lblScoreNote->hide();
    for (QLabel* label : {Label1, Label4, Label5, Label2, lblScoreNote})
        label->setFont(SizedFont(label->font(), kTextSize));
    Label4->setAlignment(Qt::AlignCenter);
    Label5->setAlignment(Qt::AlignCenter);
}

void RecorderPanel::PlaceControls() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setVerticalSpacing(0);
    grid->addWidget(imgStandardAudio, 0, 0, Qt::AlignHCenter);
    grid->addWidget(imgMyAudio, 0, 1, Qt::AlignHCenter);
    grid->addWidget(lblStandardAudio, 1, 0);
    grid->addWidget(lblMyAudio, 1, 1);
    grid->addWidget(imgBothAudio, 2, 0, Qt::AlignHCenter);
    grid->addWidget(imgRecord, 2, 1, Qt::AlignHCenter);
    grid->addWidget(lblBothAudio, 3, 0);
    grid->addWidget(lblRecord, 3, 1);
    grid->addWidget(Line1, 4, 0, 1, 2);
    grid->addWidget(Label1, 5, 0);
    grid->addWidget(Stars, 5, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(lblScoreNote, 6, 0, 1, 2);
    grid->addWidget(imgReadGood, 7, 0, Qt::AlignHCenter);
    grid->addWidget(imgReadBad, 7, 1, Qt::AlignHCenter);
    grid->addWidget(Label4, 8, 0);
    grid->addWidget(Label5, 8, 1);
    grid->addWidget(Label2, 9, 0, 1, 2);
}

// The record control's caption and name tell whether a recording runs (the
// picture is named by the caption too); the indicator tells whether the
// word has one.
void RecorderPanel::ShowState(ReadAlongRules& readAlong) {
    const QString caption = readAlong.RecordCaption();
    lblRecord->setText(caption);
    imgRecord->setAccessibleName(caption);
    imgRecord->setToolTip(caption);
    lblMyAudio->setText(readAlong.MyAudioCaption());
    ChangeStyleSheet(lblMyAudio, readAlong.MyAudioRecorded() ? QStringLiteral("color: black;")
                                                              : QStringLiteral("color: red;"));
    ShowScore(readAlong);
}

// Stars, or the note when no voice was heard; nothing for a recording that
// could not be scored.
void RecorderPanel::ShowScore(ReadAlongRules& readAlong) {
    const ReadingScore::Result* score = readAlong.CurrentScore();
    Stars->SetStars(score ? score->stars : 0);
    lblScoreNote->setText(score && !score->voiced ? ReadAlongRules::kNoVoiceNote : QString());
    lblScoreNote->setVisible(!lblScoreNote->text().isEmpty());
}
