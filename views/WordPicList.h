#pragma once

#include <QWidget>

#include "app/LessonContext.h"

// The unit's pictures in groups of eight with their words.
class WordPicList : public QWidget {
public:
    WordPicList(LessonContext& context, QWidget* parent);

    void LoadPics();

private:
    LessonContext& context_;
};
