#pragma once

#include <QWidget>

#include "app/LessonContext.h"

// The letter-arranging spelling game.
class WordPPK2 : public QWidget {
public:
    WordPPK2(LessonContext& context, QWidget* parent);

    void InitGamePPK();
    // True when the view may be left; no game is under way to end here yet.
    bool EndGame();

private:
    LessonContext& context_;
};
