#pragma once

#include <QString>
#include <QtGlobal>

class LessonDatabase;
struct LessonState;

// One unit of the current book with its completion bits
// (1 letter game finished, 2 test passed without error, 3 both).
struct CBookUnit {
    qint16 BookID = 0;
    qint16 UnitID = 0;
    QString UnitName;
    qint16 UnitStatus = 0;

    // False when the status could not be written (the pupil has been told).
    bool UpdateUnitStatus(LessonDatabase& db, const LessonState& state) const;

private:
    bool AddUnitRow(LessonDatabase& db, const LessonState& state) const;
};
