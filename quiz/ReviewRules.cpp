#include "quiz/ReviewRules.h"

#include <algorithm>

#include "core/RandomSource.h"
#include "quiz/ReviewBook.h"

ReviewRules::ReviewRules(ReviewBook& review, RandomSource& random) : review_(review), random_(random) {}

bool ReviewRules::Start() {
    queue_.clear();
    current_ = -1;
    reviewed_ = 0;
    rightFirst_ = 0;
    review_.BeginRun(AnswerSource::Review);
    for (const CReviewState& due : review_.DueWords(ReviewBook::kSessionWords)) {
        Question question;
        question.word = review_.TextbookIndex(due.English);
        queue_.push_back(question);
    }
    inSession_ = !queue_.empty();
    return inSession_;
}

bool ReviewRules::AskNext() {
    if (!inSession_) return false;
    if (++current_ >= QuestionCount()) {
        inSession_ = false;
        return false;
    }
    Question& question = queue_[current_];
    if (question.graded) question.kind = random_.Draw(2) == 0 ? Kind::HearPickPicture : Kind::SeePickSpelling;
    BuildOptions(question);
    judged_ = false;
    return true;
}

bool ReviewRules::Judge(int slot) {
    if (!inSession_ || judged_) return false;
    judged_ = true;
    Question& question = queue_[current_];
    const bool right = slot >= 0 && slot < OptionTable::kSlots && question.options[slot] == question.word;
    if (!question.graded) return right;
    review_.Grade(AnswerSource::Review, review_.Textbook()[question.word].English, right);
    ++reviewed_;
    if (right) {
        ++rightFirst_;
    } else {
        Question again = question;
        again.graded = false;
        queue_.push_back(again);
    }
    return right;
}

// Other spellings of the word's unit when it has enough of them, otherwise
// of its book.
std::vector<int> ReviewRules::Distractors(int word) const {
    const auto& textbook = review_.Textbook();
    const auto& asked = textbook[word];
    const auto collect = [&](bool sameUnit) {
        std::vector<int> found;
        std::vector<QString> spellings{asked.English};
        for (int i = 0; i < static_cast<int>(textbook.size()); ++i) {
            const auto& other = textbook[i];
            if (other.Book != asked.Book || (sameUnit && other.Unit != asked.Unit)) continue;
            if (std::find(spellings.begin(), spellings.end(), other.English) != spellings.end()) continue;
            spellings.push_back(other.English);
            found.push_back(i);
        }
        return found;
    };
    std::vector<int> unit = collect(true);
    return unit.size() >= OptionTable::kSlots - 1 ? unit : collect(false);
}

void ReviewRules::BuildOptions(Question& question) {
    std::vector<int> pool{question.word};
    const std::vector<int> others = Distractors(question.word);
    pool.insert(pool.end(), others.begin(), others.end());
    OptionTable table;
    table.BuildOptionTable(0, static_cast<int>(pool.size()), random_);
    for (int i = 0; i < OptionTable::kSlots; ++i) question.options[i] = table.Slot(i) >= 0 ? pool[table.Slot(i)] : -1;
}
