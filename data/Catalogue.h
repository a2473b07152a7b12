#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

#include "core/CBookUnit.h"

class LessonDatabase;
class MessageService;
struct LessonState;

// The books and units of the textbook version, and each unit's status.
class Catalogue {
public:
    Catalogue(LessonState& state, LessonDatabase& db, MessageService& messages);

    bool LoadUnits(qint16 book);
    QString GetBookName(qint16 book) const;
    // False when the new status could not be stored (the pupil has been
    // told); it is then kept in memory, shown by every load of its book's
    // units, and written by the next save of the marks.
    bool MergeUnitStatus(qint16 bit);
    // Writes the marks that are waiting; true when none is left waiting.
    bool SavePendingMarks();

    static qint16 MergedStatus(qint16 current, qint16 bit);

private:
    void KeepPending(const CBookUnit& unit);
    void ApplyPendingMarks(qint16 book);

    std::vector<CBookUnit> pendingMarks_;
    LessonState& state_;
    LessonDatabase& db_;
    MessageService& messages_;
};
