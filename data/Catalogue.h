#pragma once

#include <QString>
#include <QtGlobal>

class LessonDatabase;
class MessageService;
struct LessonState;

// The books and units of the textbook version, and each unit's status.
class Catalogue {
public:
    Catalogue(LessonState& state, LessonDatabase& db, MessageService& messages);

    bool LoadUnits(qint16 book);
    QString GetBookName(qint16 book) const;
    // False when the new status could not be stored (the pupil has been told).
    bool MergeUnitStatus(qint16 bit);

    static qint16 MergedStatus(qint16 current, qint16 bit);

private:
    LessonState& state_;
    LessonDatabase& db_;
    MessageService& messages_;
};
