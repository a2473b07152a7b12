#include "games/WordFFK.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "core/RandomSource.h"
#include "games/FlipCard.h"
#include "games/GamePicture.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"

namespace {

constexpr int kButtonBar = 64;

}  // namespace

WordFFK::WordFFK(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      PicGame(new GamePicture(this)),
      cmdRestart(new QPushButton(QStringLiteral("再玩一遍"), PicGame)),
      cmdNext(new QPushButton(QStringLiteral("下一组"), PicGame)),
      lblNote(new QLabel(QStringLiteral("这个单元还没有单词，请先选择别的单元。"), PicGame)),
      context_(context) {
    setAccessibleName(QStringLiteral("单词连连看"));
    PicGame->setAccessibleName(QStringLiteral("游戏板"));
    // A soft colour stands in while a background picture is missing.
    PicGame->setAutoFillBackground(true);
    QPalette board = PicGame->palette();
    board.setColor(QPalette::Window, QColor(214, 234, 214));
    PicGame->setPalette(board);

    for (int i = 0; i < FlipRules::kCards; ++i) {
        auto* card = new FlipCard(i, PicGame);
        card->onTurn = [this](int index) { CardClick(index); };
        card->onArrow = [this](int index, int dx, int dy) { MoveFocus(index, dx, dy); };
        card->hide();
        PicWord[i] = card;
    }

    QFont buttonFont = font();
    buttonFont.setPixelSize(22);
    for (QPushButton* button : {cmdRestart, cmdNext}) {
        button->setFont(buttonFont);
        button->setMinimumSize(150, 46);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { background: #ffffff; color: #1d3557; border: 2px solid #46607a; border-radius: 10px; "
            "padding: 4px 18px; } QPushButton:focus { border: 3px solid #ffaa00; } "
            "QPushButton:pressed { background: #e6eef7; }"));
    }
    connect(cmdRestart, &QPushButton::clicked, this, [this] { cmdRestart_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });

    QFont noteFont = font();
    noteFont.setPixelSize(28);
    lblNote->setFont(noteFont);
    lblNote->setAlignment(Qt::AlignCenter);
    lblNote->setWordWrap(true);
    lblNote->setStyleSheet(QStringLiteral(
        "background: rgba(255, 255, 255, 220); color: #1d3557; border-radius: 14px; padding: 18px;"));
    lblNote->hide();
}

void WordFFK::StartGameFFK() {
    PickGroup();
    DealCards();
}

void WordFFK::PickGroup() {
    rules_.PickGroup(context_.state.Words, context_.state.WordCount, context_.random);
}

void WordFFK::LoadBackground() {
    backgroundNo_ = static_cast<qint16>(context_.random.Draw(3) + 1);
    PicGame->SetPicture(QImage(context_.store.AppPicsPath(QStringLiteral("Background%1.jpg").arg(backgroundNo_))));
}

void WordFFK::DealCards() {
    LoadBackground();
    rules_.DealCards(context_.random);
    const int g = rules_.GroupSize();
    for (int i = 0; i < FlipRules::kCards; ++i) {
        FlipCard* card = PicWord[i];
        card->SetHighlight(false);
        card->setVisible(rules_.IsUsed(i));
    }
    // Each pair's picture is unscrambled, loaded and scrambled again once.
    for (int c = g; c < 2 * g; ++c) {
        const QString english = rules_.GroupWords[c - g];
        const int k = rules_.Tag(c);
        const QImage picture = context_.store.LoadWordPicture(english);
        const int textCard = rules_.ShowsText(c) ? c : k;
        const int pictureCard = textCard == c ? k : c;
        PicWord[textCard]->ShowText(english);
        PicWord[pictureCard]->ShowPicture(picture, english);
    }
    lblNote->setVisible(g == 0);
    cmdRestart->setEnabled(g > 0);
    cmdNext->setEnabled(g > 0);
    LayoutBoard();
    if (g > 0 && isVisible()) PicWord[0]->setFocus();
}

bool WordFFK::AllPairsMatched() const {
    return rules_.AllPairsMatched();
}

void WordFFK::CardClick(int i) {
    const int first = rules_.SelectedCard;
    switch (rules_.CardClick(i)) {
    case FlipRules::Click::Nothing:
        return;
    case FlipRules::Click::Selected:
        PicWord[i]->SetHighlight(true);
        break;
    case FlipRules::Click::Matched:
        PicWord[first]->SetHighlight(false);
        PicWord[i]->hide();
        PicWord[first]->hide();
        context_.sound.PlayWordSound(rules_.GroupWords[rules_.WordCard(i, first) - rules_.GroupSize()]);
        break;
    case FlipRules::Click::Missed:
        PicWord[first]->SetHighlight(false);
        context_.sound.PlayFeedbackSound(2);
        break;
    case FlipRules::Click::Lost:
        PicWord[first]->SetHighlight(false);
        context_.messages.Show(QStringLiteral("没有过关啊，你要努力喔！！"), context_.state.VersionName);
        DealCards();
        break;
    }
    if (AllPairsMatched()) {
        context_.sound.PlayFeedbackSound(1);
        context_.messages.Show(QStringLiteral("恭喜你过关啦，你好棒喔！！"), context_.state.VersionName);
        DealCards();
        return;
    }
    // A cleared card hands the keyboard focus to the next card still on the board.
    if (!PicWord[i]->isVisible()) MoveFocus(i, 1, 0);
}

// The arrow keys walk the grid, skipping cleared cards, and stop at its edge.
void WordFFK::MoveFocus(int from, int dx, int dy) {
    int col = from % 4, row = from / 4;
    for (;;) {
        col += dx;
        row += dy;
        if (dx != 0 && (col < 0 || col > 3)) {
            col = (col + 4) % 4;
            row += dx;
        }
        if (row < 0 || row > 3) return;
        FlipCard* card = PicWord[row * 4 + col];
        if (card->isVisible() && !rules_.IsHidden(row * 4 + col)) {
            card->setFocus();
            return;
        }
    }
}

void WordFFK::cmdRestart_Click() {
    if (rules_.SelectedCard >= 0) PicWord[rules_.SelectedCard]->SetHighlight(false);
    DealCards();
}

void WordFFK::cmdNext_Click() {
    if (rules_.SelectedCard >= 0) PicWord[rules_.SelectedCard]->SetHighlight(false);
    PickGroup();
    DealCards();
}

void WordFFK::resizeEvent(QResizeEvent*) {
    LayoutBoard();
}

void WordFFK::LayoutBoard() {
    PicGame->setGeometry(rect());
    const QSize board(width(), std::max(0, height() - kButtonBar));
    for (int i = 0; i < FlipRules::kCards; ++i) PicWord[i]->setGeometry(FlipRules::CardRect(i, board));
    const int buttonTop = board.height() + (kButtonBar - cmdRestart->minimumHeight()) / 2;
    const int gap = 24;
    const int total = cmdRestart->minimumWidth() + cmdNext->minimumWidth() + gap;
    const int left = (width() - total) / 2;
    cmdRestart->setGeometry(left, buttonTop, cmdRestart->minimumWidth(), cmdRestart->minimumHeight());
    cmdNext->setGeometry(left + cmdRestart->minimumWidth() + gap, buttonTop, cmdNext->minimumWidth(),
                         cmdNext->minimumHeight());
    lblNote->setGeometry(board.width() / 6, board.height() / 3, board.width() * 2 / 3, board.height() / 3);
}
