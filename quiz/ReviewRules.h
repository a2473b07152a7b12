#pragma once

#include <array>
#include <vector>

#include "quiz/OptionTable.h"

class RandomSource;
class ReviewBook;

// The rules of one review session: today's due words, each asked once
// picture-first and graded at that answer; a word answered wrongly comes
// back once at the end, ungraded.
class ReviewRules {
public:
    enum class Kind { HearPickPicture, SeePickSpelling };

    struct Question {
        int word = -1;  // place in the textbook
        Kind kind = Kind::HearPickPicture;
        bool graded = true;
        std::array<int, OptionTable::kSlots> options{-1, -1, -1, -1};  // places in the textbook
    };

    ReviewRules(ReviewBook& review, RandomSource& random);

    // Takes today's words; false when none is due.
    bool Start();
    // The next question, false when the session is over.
    bool AskNext();
    // Judges the pick of option slot i and grades a first answer; true when right.
    bool Judge(int slot);

    // Leaving in the middle: the answers graded so far stay.
    void Stop() { inSession_ = false; }
    bool InSession() const { return inSession_; }
    const Question& Current() const { return queue_[current_]; }
    int Position() const { return current_ + 1; }
    int QuestionCount() const { return static_cast<int>(queue_.size()); }
    int Reviewed() const { return reviewed_; }
    int RightFirstTime() const { return rightFirst_; }

private:
    void BuildOptions(Question& question);
    std::vector<int> Distractors(int word) const;

    ReviewBook& review_;
    RandomSource& random_;
    std::vector<Question> queue_;
    int current_ = -1;
    bool inSession_ = false;
    bool judged_ = false;
    int reviewed_ = 0;
    int rightFirst_ = 0;
};
