#include <gtest/gtest.h>

#include "quiz/Fsrs.h"
#include "quiz/ReviewScheduler.h"

namespace {

const QDate kDay(2024, 12, 7);
const ReviewScheduler scheduler;
const CReviewState kRight = scheduler.Answer(nullptr, QStringLiteral("cat"), kDay, true);

CReviewState Again(const CReviewState& s, int days, bool right) { return scheduler.Answer(&s, "cat", kDay.addDays(days), right); }

TEST(Fsrs, RightOnEveryDueDayGivesThePublishedIntervals) {
    CReviewState state = kRight;
    std::vector<qint64> intervals{kDay.daysTo(state.Due)};
    for (int i = 0; i < 5; ++i, intervals.push_back(kDay.daysTo(state.Due) - kDay.daysTo(state.LastReview)))
        state = Again(state, kDay.daysTo(state.Due), true);
    EXPECT_EQ(intervals, (std::vector<qint64>{2, 11, 46, 163, 497, 1346}));
    EXPECT_EQ(QString("%1 %2").arg(state.Reps).arg(state.Lapses), "6 0");
}

// A wrong first answer is no lapse; a wrong later one is, and the word comes back the next day.
TEST(Fsrs, AWrongAnswerIsALapseOnlyAfterAnEarlierAnswer) {
    const CReviewState wrongFirst = scheduler.Answer(nullptr, "cat", kDay, false);
    EXPECT_EQ(QString("%1 %2 %3").arg(wrongFirst.Reps).arg(wrongFirst.Lapses).arg(kDay.daysTo(wrongFirst.Due)), "1 0 1");
    const CReviewState state = Again(kRight, 2, false);
    EXPECT_NEAR(state.Stability, 0.6076, 1e-4);
    EXPECT_NEAR(state.Difficulty, 7.3945, 1e-4);
    EXPECT_EQ(QString("%1 %2 %3 %4").arg(kDay.daysTo(state.LastReview)).arg(kDay.daysTo(state.Due)).arg(state.Reps).arg(state.Lapses),
              "2 3 2 1");
    // A clock that went back counts as the same day.
    EXPECT_DOUBLE_EQ(Again(kRight, -3, false).Stability, Again(kRight, 0, false).Stability);
    EXPECT_GE(Again(kRight, -3, false).Due, kDay.addDays(-2));
    EXPECT_DOUBLE_EQ(scheduler.Retrievability(kRight, kDay.addDays(-3)), 1.0);
}

TEST(Fsrs, FirstAnswerAndSameDayAnswers) {
    const Fsrs fsrs;
    EXPECT_NEAR(fsrs.First(Fsrs::kGood).stability, 2.3065, 1e-4);
    EXPECT_NEAR(fsrs.First(Fsrs::kGood).difficulty, 2.1181, 1e-4);
    EXPECT_NEAR(fsrs.First(Fsrs::kAgain).stability, 0.212, 1e-4);
    EXPECT_NEAR(fsrs.First(Fsrs::kAgain).difficulty, 6.4133, 1e-4);
    // Same day: a right answer never lowers stability, a wrong one does.
    const Fsrs::Memory strong{20.0, 5.0};
    EXPECT_DOUBLE_EQ(fsrs.Next(strong, 0, Fsrs::kGood).stability, 20.0);
    EXPECT_NEAR(fsrs.Next(strong, 0, Fsrs::kAgain).stability, 20.0 * std::exp(0.5425 * (-2 + 0.0912)) * std::pow(20.0, -0.0658), 1e-9);
    EXPECT_NEAR(fsrs.Retrievability(20, 20), 0.9, 1e-12);
    EXPECT_EQ(fsrs.NextInterval(0.3), 1);
}

// Words due today or earlier, lowest recall first, ties by spelling, up to the limit.
TEST(Fsrs, DueWordsComeLowestRecallFirstUpToTheLimit) {
    const auto s = [](const char* english, double stability, int lastAgo, int dueIn) {
        return CReviewState{english, stability, 5, kDay.addDays(-lastAgo), kDay.addDays(dueIn), 1, 0};
    };
    const std::vector<CReviewState> states{s("fresh", 30, 1, 0), s("old", 2, 10, -8), s("later", 2, 1, 1),
                                           s("tie-b", 5, 6, -1), s("mid", 5, 6, -1), s("stale", 1, 40, -39)};
    std::vector<const CReviewState*> all;
    for (const CReviewState& state : states) all.push_back(&state);
    for (const auto& [limit, expected] : std::vector<std::pair<int, QString>>{{4, "stale old mid tie-b"}, {15, "stale old mid tie-b fresh"}}) {
        QStringList order;
        for (const CReviewState& state : scheduler.DueWords(all, kDay, limit)) order << state.English;
        EXPECT_EQ(order.join(' '), expected);
    }
}

}  // namespace
