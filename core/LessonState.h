#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

#include "core/CBookUnit.h"
#include "core/CWordType.h"

// What the pupil is working on, shared by every window, view and module.
// One instance, owned by the main window and handed around by reference.
struct LessonState {
    // Textbook version
    qint16 CurVersionID = 0;
    QString VersionName;
    QString VersionDB;

    // Books
    qint16 BookCount = 0;
    std::vector<QString> BookNames;
    qint16 CurBook = 0;

    // Units of the book last loaded
    qint16 UnitCount = 0;
    std::vector<CBookUnit> BookUnits;
    qint16 CurUnit = 0;

    // Words of the current unit
    qint16 WordCount = 0;
    std::vector<CWordType> Words;
    qint16 CurWordIndex = 0;
    qint16 TestedCount = 0;

    // The current word as text
    QString CurEnglish;
    QString CurChinese;
    QString PrevEnglish;

    // Flags
    bool EffectRunning = false;
    bool ReadViewEntered = false;
};
