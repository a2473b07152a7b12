#pragma once

#include <QWidget>
#include <array>

#include "core/LessonContext.h"
#include "games/FlipRules.h"

class FlipCard;
class GamePicture;
class QLabel;
class QPushButton;

// The picture-flip matching game: each word of a group lies on the board
// twice, once spelled and once as its picture; the pupil turns two cards of
// the same word to clear them.
class WordFFK : public QWidget {
public:
    WordFFK(LessonContext& context, QWidget* parent);

    void StartGameFFK();

    const FlipRules& Rules() const { return rules_; }
    qint16 BackgroundNo() const { return backgroundNo_; }

    GamePicture* PicGame;
    std::array<FlipCard*, FlipRules::kCards> PicWord{};
    QPushButton* cmdRestart;
    QPushButton* cmdNext;
    QLabel* lblNote;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PickGroup();
    void DealCards();
    void LoadBackground();
    bool AllPairsMatched() const;
    void CardClick(int i);
    void MoveFocus(int from, int dx, int dy);
    void cmdRestart_Click();
    void cmdNext_Click();
    void LayoutBoard();

    LessonContext& context_;
    FlipRules rules_;
    qint16 backgroundNo_ = 0;
};
