#pragma once

#include <QWidget>

#include "app/LessonContext.h"

// The unit's words with their test results and error counts.
class WordList : public QWidget {
public:
    WordList(LessonContext& context, QWidget* parent);

    void FillWordErrNum();

private:
    LessonContext& context_;
};
