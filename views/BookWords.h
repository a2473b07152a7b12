#pragma once

#include <QStringList>

class LessonDatabase;
struct LessonState;

// Every spelling of the current book, for comparing a reading with more
// words than a short unit has.
class BookWords {
public:
    static QStringList Load(LessonDatabase& db, const LessonState& state);
};
