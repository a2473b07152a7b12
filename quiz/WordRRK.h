#pragma once

#include <QWidget>

#include "app/LessonContext.h"

// The word recognition test: see and hear a word, pick its meaning.
class WordRRK : public QWidget {
public:
    WordRRK(LessonContext& context, QWidget* parent);

    void SetTestWord();
    // True when the view may be left; nothing is under way to end here yet.
    bool EndTest();

private:
    LessonContext& context_;
};
