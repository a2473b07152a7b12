#pragma once

#include <QFrame>
#include <functional>

#include "views/PressablePicture.h"

class GamePicture;
class QLabel;

// One card of the flip game: a word's spelling or its picture on a white
// card. A click anywhere on it, or Space or Enter while it has the focus,
// turns it; the arrow keys ask the board to move the focus. A screen reader
// hears a button named by the card's word, and pressing it turns the card.
class FlipCard : public QFrame, public PressablePicture {
public:
    FlipCard(int index, QWidget* parent);

    // Shows the spelling, or the picture named by the word.
    void ShowText(const QString& english);
    void ShowPicture(const QImage& picture, const QString& english);
    void SetHighlight(bool on);
    bool Highlighted() const { return highlighted_; }

    bool CanBePressed() const override;
    void Press() override;

    GamePicture* imgWord;
    QLabel* lblWord;
    std::function<void(int index)> onTurn;
    std::function<void(int index, int dx, int dy)> onArrow;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void FitText();

    int index_;
    bool highlighted_ = false;
};
