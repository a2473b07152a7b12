#include "games/ArrangeRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/RandomSource.h"

int ArrangeRules::GridCols(int boardWidth) const {
    return tile_.width() > 0 ? boardWidth / tile_.width() : 0;
}

int ArrangeRules::GridRows(int boardHeight) const {
    return tile_.height() > 0 ? boardHeight / tile_.height() : 0;
}

std::vector<QPoint> ArrangeRules::RefreshWord2(int tileCount, int gridCols, int gridRows,
                                               RandomSource& random) const {
    std::vector<QPoint> places;
    for (int i = 0; i < tileCount; ++i) {
        const int c = random.Draw(gridCols - 1) + 1;
        const int r = random.Draw(gridRows - 1) + 1;
        places.emplace_back(c * tile_.width(), r * tile_.height());
    }
    return places;
}

QPoint ArrangeRules::KeepInside(QPoint left, QSize board) const {
    left.setX(std::max(0, left.x()));
    left.setY(std::max(0, left.y()));
    if (left.x() + tile_.width() > board.width()) left.setX(board.width() - tile_.width());
    if (left.y() + tile_.height() > board.height()) left.setY(board.height() - tile_.height());
    return left;
}

QPoint ArrangeRules::MoveOverTile(QPoint left, QPoint pointerInTile, QPoint grab, QSize board) const {
    return KeepInside(left + pointerInTile - grab, board);
}

QPoint ArrangeRules::MoveOverBoard(QPoint pointerInBoard, QPoint grab) {
    return pointerInBoard - grab;
}

QPoint ArrangeRules::StepByCells(QPoint left, int cols, int rows, QSize board) const {
    return KeepInside(left + QPoint(cols * tile_.width(), rows * tile_.height()), board);
}

bool ArrangeRules::IsComplete(const std::vector<QPoint>& tiles) const {
    if (tiles.size() < 2) return true;
    const auto [minLeft, maxLeft] = std::minmax_element(tiles.begin(), tiles.end(),
                                                        [](QPoint a, QPoint b) { return a.x() < b.x(); });
    const auto [minTop, maxTop] = std::minmax_element(tiles.begin(), tiles.end(),
                                                      [](QPoint a, QPoint b) { return a.y() < b.y(); });
    const double width = tile_.width();
    if (maxLeft->x() - minLeft->x() > (static_cast<double>(tiles.size()) - 1) * width * 1.3) return false;
    if (maxTop->y() - minTop->y() > tile_.height() / 3.0) return false;
    for (size_t i = 0; i < tiles.size(); ++i)
        for (size_t j = 0; j < tiles.size(); ++j)
            if (i != j && std::abs(tiles[i].x() - tiles[j].x()) < width / 4) return false;
    return true;
}

bool ArrangeRules::IsCorrectWord(const std::vector<QPoint>& tiles, const QStringList& captions, int boardWidth,
                                 const QString& word) {
    std::vector<bool> taken(tiles.size(), false);
    QString read;
    for (size_t n = 0; n < tiles.size(); ++n) {
        int smallest = boardWidth;
        int next = -1;
        for (size_t i = 0; i < tiles.size(); ++i) {
            if (!taken[i] && tiles[i].x() < smallest) {
                smallest = tiles[i].x();
                next = static_cast<int>(i);
            }
        }
        if (next < 0) break;
        taken[next] = true;
        read += captions.value(next).trimmed();
    }
    return read.trimmed() == word.trimmed();
}

qint16 ArrangeRules::PlayableCount(const std::vector<CWordType>& words, int wordCount) {
    const int count = std::min<int>(wordCount, static_cast<int>(words.size()));
    return static_cast<qint16>(std::count_if(words.begin(), words.begin() + std::max(0, count),
                                             [](const CWordType& w) { return w.Composition == 0; }));
}

qint16 ArrangeRules::NextBackground(qint16 backgroundNo) {
    return static_cast<qint16>((backgroundNo + 2) % 4 + 1);
}
