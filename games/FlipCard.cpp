#include "games/FlipCard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "games/GamePicture.h"
#include "views/PictureAccessible.h"

namespace {

const QColor kCardFace(255, 255, 255);
const QColor kCardEdge(70, 90, 120);
const QColor kHighlight(255, 0, 0);
const QColor kFocusRing(255, 170, 0);
constexpr int kRadius = 12;
constexpr int kInset = 6;

}  // namespace

FlipCard::FlipCard(int index, QWidget* parent)
    : QFrame(parent), imgWord(new GamePicture(this)), lblWord(new QLabel(this)), index_(index) {
    PictureAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // The picture and the text are part of the card: a click on them is a click on the card.
    imgWord->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblWord->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgWord->SetCornerRadius(kRadius - 4);
    lblWord->setAlignment(Qt::AlignCenter);
    lblWord->setStyleSheet(QStringLiteral("color: black;"));
}

void FlipCard::ShowText(const QString& english) {
    imgWord->Clear();
    imgWord->hide();
    lblWord->setText(english);
    lblWord->show();
    setAccessibleName(english);
    FitText();
}

void FlipCard::ShowPicture(const QImage& picture, const QString& english) {
    lblWord->clear();
    lblWord->hide();
    imgWord->SetPicture(picture);
    imgWord->setAccessibleName(english);
    imgWord->show();
    setAccessibleName(english);
}

bool FlipCard::CanBePressed() const {
    return static_cast<bool>(onTurn);
}

void FlipCard::Press() {
    if (onTurn) onTurn(index_);
}

void FlipCard::SetHighlight(bool on) {
    highlighted_ = on;
    lblWord->setStyleSheet(on ? QStringLiteral("color: rgb(255, 0, 0);") : QStringLiteral("color: black;"));
    update();
}

// The spelling as large as the card allows.
void FlipCard::FitText() {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    const QRect room = rect().adjusted(kInset * 2, kInset, -kInset * 2, -kInset);
    int size = std::max(12, std::min(room.height() * 2 / 5, 56));
    for (; size > 12; size -= 2) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(lblWord->text()) <= room.width()) break;
    }
    font.setPixelSize(size);
    lblWord->setFont(font);
}

void FlipCard::resizeEvent(QResizeEvent*) {
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    imgWord->setGeometry(inner);
    lblWord->setGeometry(inner);
    FitText();
}

void FlipCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(2, 2, -2, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(card.translated(2, 2), kRadius, kRadius);
    p.setBrush(kCardFace);
    p.setPen(QPen(highlighted_ ? kHighlight : kCardEdge, highlighted_ ? 5 : 2));
    p.drawRoundedRect(card, kRadius, kRadius);
    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kFocusRing, 3, Qt::DashLine));
        p.drawRoundedRect(card.adjusted(-1, -1, 1, 1), kRadius, kRadius);
    }
}

void FlipCard::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onTurn) {
        onTurn(index_);
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void FlipCard::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onTurn) onTurn(index_);
        return;
    case Qt::Key_Left:
        if (onArrow) onArrow(index_, -1, 0);
        return;
    case Qt::Key_Right:
        if (onArrow) onArrow(index_, 1, 0);
        return;
    case Qt::Key_Up:
        if (onArrow) onArrow(index_, 0, -1);
        return;
    case Qt::Key_Down:
        if (onArrow) onArrow(index_, 0, 1);
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void FlipCard::focusInEvent(QFocusEvent* event) {
    update();
    QFrame::focusInEvent(event);
}

void FlipCard::focusOutEvent(QFocusEvent* event) {
    update();
    QFrame::focusOutEvent(event);
}
