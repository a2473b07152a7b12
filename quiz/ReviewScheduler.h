#pragma once

#include <QDate>
#include <QString>
#include <cstddef>
#include <vector>

#include "core/CReviewState.h"
#include "quiz/Fsrs.h"

// When each word comes back: one answer moves its memory state on, and the
// words due on a day are those whose due date has come, the ones most
// nearly forgotten first.
class ReviewScheduler {
public:
    // The state after an answer on the given day; previous is null for the
    // word's first answer. A clock that went back counts as the same day.
    CReviewState Answer(const CReviewState* previous, const QString& english, const QDate& today, bool right) const;

    double Retrievability(const CReviewState& state, const QDate& today) const;

    // Due today or earlier, lowest recall first, at most limit of them.
    std::vector<CReviewState> DueWords(const std::vector<const CReviewState*>& states, const QDate& today,
                                       std::size_t limit) const;

private:
    Fsrs fsrs_;
};
