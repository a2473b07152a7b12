#include "games/GamePicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

#include "views/PictureAccessible.h"

GamePicture::GamePicture(QWidget* parent) : QWidget(parent) {
    PictureAccessible::Install();
}

void GamePicture::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void GamePicture::Clear() {
    SetPicture(QImage());
}

void GamePicture::SetCornerRadius(int radius) {
    radius_ = radius;
    update();
}

void GamePicture::SetClickHandler(std::function<void()> handler) {
    clicked_ = std::move(handler);
    setFocusPolicy(clicked_ ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(clicked_ ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool GamePicture::CanBePressed() const {
    return static_cast<bool>(clicked_);
}

void GamePicture::Press() {
    if (clicked_) clicked_();
}

void GamePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull()) {
        const QSizeF shown = picture_.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
        const QRectF target((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown.width(),
                            shown.height());
        if (radius_ > 0) {
            QPainterPath clip;
            clip.addRoundedRect(rect(), radius_, radius_);
            p.setClipPath(clip);
        }
        p.drawImage(target, picture_);
        p.setClipping(false);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 4));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), radius_, radius_);
    }
}

void GamePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (clicked_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        clicked_();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void GamePicture::keyPressEvent(QKeyEvent* event) {
    if (clicked_ && event->key() == Qt::Key_Space) {
        clicked_();
        return;
    }
    QWidget::keyPressEvent(event);
}
