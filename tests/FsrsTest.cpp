#include <gtest/gtest.h>

#include "quiz/Fsrs.h"
#include "quiz/ReviewScheduler.h"

namespace {

const QDate kDay(2024, 12, 7);

TEST(Fsrs, RightOnEveryDueDayGivesThePublishedIntervals) {
    const ReviewScheduler scheduler;
    CReviewState state = scheduler.Answer(nullptr, QStringLiteral("cat"), kDay, true);
    std::vector<qint64> intervals{kDay.daysTo(state.Due)};
    for (int i = 0; i < 5; ++i) {
        const QDate due = state.Due;
        state = scheduler.Answer(&state, QStringLiteral("cat"), due, true);
        intervals.push_back(due.daysTo(state.Due));
    }
    EXPECT_EQ(intervals, (std::vector<qint64>{2, 11, 46, 163, 497, 1346}));
    EXPECT_EQ(state.Reps, 6);
    EXPECT_EQ(state.Lapses, 0);
}

TEST(Fsrs, WrongOnTheFirstDueDay) {
    const ReviewScheduler scheduler;
    const CReviewState first = scheduler.Answer(nullptr, QStringLiteral("cat"), kDay, true);
    const CReviewState state = scheduler.Answer(&first, QStringLiteral("cat"), kDay.addDays(2), false);
    EXPECT_NEAR(state.Stability, 0.6076, 1e-4);
    EXPECT_NEAR(state.Difficulty, 7.3945, 1e-4);
    EXPECT_EQ(state.LastReview, kDay.addDays(2));
    EXPECT_EQ(state.Due, kDay.addDays(3));
    EXPECT_EQ(state.Lapses, 1);
}

TEST(Fsrs, FirstAnswerAndSameDayAnswers) {
    const Fsrs fsrs;
    struct Case {
        int grade;
        double stability;
        double difficulty;
    };
    for (const Case& c : {Case{Fsrs::kGood, 2.3065, 2.1181}, Case{Fsrs::kAgain, 0.212, 6.4133}}) {
        const Fsrs::Memory m = fsrs.First(c.grade);
        EXPECT_NEAR(m.stability, c.stability, 1e-4) << c.grade;
        EXPECT_NEAR(m.difficulty, c.difficulty, 1e-4) << c.grade;
    }
    // Same day: a right answer never lowers stability, a wrong one does.
    const Fsrs::Memory strong{20.0, 5.0};
    EXPECT_DOUBLE_EQ(fsrs.Next(strong, 0, Fsrs::kGood).stability, 20.0);
    EXPECT_NEAR(fsrs.Next(strong, 0, Fsrs::kAgain).stability, 20.0 * std::exp(0.5425 * (-2 + 0.0912)) * std::pow(20.0, -0.0658),
                1e-9);
    EXPECT_NEAR(fsrs.Retrievability(20, 20), 0.9, 1e-12);
    EXPECT_EQ(fsrs.NextInterval(0.3), 1);
}

TEST(Fsrs, AClockThatWentBackCountsAsTheSameDay) {
    const ReviewScheduler scheduler;
    const CReviewState first = scheduler.Answer(nullptr, QStringLiteral("cat"), kDay, true);
    const CReviewState back = scheduler.Answer(&first, QStringLiteral("cat"), kDay.addDays(-3), false);
    const CReviewState same = scheduler.Answer(&first, QStringLiteral("cat"), kDay, false);
    EXPECT_DOUBLE_EQ(back.Stability, same.Stability);
    EXPECT_GE(back.Due, kDay.addDays(-2));
    EXPECT_DOUBLE_EQ(scheduler.Retrievability(first, kDay.addDays(-3)), 1.0);
}

TEST(Fsrs, DueWordsComeLowestRecallFirstUpToTheLimit) {
    const ReviewScheduler scheduler;
    auto state = [](const char* english, double stability, int lastAgo, int dueIn) {
        return CReviewState{QString::fromLatin1(english), stability, 5, kDay.addDays(-lastAgo), kDay.addDays(dueIn), 1, 0};
    };
    const std::vector<CReviewState> states{state("fresh", 30, 1, 0),  state("old", 2, 10, -8),
                                           state("later", 2, 1, 1),    state("mid", 5, 6, -1),
                                           state("tie-b", 5, 6, -1),   state("stale", 1, 40, -39)};
    std::vector<const CReviewState*> all;
    for (const CReviewState& s : states) all.push_back(&s);
    QStringList order;
    for (const CReviewState& s : scheduler.DueWords(all, kDay, 4)) order << s.English;
    EXPECT_EQ(order, (QStringList{"stale", "old", "mid", "tie-b"}));
    EXPECT_EQ(scheduler.DueWords(all, kDay, 15).size(), 5u);
}

}  // namespace
