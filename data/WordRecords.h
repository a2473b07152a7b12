#pragma once

#include <QtGlobal>

class LessonDatabase;
class MessageService;
class RandomSource;
class Recordset;
struct LessonState;

// The words of the current unit: loading, results, run flags and picks.
class WordRecords {
public:
    WordRecords(LessonState& state, LessonDatabase& db, MessageService& messages, RandomSource& random);

    bool LoadUnitWords(qint16 book, qint16 unit);
    void MakeWordRecord(Recordset& recordset, int i);
    // False when the results could not be written; they stay in memory, so
    // the next save tries again.
    bool SaveAllResults();
    void SetCurrentWord();
    void ResetRunFlags();
    void PrepareArrangeRun();
    qint16 PickUntestedWord();

    // The counter rule for one judged answer of the test or a game.
    void CountAnswer(int index, bool right);

private:
    LessonState& state_;
    LessonDatabase& db_;
    MessageService& messages_;
    RandomSource& random_;
};
