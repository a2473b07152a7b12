#include "views/ReadingWaves.h"

#include <QPainter>
#include <algorithm>

ReadingWaves::ReadingWaves(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("标准发音和我的朗读"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
}

void ReadingWaves::SetWaves(std::vector<float> standard, std::vector<float> mine) {
    standard_ = std::move(standard);
    mine_ = std::move(mine);
    update();
}

void ReadingWaves::SetPlaying(Track track) {
    playing_ = track;
    update();
}

void ReadingWaves::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect top(0, 0, width(), height() / 2 - 1);
    const QRect bottom(0, height() / 2 + 1, width(), height() - height() / 2 - 1);
    painter.fillRect(rect(), QColor(0xfa, 0xfa, 0xf5));
    painter.setPen(QColor(0xdd, 0xdd, 0xd5));
    painter.drawLine(top.left(), top.center().y(), top.right(), top.center().y());
    painter.drawLine(bottom.left(), bottom.center().y(), bottom.right(), bottom.center().y());
    if (standard_.empty()) return;
    // Each on its own scale: a quiet pupil's reading still shows its shape.
    auto loudest = [](const std::vector<float>& levels) {
        return levels.empty() ? 1.0f : std::max(*std::max_element(levels.begin(), levels.end()), 1e-4f);
    };
    DrawTrack(painter, top, standard_, QColor(0x1a, 0x4f, 0x8b), playing_ == Track::Standard, loudest(standard_));
    DrawTrack(painter, bottom, mine_, QColor(0xc0, 0x39, 0x2b), playing_ == Track::Mine, loudest(mine_));
}

// Mirrored about the middle line of its half, one column per frame.
void ReadingWaves::DrawTrack(QPainter& painter, const QRect& area, const std::vector<float>& levels,
                             const QColor& colour, bool marked, float loudest) const {
    if (marked) {
        painter.fillRect(area, QColor(0xff, 0xe9, 0xa8));
        painter.setPen(QPen(QColor(0xe6, 0x7e, 0x22), 2));
        painter.drawRect(area.adjusted(1, 1, -1, -1));
    }
    if (levels.empty()) return;
    const double middle = area.center().y();
    const double half = area.height() / 2.0 - 3;
    QPolygonF shape;
    for (size_t i = 0; i < levels.size(); ++i)
        shape << QPointF(area.left() + (i + 0.5) * area.width() / levels.size(), middle - half * levels[i] / loudest);
    for (size_t i = levels.size(); i-- > 0;)
        shape << QPointF(area.left() + (i + 0.5) * area.width() / levels.size(), middle + half * levels[i] / loudest);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(shape);
}
