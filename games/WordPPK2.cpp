#include "games/WordPPK2.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/MessageService.h"
#include "data/Catalogue.h"
#include "data/WordRecords.h"
#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "quiz/FormRRK.h"
#include "quiz/ReviewBook.h"

namespace {

const QString kTitle = QStringLiteral("单词排排看");
// The template's 960 × 1080 design units.
const QSize kTile(64, 72);

const QString kTileStyle = QStringLiteral(
    "QLabel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #fff1c9);"
    " color: #1d3557; border: 3px solid #c98b2b; border-radius: 12px; }"
    "QLabel:focus { border: 4px solid #1f6fd1; }"
    "QLabel[carried=\"true\"] { background: #ffd86b; border: 4px solid #e06c00; }");

const QString kBarButtonStyle = QStringLiteral(
    "QPushButton { background: #ffffff; color: #1d3557; border: 2px solid #46607a; border-radius: 10px;"
    " padding: 4px 14px; }"
    "QPushButton:focus { border: 3px solid #1f6fd1; }"
    "QPushButton:pressed { background: #e6eef7; }");

}  // namespace

WordPPK2::WordPPK2(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      lblResult(new QLabel(this)),
      imgStandardAudio(new GamePicture(this)),
      imgHelp(new QPushButton(QStringLiteral("帮助"), this)),
      cmdTip(new QPushButton(QStringLiteral("我认输啦"), this)),
      cmdReturn(new QPushButton(QStringLiteral("结束游戏"), this)),
      context_(context),
      rules_(kTile) {
    setAccessibleName(kTitle);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);

    auto* tileTemplate = new QLabel(QStringLiteral("W"), this);
    QFont letters(QStringLiteral("Arial"));
    letters.setPixelSize(50);
    letters.setBold(true);
    tileTemplate->setFont(letters);
    tileTemplate->setFixedSize(kTile);
    tileTemplate->setAlignment(Qt::AlignCenter);
    tileTemplate->setStyleSheet(kTileStyle);
    tileTemplate->hide();
    picChar.push_back(tileTemplate);

    QFont barFont = font();
    barFont.setPixelSize(22);
    lblResult->setFont(barFont);
    lblResult->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(255, 255, 255, 200); color: #1d3557; border-radius: 10px; padding: 4px 12px; }"));
    for (QPushButton* button : {imgHelp, cmdTip, cmdReturn}) {
        button->setFont(barFont);
        button->setStyleSheet(kBarButtonStyle);
    }
    imgStandardAudio->SetPicture(QImage(context_.store.AppPicsPath(QStringLiteral("sound.bmp"))));
    imgStandardAudio->setAccessibleName(QStringLiteral("读单词"));
    imgStandardAudio->SetCornerRadius(8);
    imgStandardAudio->SetClickHandler([this] { imgStandardAudio_Click(); });
    connect(imgHelp, &QPushButton::clicked, this, [this] { imgHelp_Click(); });
    connect(cmdTip, &QPushButton::clicked, this, [this] { cmdTip_Click(); });
    connect(cmdReturn, &QPushButton::clicked, this, [this] { cmdReturn_Click(); });
    // The keyboard's way to what a double click on the board does.
    auto* nextBackground = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_B), this);
    nextBackground->setContext(Qt::WidgetWithChildrenShortcut);
    connect(nextBackground, &QShortcut::activated, this, [this] { NextBackground(); });
    LayoutBar();
}

void WordPPK2::InitGamePPK() {
    UnloadTiles();
    Carrying = false;
    TileCount = 0;
    context_.state.TestedCount = 0;
    BackgroundNo = 1;
    NextPuzzleWord();
    cmdTip->setEnabled(PuzzleIndex >= 0);
    ShowBackground();
    PlayableCount = ArrangeRules::PlayableCount(context_.state.Words, context_.state.WordCount);
    ShowProgress();
}

void WordPPK2::ShowProgress() {
    lblResult->setText(PlayableCount > 0
                           ? kTitle + QStringLiteral(" %1/%2").arg(context_.state.TestedCount).arg(PlayableCount)
                           : QStringLiteral("这个单元没有可以拼写的单词。"));
    lblResult->adjustSize();
}

void WordPPK2::NextPuzzleWord() {
    PuzzleIndex = context_.words.PickUntestedWord();
    if (PuzzleIndex < 0) return;
    const CWordType& word = context_.state.Words[PuzzleIndex];
    PuzzleWord = word.English;
    PuzzleMeaning = word.Chinese;
    WordMisses = 0;
    cmdTip->setText(QStringLiteral("我认输啦"));
    cmdTip->setEnabled(true);
    if (!AskPictureQuestion()) ++WordMisses;
    RandWord(PuzzleWord);
}

bool WordPPK2::AskPictureQuestion() {
    FormRRK question(context_, this);
    question.SetTestWord(PuzzleIndex);
    question.exec();
    context_.review.Grade(AnswerSource::Game, PuzzleWord, question.retAns);
    return question.retAns;
}

void WordPPK2::RandWord(const QString&) {
    UnloadLastWord();
    RefreshWord2();
}

void WordPPK2::UnloadTiles() {
    // A tile may be the one whose click is being handled: it goes once the click is done.
    for (size_t i = 1; i < picChar.size(); ++i) {
        picChar[i]->hide();
        picChar[i]->deleteLater();
    }
    picChar.resize(1);
    Carrying = false;
    CarriedTile = -1;
}

void WordPPK2::UnloadLastWord() {
    UnloadTiles();
    TileCount = static_cast<qint16>(PuzzleWord.size());
    QLabel* tileTemplate = picChar[0];
    for (int i = 1; i <= TileCount; ++i) {
        auto* tile = new QLabel(tileTemplate->text(), this);
        tile->setFont(tileTemplate->font());
        tile->setFixedSize(tileTemplate->size());
        tile->setAlignment(tileTemplate->alignment());
        tile->setStyleSheet(tileTemplate->styleSheet());
        tile->setFocusPolicy(Qt::StrongFocus);
        tile->setMouseTracking(true);
        tile->setCursor(Qt::OpenHandCursor);
        tile->installEventFilter(this);
        tile->hide();
        picChar.push_back(tile);
    }
}

void WordPPK2::RefreshWord2() {
    const std::vector<QPoint> places = rules_.RefreshWord2(TileCount, GridCols, GridRows, context_.random);
    for (int i = 1; i <= TileCount; ++i) {
        QLabel* tile = picChar[i];
        tile->setText(PuzzleWord.mid(i - 1, 1));
        tile->move(places[i - 1]);
        tile->show();
        tile->raise();
    }
    if (TileCount > 0 && isVisible()) picChar[1]->setFocus();
}

std::vector<QPoint> WordPPK2::TilePlaces() const {
    std::vector<QPoint> places;
    for (int i = 1; i <= TileCount; ++i) places.push_back(picChar[i]->pos());
    return places;
}

bool WordPPK2::IsComplete() const {
    return rules_.IsComplete(TilePlaces());
}

bool WordPPK2::IsCorrectWord() const {
    QStringList captions;
    for (int i = 1; i <= TileCount; ++i) captions << picChar[i]->text();
    return ArrangeRules::IsCorrectWord(TilePlaces(), captions, width(), PuzzleWord);
}

void WordPPK2::IsOK() {
    context_.words.CountAnswer(PuzzleIndex, WordMisses == 0);
    ShowProgress();
    if (context_.state.TestedCount >= PlayableCount) {
        context_.catalogue.MergeUnitStatus(1);
        if (context_.messages.Show(QStringLiteral("恭喜你熟悉了全部单词，重来一遍?"), kTitle, MsgButtons::YesNo,
                                   MsgIcon::Question) == MsgAnswer::Yes) {
            context_.words.PrepareArrangeRun();
            context_.review.BeginRun(AnswerSource::Game);
            ShowProgress();
            NextPuzzleWord();
        } else if (EndGame()) {
            context_.host.ShowUserControl(1);
        }
        return;
    }
    for (int i = 1; i <= TileCount; ++i) picChar[i]->hide();
    context_.sound.PlayWordSound(PuzzleWord);
    ShowTip();
    NextPuzzleWord();
}

void WordPPK2::ShowTip() {
    FormTip tip(context_.store, context_.sound, this);
    tip.SetGameWord(PuzzleWord, PuzzleMeaning);
    tip.exec();
}

void WordPPK2::cmdTip_Click() {
    if (PuzzleIndex < 0) return;
    context_.sound.PlayWordSound(PuzzleWord);
    ShowTip();
    Carrying = false;
    CarriedTile = -1;
    for (int i = 1; i <= TileCount; ++i) MarkCarried(picChar[i], false);
    RefreshWord2();
    ++WordMisses;
}

bool WordPPK2::EndGame() {
    if (context_.state.TestedCount < PlayableCount &&
        context_.messages.Show(QStringLiteral("还没有完成游戏，你确定要结束吗?"), kTitle, MsgButtons::OkCancel,
                               MsgIcon::Question) == MsgAnswer::Cancel)
        return false;
    UnloadTiles();
    TileCount = 0;
    return true;
}

void WordPPK2::cmdReturn_Click() {
    if (EndGame()) context_.host.ShowUserControl(1);
}

void WordPPK2::imgHelp_Click() {
    context_.host.ShowPPKHelp();
}

void WordPPK2::imgStandardAudio_Click() {
    if (!PuzzleWord.isEmpty()) context_.sound.PlayWordSound(PuzzleWord);
}

void WordPPK2::ShowBackground() {
    background_ = QImage(context_.store.AppPicsPath(QStringLiteral("Background%1.jpg").arg(BackgroundNo)));
    update();
}

void WordPPK2::MarkCarried(QLabel* tile, bool carried) {
    tile->setProperty("carried", carried);
    tile->setCursor(carried ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    tile->style()->unpolish(tile);
    tile->style()->polish(tile);
}

void WordPPK2::TileMouseDown(int i, QPoint inTile) {
    if (i < 1 || i > TileCount) return;
    Carrying = !Carrying;
    if (Carrying) {
        CarriedTile = static_cast<qint16>(i);
        Grab = inTile;
        picChar[i]->raise();
        MarkCarried(picChar[i], true);
        ShowBackground();
        return;
    }
    DropTile();
}

void WordPPK2::DropTile() {
    if (CarriedTile >= 1 && CarriedTile <= TileCount) MarkCarried(picChar[CarriedTile], false);
    CarriedTile = -1;
    if (IsComplete() && IsCorrectWord()) {
        context_.sound.PlayFeedbackSound(1);
        IsOK();
    }
}

void WordPPK2::TileMouseMove(int i, QPoint inTile) {
    if (Carrying && i == CarriedTile) {
        QLabel* tile = picChar[i];
        tile->move(rules_.MoveOverTile(tile->pos(), inTile, Grab, size()));
    } else if (CarriedTile >= 1) {
        BoardMouseMove(picChar[i]->mapTo(this, inTile));
    }
}

void WordPPK2::BoardMouseMove(QPoint inBoard) {
    if (CarriedTile < 1 || CarriedTile > TileCount) return;
    picChar[CarriedTile]->move(ArrangeRules::MoveOverBoard(inBoard, Grab));
}

void WordPPK2::TileKeyPress(int i, int key) {
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        TileMouseDown(i, QPoint(kTile.width() / 2, kTile.height() / 2));
        return;
    default:
        break;
    }
    if (!Carrying || i != CarriedTile) return;
    const int cols = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    const int rows = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    picChar[i]->move(rules_.StepByCells(picChar[i]->pos(), cols, rows, size()));
}

int WordPPK2::TileIndex(QObject* watched) const {
    for (int i = 1; i <= TileCount && i < static_cast<int>(picChar.size()); ++i)
        if (picChar[i] == watched) return i;
    return -1;
}

bool WordPPK2::eventFilter(QObject* watched, QEvent* event) {
    const int i = TileIndex(watched);
    if (i < 0) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // A quick second press on a tile drops it, it never changes the background.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) TileMouseDown(i, mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        TileMouseMove(i, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
        TileKeyPress(i, key);
        return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Left ||
               key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void WordPPK2::mouseMoveEvent(QMouseEvent* event) {
    BoardMouseMove(event->position().toPoint());
}

void WordPPK2::mouseDoubleClickEvent(QMouseEvent*) {
    NextBackground();
}

void WordPPK2::NextBackground() {
    BackgroundNo = ArrangeRules::NextBackground(BackgroundNo);
    ShowBackground();
}

void WordPPK2::MeasureGrid() {
    GridCols = rules_.GridCols(width());
    GridRows = rules_.GridRows(height());
}

void WordPPK2::showEvent(QShowEvent* event) {
    MeasureGrid();
    QWidget::showEvent(event);
}

void WordPPK2::hideEvent(QHideEvent* event) {
    if (Carrying) {
        Carrying = false;
        if (CarriedTile >= 1 && CarriedTile <= TileCount) MarkCarried(picChar[CarriedTile], false);
        CarriedTile = -1;
    }
    QWidget::hideEvent(event);
}

// A board that shrank would leave tiles beyond its edge, out of sight and
// out of the word check.
void WordPPK2::resizeEvent(QResizeEvent*) {
    MeasureGrid();
    LayoutBar();
    for (int i = 1; i <= TileCount; ++i) picChar[i]->move(rules_.KeepInside(picChar[i]->pos(), size()));
}

// The commands stand in row 0 of the board, which scattering never uses.
void WordPPK2::LayoutBar() {
    const int top = 12;
    const int height = kTile.height() - 2 * top + 8;
    lblResult->move(12, top);
    lblResult->setFixedHeight(height);
    int right = width() - 12;
    for (QPushButton* button : {cmdReturn, cmdTip, imgHelp}) {
        const int w = button->sizeHint().width() + 8;
        right -= w;
        button->setGeometry(right, top, w, height);
        right -= 10;
    }
    right -= height + 6;
    imgStandardAudio->setGeometry(right, top, height + 6, height);
}

void WordPPK2::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isNull()) {
        p.fillRect(rect(), QColor(214, 234, 214));
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF shown = background_.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
    p.drawImage(QRectF((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown.width(), shown.height()),
                background_);
}
