#pragma once

#include <QWidget>

#include "app/LessonContext.h"

class QLabel;

// The listen-and-read view. For now it shows the current word: its picture,
// spelling and meaning.
class Orvanel : public QWidget {
public:
    Orvanel(LessonContext& context, QWidget* parent);

    void InitUserControl();
    void LoadWord();
    void ChangeWord(qint16& wordIndex);
    void StopAutoplay();

private:
    LessonContext& context_;
    QLabel* imgWord_;
    QLabel* lblEnglish_;
    QLabel* lblChinese_;
};
