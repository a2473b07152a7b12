#include "views/ReadViewPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "views/DrawnPicture.h"

namespace ReadViewPictures {
namespace {

constexpr int kSize = 64;

QImage Draw(qreal dpr, const std::function<void(QPainter&)>& paint) {
    return DrawnPicture(kSize, dpr, paint);
}

void Waves(QPainter& p, double x, double y, const QColor& colour) {
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int r = 9; r <= 21; r += 12) p.drawArc(QRectF(x - r, y - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
}

void SpeakerBody(QPainter& p, double x, double y, double scale, const QColor& colour) {
    QPainterPath body;
    body.moveTo(x, y - 7 * scale);
    body.lineTo(x + 8 * scale, y - 7 * scale);
    body.lineTo(x + 20 * scale, y - 17 * scale);
    body.lineTo(x + 20 * scale, y + 17 * scale);
    body.lineTo(x + 8 * scale, y + 7 * scale);
    body.lineTo(x, y + 7 * scale);
    body.closeSubpath();
    p.setPen(QPen(colour.darker(140), 2));
    p.setBrush(colour);
    p.drawPath(body);
}

void Face(QPainter& p, const QColor& colour, bool smile) {
    p.setPen(QPen(colour.darker(150), 3));
    p.setBrush(colour);
    p.drawEllipse(QRectF(6, 6, 52, 52));
    p.setBrush(QColor(60, 40, 20));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(20, 22, 7, 8));
    p.drawEllipse(QRectF(37, 22, 7, 8));
    p.setPen(QPen(QColor(60, 40, 20), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (smile)
        p.drawArc(QRectF(18, 24, 28, 22), -20 * 16, -140 * 16);
    else
        p.drawLine(QPointF(22, 44), QPointF(42, 44));
}

QImage PageArrow(qreal dpr, bool forward) {
    return Draw(dpr, [forward](QPainter& p) {
        QPainterPath arrow;
        arrow.moveTo(16, 8);
        arrow.lineTo(52, 32);
        arrow.lineTo(16, 56);
        arrow.closeSubpath();
        if (!forward) {
            QTransform mirror(-1, 0, 0, 1, kSize, 0);
            arrow = mirror.map(arrow);
        }
        p.setPen(QPen(QColor(30, 110, 200), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(90, 170, 250));
        p.drawPath(arrow);
    });
}

QImage Speaker(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        SpeakerBody(p, 6, 32, 1.2, QColor(60, 150, 230));
        Waves(p, 32, 32, QColor(60, 150, 230));
    });
}

QImage MyVoice(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(200, 110, 30), 2));
        p.setBrush(QColor(250, 180, 90));
        p.drawEllipse(QRectF(6, 10, 26, 26));
        p.drawChord(QRectF(0, 38, 38, 40), 0, 180 * 16);
        Waves(p, 36, 26, QColor(230, 120, 30));
    });
}

QImage Both(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 160, 90), 6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 10, 44, 44), 30 * 16, 150 * 16);
        p.drawArc(QRectF(10, 10, 44, 44), 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 160, 90));
        p.drawPolygon(QPolygonF({QPointF(46, 4), QPointF(58, 20), QPointF(40, 22)}));
        p.drawPolygon(QPolygonF({QPointF(18, 60), QPointF(6, 44), QPointF(24, 42)}));
    });
}

QImage Record(qreal dpr) {
    return Draw(dpr, [](QPainter& p) {
        p.setPen(QPen(QColor(150, 20, 20), 2));
        p.setBrush(QColor(225, 50, 50));
        p.drawRoundedRect(QRectF(22, 6, 20, 34), 10, 10);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(120, 120, 120), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(14, 18, 36, 32), 200 * 16, 140 * 16);
        p.drawLine(QPointF(32, 50), QPointF(32, 58));
        p.drawLine(QPointF(22, 58), QPointF(42, 58));
    });
}

QImage ReadGood(qreal dpr) {
    return Draw(dpr, [](QPainter& p) { Face(p, QColor(120, 210, 100), true); });
}

QImage ReadBad(qreal dpr) {
    return Draw(dpr, [](QPainter& p) { Face(p, QColor(250, 190, 80), false); });
}

}  // namespace

Set DrawAll(qreal dpr) {
    return {PageArrow(dpr, false), PageArrow(dpr, true), Speaker(dpr),   MyVoice(dpr),
            Both(dpr),             Record(dpr),           ReadGood(dpr), ReadBad(dpr)};
}

}  // namespace ReadViewPictures
