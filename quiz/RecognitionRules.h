#pragma once

#include <QtGlobal>
#include <span>

#include "core/CWordType.h"

#include "quiz/OptionTable.h"

class LessonDatabase;
class RandomSource;
class WordRecords;
struct LessonState;

// The rules of the recognition test: which word is asked with which
// options, how an answer is counted, when the run is complete, and what is
// saved. Every word is asked until it is answered right once.
class RecognitionRules {
public:
    RecognitionRules(LessonState& state, WordRecords& words, LessonDatabase& db, RandomSource& random);

    // Picks the next untested word and builds its options; false when no
    // untested word is left (the test word is then -1).
    bool AskNextWord();
    // Counts the answer given with option slot i; true when it was right.
    bool JudgeAnswer(int slot);

    bool IsTestComplete() const;
    int GetErrNum() const;
    // False when the save did not happen (the pupil has been told).
    bool SaveTestResults();

    qint16 TestWord() const { return testWord_; }
    const OptionTable& Options() const { return options_; }

private:
    std::span<CWordType> UnitWords() const;

    LessonState& state_;
    WordRecords& words_;
    LessonDatabase& db_;
    RandomSource& random_;
    qint16 testWord_ = -1;
    OptionTable options_;
};
