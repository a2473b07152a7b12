#include "quiz/ReviewScheduler.h"

#include <algorithm>

namespace {

int DaysSince(const QDate& last, const QDate& today) {
    return static_cast<int>(std::max<qint64>(0, last.daysTo(today)));
}

}  // namespace

CReviewState ReviewScheduler::Answer(const CReviewState* previous, const QString& english, const QDate& today,
                                     bool right) const {
    const int grade = right ? Fsrs::kGood : Fsrs::kAgain;
    CReviewState next = previous ? *previous : CReviewState();
    next.English = english;
    const Fsrs::Memory memory =
        previous ? fsrs_.Next({previous->Stability, previous->Difficulty}, DaysSince(previous->LastReview, today), grade)
                 : fsrs_.First(grade);
    next.Stability = memory.stability;
    next.Difficulty = memory.difficulty;
    next.LastReview = today;
    next.Due = today.addDays(fsrs_.NextInterval(memory.stability));
    ++next.Reps;
    if (previous && !right) ++next.Lapses;
    return next;
}

double ReviewScheduler::Retrievability(const CReviewState& state, const QDate& today) const {
    return fsrs_.Retrievability(DaysSince(state.LastReview, today), state.Stability);
}

std::vector<CReviewState> ReviewScheduler::DueWords(const std::vector<const CReviewState*>& states,
                                                    const QDate& today, std::size_t limit) const {
    struct Ranked {
        double r;
        const CReviewState* state;
    };
    std::vector<Ranked> due;
    for (const CReviewState* s : states)
        if (s->Due <= today) due.push_back({Retrievability(*s, today), s});
    // Ties go by spelling, so the same day always gives the same session.
    const auto lower = [](const Ranked& a, const Ranked& b) {
        return a.r != b.r ? a.r < b.r : a.state->English < b.state->English;
    };
    const std::size_t kept = std::min(limit, due.size());
    std::partial_sort(due.begin(), due.begin() + static_cast<std::ptrdiff_t>(kept), due.end(), lower);
    std::vector<CReviewState> words;
    words.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) words.push_back(*due[i].state);
    return words;
}
