#pragma once

#include <QString>
#include <QtGlobal>

class LessonDatabase;

// One word of the current unit: its text, whether the letter game can use
// it, the flags of the current run and the pupil's persistent counters.
struct CWordType {
    qint16 Book = 0;
    qint16 Unit = 0;
    qint16 Composition = 0;
    QString English;
    QString Chinese;
    bool Tested = false;
    bool CurrErr = false;
    QString Result;
    qint16 errNum = 0;
    qint16 testNum = 0;
    qint16 rightNum = 0;

    // False when the result could not be written (the pupil has been told).
    bool UpdateUserInfo(LessonDatabase& db, const QString& versionDB);
    void GetWordResult();
    void SetWordResultString();
    void SetComposition();

    // One answer judged by the test or a game: the counters change in memory.
    void CountAnswer(bool right);
};
