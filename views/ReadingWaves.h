#pragma once

#include <QWidget>
#include <vector>

#include "views/ReadAlongRules.h"

// The standard pronunciation's loudness above and the pupil's reading below,
// the reading warped onto the standard's time so that matching sounds stand
// one above the other. While one of them plays it is marked.
class ReadingWaves : public QWidget {
public:
    using Track = ReadAlongRules::Track;

    explicit ReadingWaves(QWidget* parent);

    // Empty lists draw nothing.
    void SetWaves(std::vector<float> standard, std::vector<float> mine);
    void SetPlaying(Track track);
    Track Playing() const { return playing_; }
    bool HasWaves() const { return !standard_.empty(); }
    QSize sizeHint() const override { return QSize(400, 64); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawTrack(QPainter& painter, const QRect& area, const std::vector<float>& levels, const QColor& colour,
                   bool marked, float loudest) const;

    std::vector<float> standard_;
    std::vector<float> mine_;
    Track playing_ = Track::None;
};
