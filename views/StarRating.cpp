#include "views/StarRating.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

constexpr int kStarSize = 24;

QPainterPath StarShape(const QRectF& box) {
    QPainterPath path;
    const QPointF centre = box.center();
    const double outer = box.width() / 2, inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double radius = i % 2 == 0 ? outer : inner;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

}  // namespace

StarRating::StarRating(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize StarRating::sizeHint() const {
    return QSize(kMost * (kStarSize + 2), kStarSize + 2);
}

void StarRating::SetStars(int stars) {
    stars_ = std::clamp(stars, 0, kMost);
    setAccessibleName(stars_ > 0 ? QStringLiteral("%1颗星").arg(stars_) : QString());
    update();
}

// Earned stars gold, the rest as outlines, so two stars read as two of three.
void StarRating::paintEvent(QPaintEvent*) {
    if (stars_ == 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kMost; ++i) {
        const QPainterPath star = StarShape(QRectF(1 + i * (kStarSize + 2), 1, kStarSize, kStarSize));
        painter.setPen(QPen(QColor(0xc2, 0x8a, 0x00), 1.5));
        painter.setBrush(i < stars_ ? QColor(0xf5, 0xb8, 0x00) : QColor(Qt::transparent));
        painter.drawPath(star);
    }
}
