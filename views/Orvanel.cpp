#include "views/Orvanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/MessageService.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "views/ChangeStyleSheet.h"
#include "views/ClickableLabel.h"
#include "views/FocusHandBack.h"
#include "views/ImageButton.h"
#include "views/PictureBox.h"
#include "views/ReadingWaves.h"
#include "views/RecorderPanel.h"
#include "views/SizedFont.h"

namespace {

const QString kSound = QStringLiteral("sound");
const QString kNoSound = QStringLiteral("nosound");
const QString kThumbBorder = QStringLiteral("QToolButton { border: 3px solid #e67e22; border-radius: 4px; }");
const QString kThumbPlain = QStringLiteral("QToolButton { border: 3px solid transparent; }");
constexpr int kSidePanelWidth = 260;

void SetPointSize(QWidget* widget, int size, bool bold = false) {
    widget->setFont(SizedFont(widget->font(), size, bold));
}

}  // namespace

Orvanel::Orvanel(LessonContext& context, TickSource& ticks, const ReadViewPictures::Set& pictures,
                 QWidget* parent)
    : QWidget(parent),
      context_(context),
      rules_(context.state, context.random),
      readAlong_(context.state, context.db, context.store, context.sound, context.recorder, context.messages),
      effects_(context.state, ticks, context.random) {
    setAccessibleName(QStringLiteral("单词初记"));
    setFocusPolicy(Qt::StrongFocus);
    CreateControls(pictures);
    PlaceControls();
    ConnectControls();
    ConnectRecorderPanel();
    KeepKeysWithTheView();
    readAlong_.RecordingChanged = [this] {
        ShowRecorderState();
        FrameRecorder->repaint();
        Waves->repaint();
    };
    readAlong_.PlayingChanged = [this](ReadAlongRules::Track track) {
        Waves->SetPlaying(track);
        Waves->repaint();
    };
    ShowRecorderState();
}

// A recording still running when the program ends is kept under its word.
Orvanel::~Orvanel() {
    readAlong_.RecordingChanged = nullptr;
    readAlong_.PlayingChanged = nullptr;
    readAlong_.SaveMyRecord();
}

void Orvanel::StartMyRecord() {
    readAlong_.StartMyRecord();
}

void Orvanel::CreateControls(const ReadViewPictures::Set& pictures) {
    TimerRecord = new QTimer(this);
    TimerRecord->setInterval(15000);
    TimerAutoplay = new QTimer(this);
    TimerAutoplay->setInterval(3000);
    TimerAnimation = new QTimer(this);
    TimerAnimation->setInterval(5);

    pictureArea_ = new QWidget(this);
    Picture1 = new PictureBox(pictureArea_);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture2 = new PictureBox(this);
    Picture3 = new PictureBox(this);
    Picture2->hide();
    Picture3->hide();

    txtEnglish = new ClickableLabel(QStringLiteral("English"), this);
    txtEnglish->setToolTip(QStringLiteral("点击演示动画"));
    LabelChinese = new QLabel(QStringLiteral("中文"), this);
    txtEnglish->setAlignment(Qt::AlignCenter);
    LabelChinese->setAlignment(Qt::AlignCenter);
    LabelChinese->setTextFormat(Qt::PlainText);
    txtEnglish->setStyleSheet(QStringLiteral("color: #1a4f8b;"));
    LabelChinese->setStyleSheet(QStringLiteral("color: #333333;"));
    SetPointSize(txtEnglish, OrvanelRules::kEnglishStartSize, true);
    SetPointSize(LabelChinese, OrvanelRules::kChineseStartSize);
    // The lines keep their height whatever size the text is fitted to, so
    // the picture above them does not jump from word to word.
    for (QWidget* label : {static_cast<QWidget*>(txtEnglish), static_cast<QWidget*>(LabelChinese)})
        label->setFixedHeight(QFontMetrics(label->font()).height() + 4);

    picPrevWord = ImageButton(pictures.pagePrev, QStringLiteral("上一页"), this);
    picNextWord = ImageButton(pictures.pageNext, QStringLiteral("下一页"), this);
    for (size_t i = 0; i < ArrImages.size(); ++i) {
        auto* thumb = new QToolButton(this);
        thumb->setAutoRaise(true);
        thumb->setCursor(Qt::PointingHandCursor);
        thumb->setStyleSheet(kThumbPlain);
        ArrImages[i] = thumb;
    }

    lblWordNum = new QLabel(QStringLiteral("个/总共100个"), this);
    lblWordNum->setAlignment(Qt::AlignCenter);
    SetPointSize(lblWordNum, 20, true);
    lblWordNum->setStyleSheet(QStringLiteral("color: #c0392b;"));

    cmdFirstWord = new QPushButton(QStringLiteral("第一个"), this);
    cmdPrevWord = new QPushButton(QStringLiteral("上一个"), this);
    cmdNextWord = new QPushButton(QStringLiteral("下一个"), this);
    cmdLastWord = new QPushButton(QStringLiteral("最后一个"), this);
    for (QPushButton* button : {cmdFirstWord, cmdPrevWord, cmdNextWord, cmdLastWord}) {
        SetPointSize(button, 13, true);
        button->setMinimumHeight(40);
    }
    cmdToWordList = new QPushButton(QStringLiteral("列表显示"), this);
    SetPointSize(cmdToWordList, 12);
    cmdToWordList->setMinimumHeight(36);

    imgAudio = new QToolButton(this);
    imgAudio->setAutoRaise(true);
    imgAudio->setIconSize(QSize(36, 36));
    imgAudio->setAccessibleName(QStringLiteral("声音开关"));
    imgAudio->setToolTip(QStringLiteral("声音开关"));
    imgAudio->setCursor(Qt::PointingHandCursor);

    chkEnglish = new QCheckBox(QStringLiteral("英文"), this);
    chkChinese = new QCheckBox(QStringLiteral("中文"), this);
    chkRnd = new QCheckBox(QStringLiteral("打乱顺序"), this);
    chkAutoplay = new QCheckBox(QStringLiteral("自动浏览"), this);
    chkRead = new QCheckBox(QStringLiteral("跟读比对"), this);
    chkEnglish->setChecked(true);
    chkChinese->setChecked(true);
    chkRead->setChecked(true);
    for (QCheckBox* box : {chkEnglish, chkChinese, chkRnd, chkAutoplay, chkRead}) SetPointSize(box, 12);

    FrameRecorder = new RecorderPanel(pictures, this);
    // Under the picture, where there is room to draw them at any window
    // size; shown and hidden with the panel.
    Waves = new ReadingWaves(this);
}

void Orvanel::PlaceControls() {
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(pictureArea_, 1);
    left->addWidget(txtEnglish);
    left->addWidget(LabelChinese);
    left->addWidget(Waves);
    thumbStrip_ = new QWidget(this);
    auto* strip = new QHBoxLayout(thumbStrip_);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(2);
    strip->addWidget(picPrevWord);
    strip->addStretch();
    for (QToolButton* thumb : ArrImages) strip->addWidget(thumb);
    strip->addStretch();
    strip->addWidget(picNextWord);
    left->addWidget(thumbStrip_);

    sidePanel_ = new QWidget(this);
    sidePanel_->setFixedWidth(kSidePanelWidth);
    auto* side = new QVBoxLayout(sidePanel_);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(6);
    for (QWidget* w : std::initializer_list<QWidget*>{lblWordNum, cmdFirstWord, cmdPrevWord, cmdNextWord, cmdLastWord,
                                                      imgAudio, cmdToWordList, chkEnglish, chkChinese, chkRnd,
                                                      chkAutoplay, chkRead, FrameRecorder})
        w->setParent(sidePanel_);
    side->addWidget(lblWordNum);
    auto* nav = new QGridLayout;
    nav->addWidget(cmdFirstWord, 0, 0);
    nav->addWidget(cmdLastWord, 0, 1);
    nav->addWidget(cmdPrevWord, 1, 0);
    nav->addWidget(cmdNextWord, 1, 1);
    side->addLayout(nav);
    auto* tools = new QHBoxLayout;
    tools->addWidget(imgAudio);
    tools->addWidget(cmdToWordList, 1);
    side->addLayout(tools);
    auto* checks = new QGridLayout;
    checks->setVerticalSpacing(2);
    checks->addWidget(chkEnglish, 0, 0);
    checks->addWidget(chkChinese, 0, 1);
    checks->addWidget(chkRnd, 1, 0);
    checks->addWidget(chkAutoplay, 1, 1);
    checks->addWidget(chkRead, 2, 0);
    side->addLayout(checks);
    side->addWidget(FrameRecorder);
    side->addStretch();

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(12);
    root->addLayout(left, 1);
    root->addWidget(sidePanel_);
    pictureArea_->installEventFilter(this);
}

void Orvanel::ConnectControls() {
    connect(cmdFirstWord, &QPushButton::clicked, this, [this] { cmdFirstWord_Click(); });
    connect(cmdLastWord, &QPushButton::clicked, this, [this] { cmdLastWord_Click(); });
    connect(cmdNextWord, &QPushButton::clicked, this, [this] { cmdNextWord_Click(); });
    connect(cmdPrevWord, &QPushButton::clicked, this, [this] { cmdPrevWord_Click(); });
    for (size_t i = 0; i < ArrImages.size(); ++i)
        connect(ArrImages[i], &QToolButton::clicked, this, [this, i] { ArrImages_Click(static_cast<int>(i)); });
    connect(picNextWord, &QToolButton::clicked, this, [this] { picNextWord_Click(); });
    connect(picPrevWord, &QToolButton::clicked, this, [this] { picPrevWord_Click(); });
    connect(cmdToWordList, &QPushButton::clicked, this, [this] { cmdToWordList_Click(); });
    connect(imgAudio, &QToolButton::clicked, this, [this] { imgAudio_Click(); });
    connect(txtEnglish, &ClickableLabel::clicked, this, [this] { txtEnglish_Click(); });
    connect(TimerAnimation, &QTimer::timeout, this, [this] { TimerAnimation_Timer(); });
    connect(chkEnglish, &QCheckBox::clicked, this, [this] { txtEnglish->setVisible(chkEnglish->isChecked()); });
    connect(chkChinese, &QCheckBox::clicked, this, [this] { LabelChinese->setVisible(chkChinese->isChecked()); });
}

void Orvanel::ConnectRecorderPanel() {
    RecorderPanel* panel = FrameRecorder;
    connect(panel->lblRecord, &ClickableLabel::clicked, this, [this] { lblRecord_Click(); });
    connect(panel->imgRecord, &QToolButton::clicked, this, [this] { lblRecord_Click(); });
    connect(TimerRecord, &QTimer::timeout, this, [this] { TimerRecord_Timer(); });
    connect(panel->lblStandardAudio, &ClickableLabel::clicked, this, [this] { Listen(&ReadAlongRules::StandardAudioClicked); });
    connect(panel->imgStandardAudio, &QToolButton::clicked, this, [this] { Listen(&ReadAlongRules::StandardAudioClicked); });
    connect(panel->lblMyAudio, &ClickableLabel::clicked, this, [this] { Listen(&ReadAlongRules::MyAudioClicked); });
    connect(panel->imgMyAudio, &QToolButton::clicked, this, [this] { Listen(&ReadAlongRules::MyAudioClicked); });
    connect(panel->lblBothAudio, &ClickableLabel::clicked, this, [this] { Listen(&ReadAlongRules::BothAudioClicked); });
    connect(panel->imgBothAudio, &QToolButton::clicked, this, [this] { Listen(&ReadAlongRules::BothAudioClicked); });
    connect(Picture1, &PictureBox::clicked, this, [this] { readAlong_.PictureClicked(); });
    connect(panel->imgReadBad, &QToolButton::clicked, this, [this] { imgReadBad_Click(); });
    connect(chkRead, &QCheckBox::clicked, this, [this] { chkRead_Click(); });
    connect(chkAutoplay, &QCheckBox::clicked, this, [this] { chkAutoplay_Click(); });
    connect(TimerAutoplay, &QTimer::timeout, this, [this] { NextWord(); });
}

// The panel shows the captions and the stars; the waveforms are drawn for a
// voiced take only. The record timer runs while a recording does.
void Orvanel::ShowRecorderState() {
    FrameRecorder->ShowState(readAlong_);
    const ReadingScore::Result* score = readAlong_.CurrentScore();
    if (score && score->voiced)
        Waves->SetWaves(score->standard, score->aligned);
    else
        Waves->SetWaves({}, {});
    if (!readAlong_.Recording())
        TimerRecord->stop();
    else if (!TimerRecord->isActive())
        TimerRecord->start();
}

// The arrows, Enter and Space belong to the view whatever was clicked last:
// a click does not take the focus, and the controls pass these keys on
// (Space excepted, which works a control reached by Tab).
void Orvanel::KeepKeysWithTheView() {
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->setFocusPolicy(Qt::TabFocus);
    for (QWidget* control : findChildren<QWidget*>())
        if (control->focusPolicy() != Qt::NoFocus && control != Picture1) control->installEventFilter(this);
}

bool Orvanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pictureArea_ && event->type() == QEvent::Resize) FitPictures();
    if (watched == window()) WindowBlockedChanged(event->type());
    if (watched == window() || watched == pictureArea_) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) Picture1->setFocus(Qt::MouseFocusReason);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && MoveByKey(key)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Browsing waits while a modal window covers the view.
void Orvanel::WindowBlockedChanged(QEvent::Type type) {
    if (type == QEvent::WindowBlocked) TimerAutoplay->stop();
    if (type == QEvent::WindowUnblocked && chkAutoplay->isChecked() && isVisible()) TimerAutoplay->start();
}

// The main picture keeps the pictures' 4:3 shape, as large as its area allows.
void Orvanel::FitPictures() {
    const QSize area = pictureArea_->size();
    QSize box(area.width(), area.width() * 3 / 4);
    if (box.height() > area.height()) box = QSize(area.height() * 4 / 3, area.height());
    Picture1->setGeometry(QRect(QPoint((area.width() - box.width()) / 2, (area.height() - box.height()) / 2), box));
    Picture2->resize(box);
    Picture3->resize(box);
    // The texts are fitted to the picture's width, so they follow its size;
    // a spelling being animated is left to finish as it is.
    const LessonState& state = context_.state;
    if (state.WordCount > 0 && !TimerAnimation->isActive()) {
        SetLabelText(txtEnglish, state.CurEnglish, OrvanelRules::kEnglishStartSize);
        SetLabelText(LabelChinese, state.CurChinese, OrvanelRules::kChineseStartSize);
    }
}

void Orvanel::FitThumbnails() {
    const int stripWidth = width() - kSidePanelWidth - 32 - 2 * picNextWord->sizeHint().width();
    const int thumbWidth = std::clamp(stripWidth / OrvanelRules::kThumbnails - 10, 32, OrvanelRules::kThumbMax.width());
    // Fixed sizes: a short page or a new icon never moves the picture above.
    const QSize icon(thumbWidth, thumbWidth * 3 / 4);
    for (QToolButton* thumb : ArrImages) {
        thumb->setIconSize(icon);
        thumb->setFixedSize(icon + QSize(10, 10));
    }
    thumbStrip_->setFixedHeight(std::max(icon.height() + 10, picNextWord->sizeHint().height()));
}

void Orvanel::resizeEvent(QResizeEvent* event) {
    FitThumbnails();
    QWidget::resizeEvent(event);
}

QImage Orvanel::LoadWordPicture(const QString& word) {
    return context_.store.LoadWordPicture(word);
}

void Orvanel::InitUserControl() {
    LessonState& state = context_.state;
    state.ReadViewEntered = false;
    effects_.EffectInterval = 1;
    state.PrevEnglish = MediaStore::kDefaultPicture;
    Picture1->SetPicture(LoadWordPicture(MediaStore::kDefaultPicture));
    imgAudio->setIcon(QIcon(context_.store.AppPicsPath(QStringLiteral("sound.bmp"))));
    audioTag_ = kSound;
}

void Orvanel::StopAutoplay() {
    TimerAutoplay->stop();
    chkAutoplay->setChecked(false);
}

template <class Label>
void Orvanel::SetLabelText(Label* label, const QString& text, int startSize) {
    // Before the picture is first placed there is no width to fit to;
    // placing it fits the texts.
    if (!Picture1->testAttribute(Qt::WA_Resized)) {
        label->setText(text);
        return;
    }
    const int room = Picture1->width();
    QFont font = label->font();
    const int size = OrvanelRules::FitTextSize(startSize, [&](int points) {
        font.setPointSize(points);
        return QFontMetrics(font).horizontalAdvance(text) <= room;
    });
    font.setPointSize(size);
    label->setFont(font);
    const QFontMetrics metrics(font);
    label->setText(metrics.horizontalAdvance(text) <= room ? text : metrics.elidedText(text, Qt::ElideRight, room));
}

void Orvanel::LoadWord() {
    const LessonState& state = context_.state;
    SetLabelText(txtEnglish, state.CurEnglish, OrvanelRules::kEnglishStartSize);
    SetLabelText(LabelChinese, state.CurChinese, OrvanelRules::kChineseStartSize);
    txtEnglish->setVisible(chkEnglish->isChecked());
    LabelChinese->setVisible(chkChinese->isChecked());
    ShowRecorderState();
}

void Orvanel::LoadArrPics() {
    const LessonState& state = context_.state;
    PageStart = rules_.PageStart();
    PageSize = rules_.PageSize();
    for (int i = 0; i < OrvanelRules::kThumbnails; ++i) {
        QToolButton* thumb = ArrImages[i];
        if (i >= PageSize) {
            HandFocusBack(thumb, Picture1);
            thumb->hide();
            continue;
        }
        const QString word = state.Words[PageStart + i].English;
        // Decoded at the largest size a thumbnail takes; the icon scales it
        // to whatever size the strip gives it.
        const QImage picture =
            context_.store.LoadWordPicture(word, true, OrvanelRules::ThumbnailDecodeSize(devicePixelRatio()));
        thumb->setIcon(QIcon(QPixmap::fromImage(picture)));
        thumb->setAccessibleName(word.trimmed());
        thumb->setToolTip(word.trimmed());
        ChangeStyleSheet(thumb, PageStart + i == state.CurWordIndex ? kThumbBorder : kThumbPlain);
        thumb->show();
    }
}

void Orvanel::LoadPic() {
    const LessonState& state = context_.state;
    Picture2->SetPicture(LoadWordPicture(state.CurEnglish));
    // Without a word before it, the word enters over what the picture
    // shows: after the start, the default picture.
    if (!state.PrevEnglish.isEmpty()) Picture1->SetPicture(LoadWordPicture(state.PrevEnglish));
    Picture3->ShowSameAs(*Picture1);
    Picture1->setAccessibleName(state.CurEnglish);
    ShowTransition();
}

void Orvanel::ShowTransition() {
    LessonState& state = context_.state;
    if (InTransition) {
        // A newer move overtakes the running transition: its own picture
        // rests at once.
        state.EffectRunning = false;
        InTransition = false;
        Picture1->ShowSameAs(*Picture2);
        return;
    }
    if (state.EffectRunning) return;
    InTransition = true;
    rules_.PlayRandomEffect(effects_, *Picture1, Picture2->Image());
    // Whether it ran to its end or a newer move cut it short, the picture
    // that rests is that of the word now shown.
    Picture1->ShowSameAs(*Picture2);
    InTransition = false;
    if (!state.ReadViewEntered) {
        Picture2->repaint();
        Picture3->repaint();
    }
}

void Orvanel::LoadWordPic() {
    LessonState& state = context_.state;
    const int move = ++moves_;
    if (state.WordCount <= 0) {
        ShowEmptyUnit();
        return;
    }
    context_.words.SetCurrentWord();
    readAlong_.WordShown();
    lblWordNum->setText(QStringLiteral("%1/%2").arg(state.CurWordIndex + 1).arg(state.WordCount));
    LoadWord();
    LoadArrPics();
    if (!window()->isVisible()) {
        pendingEntrance_ = true;
        return;
    }
    FinishMove(move);
}

void Orvanel::FinishMove(int move) {
    LoadPic();
    if (move != moves_) return;
    PaintNow();
    const LessonState& state = context_.state;
    if (audioTag_ != kSound || !isVisible()) return;
    if (state.CurWordIndex < 0 || state.CurWordIndex >= state.WordCount) return;
    context_.sound.PlayWordSound(state.Words[state.CurWordIndex].English);
}

// A sound holds up the event loop while it plays, so what belongs to it is
// laid out and put on screen before it starts.
void Orvanel::PaintNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    repaint();
}

void Orvanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    window()->installEventFilter(this);
    // The arrow keys, Enter and Space work at once, without a click first.
    if (!isAncestorOf(QApplication::focusWidget())) Picture1->setFocus();
    if (!pendingEntrance_) return;
    // After the window has come up, so the pupil sees the first transition.
    QTimer::singleShot(0, this, [this] {
        if (!pendingEntrance_ || !window()->isVisible()) return;
        pendingEntrance_ = false;
        FinishMove(moves_);
    });
}

// Browsing stops whatever hid the view; a move still under way when it was
// hidden ends without speaking (see FinishMove).
void Orvanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    StopAutoplay();
}

void Orvanel::ShowEmptyUnit() {
    pendingEntrance_ = false;
    PageStart = 0;
    PageSize = 0;
    lblWordNum->setText(QStringLiteral("0/0"));
    txtEnglish->clear();
    LabelChinese->clear();
    for (QToolButton* thumb : ArrImages) {
        HandFocusBack(thumb, Picture1);
        thumb->hide();
    }
    for (QPushButton* button : {cmdFirstWord, cmdPrevWord, cmdNextWord, cmdLastWord}) SetUsable(button, false, Picture1);
    Picture1->SetPicture(LoadWordPicture(MediaStore::kDefaultPicture));
    Picture1->setAccessibleName(QString());
}

void Orvanel::SetNavButtons(qint16 index) {
    const OrvanelRules::NavButtons states = rules_.SetNavButtons(index);
    SetUsable(cmdFirstWord, states.first, Picture1);
    SetUsable(cmdPrevWord, states.prev, Picture1);
    SetUsable(cmdNextWord, states.next, Picture1);
    SetUsable(cmdLastWord, states.last, Picture1);
}

void Orvanel::NextWord() {
    if (!rules_.NextWord(chkRnd->isChecked())) return;
    SetNavButtons(context_.state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::PrevWord() {
    if (!rules_.PrevWord(chkRnd->isChecked())) return;
    SetNavButtons(context_.state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::ChangeWord(qint16& index) {
    StopAutoplay();
    LessonState& state = context_.state;
    if (index < 0 || index >= state.WordCount) index = 0;
    state.CurWordIndex = index;
    SetNavButtons(state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::cmdFirstWord_Click() {
    StopAutoplay();
    context_.state.CurWordIndex = 0;
    SetNavButtons(0);
    LoadWordPic();
}

void Orvanel::cmdLastWord_Click() {
    StopAutoplay();
    LessonState& state = context_.state;
    state.CurWordIndex = static_cast<qint16>(std::max(state.WordCount - 1, 0));
    SetNavButtons(state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::cmdNextWord_Click() {
    StopAutoplay();
    NextWord();
}

void Orvanel::cmdPrevWord_Click() {
    StopAutoplay();
    PrevWord();
}

void Orvanel::ArrImages_Click(int index) {
    qint16 target = static_cast<qint16>(PageStart + index);
    ChangeWord(target);
}

void Orvanel::picNextWord_Click() {
    if (!rules_.NextPage()) {
        context_.messages.Show(QStringLiteral("没有了！"), QStringLiteral("选择单词"), MsgButtons::Ok,
                               MsgIcon::Information);
        return;
    }
    SetNavButtons(context_.state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::picPrevWord_Click() {
    if (!rules_.PrevPage()) {
        context_.messages.Show(QStringLiteral("没有了！"), QStringLiteral("选择单词"), MsgButtons::Ok,
                               MsgIcon::Information);
        return;
    }
    LoadArrPics();
    SetNavButtons(context_.state.CurWordIndex);
    LoadWordPic();
}

void Orvanel::cmdToWordList_Click() {
    StopAutoplay();
    context_.host.ShowUserControl(8);
}

void Orvanel::imgAudio_Click() {
    audioTag_ = audioTag_ != kNoSound ? kNoSound : kSound;
    const QString file = audioTag_ == kSound ? QStringLiteral("sound.bmp") : QStringLiteral("nosound.bmp");
    imgAudio->setIcon(QIcon(context_.store.AppPicsPath(file)));
}

void Orvanel::txtEnglish_Click() {
    txtEnglish->setText(QString());
    TimerAnimation->start();
}

void Orvanel::TimerAnimation_Timer() {
    const QString& word = context_.state.CurEnglish;
    const QChar letter = OrvanelRules::NextLetter(txtEnglish->text(), word);
    if (letter.isNull()) {
        TimerAnimation->stop();
        SetLabelText(txtEnglish, word, OrvanelRules::kEnglishStartSize);
        txtEnglish->repaint();
        context_.sound.PlayWordSound(word);
        return;
    }
    txtEnglish->setText(txtEnglish->text() + letter);
    // Each letter shows as it is spoken.
    txtEnglish->repaint();
    if (OrvanelRules::IsSpokenLetter(letter)) context_.sound.PlayWordSound(QString(letter));
}

void Orvanel::lblRecord_Click() {
    StopAutoplay();
    readAlong_.RecordClicked();
    ShowRecorderState();
}

void Orvanel::TimerRecord_Timer() {
    readAlong_.SaveMyRecord();
    ShowRecorderState();
}

// The standard pronunciation, the pupil's recording or both: browsing
// stops and a running recording is saved first.
void Orvanel::Listen(void (ReadAlongRules::*action)()) {
    StopAutoplay();
    (readAlong_.*action)();
    ShowRecorderState();
}

void Orvanel::imgReadBad_Click() {
    readAlong_.DeleteMyRecord();
    ShowRecorderState();
}

void Orvanel::chkRead_Click() {
    FrameRecorder->setVisible(chkRead->isChecked());
    Waves->setVisible(chkRead->isChecked());
}

// The first step follows the click at once.
void Orvanel::chkAutoplay_Click() {
    if (!chkAutoplay->isChecked()) {
        TimerAutoplay->stop();
        return;
    }
    TimerAutoplay->start();
    NextWord();
}

bool Orvanel::MoveByKey(int key) {
    switch (OrvanelRules::MoveForKey(key)) {
    case OrvanelRules::KeyMove::Prev:
        cmdPrevWord_Click();
        return true;
    case OrvanelRules::KeyMove::Next:
        cmdNextWord_Click();
        return true;
    default:
        return false;
    }
}

void Orvanel::keyPressEvent(QKeyEvent* event) {
    if (!MoveByKey(event->key())) QWidget::keyPressEvent(event);
}
