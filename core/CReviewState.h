#pragma once

#include <QDate>
#include <QString>

// One word's memory state in the review schedule, keyed by its trimmed
// spelling as the results are.
struct CReviewState {
    QString English;
    double Stability = 0;   // days
    double Difficulty = 0;  // 1 to 10
    QDate LastReview;
    QDate Due;
    int Reps = 0;
    int Lapses = 0;
};
