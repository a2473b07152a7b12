#pragma once

#include <QWidget>

#include "app/LessonContext.h"

// The picture-flip matching game.
class WordFFK : public QWidget {
public:
    WordFFK(LessonContext& context, QWidget* parent);

    void StartGameFFK();

private:
    LessonContext& context_;
};
