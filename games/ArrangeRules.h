#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

#include "core/CWordType.h"

class RandomSource;

// The letter game's board without widgets: where the tiles land when they
// are scattered, how a carried tile follows the pointer, and when the tiles
// on the board spell the word. Positions are the tiles' top left corners in
// the board's pixels; every tile has the template's size.
class ArrangeRules {
public:
    explicit ArrangeRules(QSize tile) : tile_(tile) {}

    QSize Tile() const { return tile_; }

    // Board size in whole tile cells.
    int GridCols(int boardWidth) const;
    int GridRows(int boardHeight) const;

    // One random cell per tile, never in row 0 or column 0; cells may repeat.
    std::vector<QPoint> RefreshWord2(int tileCount, int gridCols, int gridRows, RandomSource& random) const;

    // The carried tile's new place when the pointer moves over the tile
    // itself (kept inside the board) or over the board (not kept inside).
    QPoint MoveOverTile(QPoint left, QPoint pointerInTile, QPoint grab, QSize board) const;
    static QPoint MoveOverBoard(QPoint pointerInBoard, QPoint grab);
    // A keyboard step of whole cells, kept inside the board.
    QPoint StepByCells(QPoint left, int cols, int rows, QSize board) const;
    // The nearest place where the whole tile lies on the board.
    QPoint KeepInside(QPoint left, QSize board) const;

    // The tiles stand in one row, close together and without covering each other.
    bool IsComplete(const std::vector<QPoint>& tiles) const;
    // The captions read from left to right spell the word.
    static bool IsCorrectWord(const std::vector<QPoint>& tiles, const QStringList& captions, int boardWidth,
                              const QString& word);

    // The words the game can ask: spelled with the letters A to Z only.
    static qint16 PlayableCount(const std::vector<CWordType>& words, int wordCount);
    // Backgrounds step 1 → 4 → 3 → 2 → 1.
    static qint16 NextBackground(qint16 backgroundNo);

private:
    QSize tile_;
};
