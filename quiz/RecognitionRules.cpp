#include "quiz/RecognitionRules.h"

#include <algorithm>

#include "core/LessonState.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"

RecognitionRules::RecognitionRules(LessonState& state, WordRecords& words, LessonDatabase& db, RandomSource& random)
    : state_(state), words_(words), db_(db), random_(random) {}

bool RecognitionRules::AskNextWord() {
    testWord_ = words_.PickUntestedWord();
    if (testWord_ < 0) return false;
    options_.BuildOptionTable(testWord_, static_cast<int>(UnitWords().size()), random_);
    return true;
}

bool RecognitionRules::JudgeAnswer(int slot) {
    if (testWord_ < 0) return false;
    const bool right = options_.HoldsTestWord(slot);
    if (!right) state_.Words[testWord_].CurrErr = true;
    words_.CountAnswer(testWord_, right);
    return right;
}

// After a failed load the array still holds the previous unit's words
// beyond WordCount; they are not part of this test.
std::span<CWordType> RecognitionRules::UnitWords() const {
    return std::span<CWordType>(state_.Words).first(
        std::clamp<size_t>(state_.WordCount, 0, state_.Words.size()));
}

bool RecognitionRules::IsTestComplete() const {
    return std::ranges::all_of(UnitWords(), [](const CWordType& w) { return w.Tested; });
}

int RecognitionRules::GetErrNum() const {
    return static_cast<int>(std::ranges::count_if(UnitWords(), [](const CWordType& w) { return w.CurrErr; }));
}

// Words answered right are written at once; the others wait for the save of
// the whole unit.
bool RecognitionRules::SaveTestResults() {
    if (std::ranges::none_of(UnitWords(), [](const CWordType& w) { return w.Tested; })) return true;
    return db_.InOneTransaction([this] {
        return std::ranges::all_of(UnitWords(), [this](CWordType& word) {
            return !word.Tested || word.UpdateUserInfo(db_, state_.VersionDB);
        });
    });
}
