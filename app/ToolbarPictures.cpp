#include "app/ToolbarPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "views/DrawnPicture.h"

namespace ToolbarPictures {
namespace {

constexpr int kSize = 48;

QImage Draw(qreal dpr, const std::function<void(QPainter&)>& paint) {
    return DrawnPicture(kSize, dpr, paint);
}

void Tile(QPainter& p, const QRectF& r, const QColor& fill, const QString& letter) {
    p.setPen(QPen(fill.darker(150), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r, 4, 4);
    // The font already loaded: a second face would cost the start time.
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r.height() * 0.65));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, letter);
}

QImage BookUnit(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        const QColor colours[] = {QColor(220, 80, 60), QColor(60, 140, 210), QColor(80, 170, 90)};
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(colours[i].darker(140), 1.5));
            p.setBrush(colours[i]);
            p.drawRoundedRect(QRectF(6 + i * 12, 8 + i * 2, 11, 34 - i * 2), 2, 2);
        }
    });
}

QImage Learn(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 90, 160), 2));
        p.setBrush(QColor(250, 250, 240));
        p.drawRoundedRect(QRectF(4, 8, 26, 32), 3, 3);
        p.setPen(QPen(QColor(120, 150, 190), 2));
        for (int y = 16; y <= 32; y += 6) p.drawLine(QPointF(9, y), QPointF(25, y));
        p.setPen(QPen(QColor(230, 120, 30), 2.5));
        p.setBrush(Qt::NoBrush);
        for (int r = 6; r <= 14; r += 8) p.drawArc(QRectF(30 - r, 24 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    });
}

QImage ArrangeGame(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        Tile(p, QRectF(2, 14, 14, 18), QColor(230, 110, 60), QStringLiteral("A"));
        Tile(p, QRectF(17, 8, 14, 18), QColor(70, 150, 220), QStringLiteral("B"));
        Tile(p, QRectF(32, 18, 14, 18), QColor(90, 175, 90), QStringLiteral("C"));
    });
}

QImage FlipGame(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(120, 80, 160), 1.5));
        p.setBrush(QColor(170, 130, 210));
        p.drawRoundedRect(QRectF(4, 6, 22, 30), 3, 3);
        p.setBrush(QColor(250, 230, 120));
        p.drawRoundedRect(QRectF(20, 12, 22, 30), 3, 3);
        QPainterPath star;
        const QPointF c(31, 27);
        for (int i = 0; i < 10; ++i) {
            const double radius = i % 2 ? 3.5 : 8.0;
            const double angle = -M_PI / 2 + i * M_PI / 5;
            const QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
            i ? star.lineTo(point) : star.moveTo(point);
        }
        star.closeSubpath();
        p.setBrush(QColor(230, 90, 60));
        p.setPen(Qt::NoPen);
        p.drawPath(star);
    });
}

QImage Test(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(8, 4, 30, 40), 3, 3);
        p.setPen(QPen(QColor(40, 160, 70), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(14, 24), QPointF(21, 32), QPointF(34, 14)}));
    });
}

QImage Help(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 130, 210));
        p.drawEllipse(QRectF(4, 4, 40, 40));
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(28);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(4, 4, 40, 40), Qt::AlignCenter, QStringLiteral("?"));
    });
}

// A notebook with a red mark: the words that went wrong.
QImage Review(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(150, 90, 40), 1.5));
        p.setBrush(QColor(250, 200, 90));
        p.drawRoundedRect(QRectF(9, 5, 30, 38), 3, 3);
        p.setBrush(QColor(150, 90, 40));
        p.drawRect(QRectF(9, 5, 5, 38));
        p.setPen(QPen(QColor(220, 50, 40), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 16), QPointF(32, 30));
        p.drawLine(QPointF(32, 16), QPointF(20, 30));
    });
}

}  // namespace

Set DrawAll(qreal dpr) {
    return {BookUnit(dpr), Learn(dpr), ArrangeGame(dpr), FlipGame(dpr), Test(dpr), Help(dpr), Review(dpr)};
}

}  // namespace ToolbarPictures
