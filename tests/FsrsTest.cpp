#include "tests/support/QtApp.h"
#include "quiz/Fsrs.h"
#include "quiz/ReviewScheduler.h"

namespace {

const QDate kDay(2024, 12, 7);
const ReviewScheduler scheduler;
const CReviewState kRight = scheduler.Answer(nullptr, QStringLiteral("cat"), kDay, true);

CReviewState Again(const CReviewState& s, int days, bool right) { return scheduler.Answer(&s, "cat", kDay.addDays(days), right); }
// Stability/difficulty to four places, then days to the last review and to the due day, reps and lapses.
QString Text(const CReviewState& s) {
    return QString("%1/%2 %3 %4 %5 %6").arg(s.Stability, 0, 'f', 4).arg(s.Difficulty, 0, 'f', 4).arg(kDay.daysTo(s.LastReview))
        .arg(kDay.daysTo(s.Due)).arg(s.Reps).arg(s.Lapses);
}

TEST(Fsrs, RightOnEveryDueDayGivesTheKnownIntervals) {
    CReviewState state = kRight;
    std::vector<qint64> intervals{kDay.daysTo(state.Due)};
    for (int i = 0; i < 5; ++i, intervals.push_back(kDay.daysTo(state.Due) - kDay.daysTo(state.LastReview)))
        state = Again(state, kDay.daysTo(state.Due), true);
    EXPECT_EQ(intervals, (std::vector<qint64>{2, 11, 46, 163, 497, 1346}));
    EXPECT_EQ(state.Lapses, 0);
}

// A wrong first answer is no lapse; a wrong later one is, and the word comes back the next day.
// A clock that went back counts as the same day; a right answer on the same day keeps the stability.
TEST(Fsrs, AWrongAnswerIsALapseOnlyAfterAnEarlierAnswer) {
    EXPECT_EQ(Text(kRight) + ", " + Text(scheduler.Answer(nullptr, "cat", kDay, false)), "2.3065/2.1181 0 2 1 0, 0.2120/6.4133 0 1 1 0");
    EXPECT_EQ(Text(Again(kRight, 2, false)), "0.6076/7.3945 2 3 2 1");
    EXPECT_EQ(Text(Again(kRight, -3, false)).section(' ', 0, 0), Text(Again(kRight, 0, false)).section(' ', 0, 0));
    EXPECT_EQ(Again(kRight, -3, false).Due, kDay.addDays(-2));
    EXPECT_DOUBLE_EQ(scheduler.Retrievability(kRight, kDay.addDays(-3)), 1.0);
    const Fsrs fsrs;
    EXPECT_DOUBLE_EQ(fsrs.Next({20.0, 5.0}, 0, Fsrs::kGood).stability, 20.0);
    EXPECT_NEAR(fsrs.Next({20.0, 5.0}, 0, Fsrs::kAgain).stability, 20.0 * std::exp(0.5425 * (-2 + 0.0912)) * std::pow(20.0, -0.0658), 1e-9);
    EXPECT_NEAR(fsrs.Retrievability(20, 20), 0.9, 1e-12);
    EXPECT_EQ(fsrs.NextInterval(0.3), 1);
}

// Words due today or earlier, lowest recall first, ties by spelling, up to the limit.
TEST(Fsrs, DueWordsComeLowestRecallFirstUpToTheLimit) {
    std::vector<CReviewState> states;
    for (const auto& [english, stability, lastAgo, dueIn] : std::vector<std::tuple<const char*, double, int, int>>{
             {"fresh", 30, 1, 0}, {"old", 2, 10, -8}, {"later", 2, 1, 1}, {"tie-b", 5, 6, -1}, {"mid", 5, 6, -1}, {"stale", 1, 40, -39}})
        states.push_back({english, stability, 5, kDay.addDays(-lastAgo), kDay.addDays(dueIn), 1, 0});
    std::vector<const CReviewState*> all;
    for (const CReviewState& state : states) all.push_back(&state);
    for (const auto& [limit, expected] : std::vector<std::pair<int, QString>>{{4, "stale old mid tie-b"}, {15, "stale old mid tie-b fresh"}}) {
        QStringList order;
        for (const CReviewState& state : scheduler.DueWords(all, kDay, limit)) order << state.English;
        EXPECT_EQ(order.join(' '), expected);
    }
}

}  // namespace
