#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

#include "core/LessonContext.h"
#include "games/ArrangeRules.h"

class GamePicture;
class QLabel;
class QPushButton;

// The letter-arranging spelling game: after a picture question the letters
// of the word lie scattered over the board, and the pupil carries them into
// one row that spells the word.
class WordPPK2 : public QWidget {
public:
    WordPPK2(LessonContext& context, QWidget* parent);

    void InitGamePPK();
    // True when the view may be left; asks first while words are left.
    bool EndGame();

    void UnloadLastWord();
    void RandWord(const QString& word);
    void RefreshWord2();
    bool IsComplete() const;
    bool IsCorrectWord() const;
    void IsOK();

    // Carrying a tile, as the mouse and the keyboard both do it.
    void TileMouseDown(int i, QPoint inTile);
    void TileMouseMove(int i, QPoint inTile);
    void BoardMouseMove(QPoint inBoard);

    const ArrangeRules& Rules() const { return rules_; }

    qint16 PuzzleIndex = -1;
    QString PuzzleWord;
    QString PuzzleMeaning;
    qint16 WordMisses = 0;
    qint16 TileCount = 0;
    bool Carrying = false;
    qint16 CarriedTile = -1;
    QPoint Grab;
    int GridCols = 0;
    int GridRows = 0;
    qint16 BackgroundNo = 1;
    qint16 PlayableCount = 0;

    // picChar[0] is the template; the tiles are picChar[1..TileCount].
    std::vector<QLabel*> picChar;
    QLabel* lblResult;
    GamePicture* imgStandardAudio;
    QPushButton* imgHelp;
    QPushButton* cmdTip;
    QPushButton* cmdReturn;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NextPuzzleWord();
    void ShowBackground();
    void NextBackground();
    bool AskPictureQuestion();
    void ShowTip();
    void cmdTip_Click();
    void cmdReturn_Click();
    void imgHelp_Click();
    void imgStandardAudio_Click();
    void UnloadTiles();
    void DropTile();
    void TileKeyPress(int i, int key);
    void MarkCarried(QLabel* tile, bool carried);
    void MeasureGrid();
    void LayoutBar();
    void ShowProgress();
    std::vector<QPoint> TilePlaces() const;
    int TileIndex(QObject* watched) const;

    LessonContext& context_;
    ArrangeRules rules_;
    QImage background_;
};
