#include "quiz/FormReview.h"
#include "quiz/Fsrs.h"
#include "quiz/ReviewScheduler.h"
#include "quiz/SpeakerButton.h"
#include "tests/support/ViewFixture.h"
#include "views/WordPicture.h"

class ReviewTest : public ViewFixture {
protected:
    // Grades the words in a test run today, then moves the calendar on.
    void Answered(const QStringList& right, const QStringList& wrong, int daysLater) {
        review.BeginRun(AnswerSource::Test);
        for (const QString& w : right + wrong) ASSERT_TRUE(review.Grade(AnswerSource::Test, w, right.contains(w)));
        dates.AdvanceDays(daysLater);
    }
    void Open() {
        (view = std::make_unique<FormReview>(context, nullptr))->resize(1000, 640);
        view->StartReview();
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    QString Asked() const { return view->imgSound->isVisible() ? Spoken().back() : view->imgWord->Word(); }
    // The options the pupil sees: when hearing, each one's picture must show too.
    QStringList OptionWords() const {
        QStringList words;
        const bool hear = view->imgSound->isVisible();
        for (int i = 0; i < 4; ++i)
            if (view->optAns[i]->isVisibleTo(view.get()))
                words << (!hear ? view->optAns[i]->text().section(' ', -1) : view->imgOpt[i]->isVisible() ? view->imgOpt[i]->Word() : "?");
        return words;
    }
    // Picks with the number keys and confirms with Enter.
    void Pick(bool right) {
        const int at = OptionWords().indexOf(Asked());
        QTest::keyClick(view.get(), static_cast<Qt::Key>(Qt::Key_1 + (right ? at : (at + 1) % OptionWords().size())));
        QTest::keyClick(view.get(), Qt::Key_Return);
    }
    QString Logged(const QString& tail = "order by rowid") {
        return install.OnScrambled("select group_concat(English || ' ' || Grade || ' ' || Source, ', ') from (select * from AnswerLog " + tail + ")");
    }
    QString Shown() const { return messages.shown.empty() ? QString() : messages.shown.back().text; }

    std::unique_ptr<FormReview> view;
};

// An older database gets the tables; each source grades a word at its first answer of a run only, and writes
// it at once; a first answer is no lapse.
TEST_F(ReviewTest, EachSourceGradesAWordOnlyAtItsFirstAnswerOfARunAndWritesItAtOnce) {
    CreateUnits({NumberedWords(4)});
    EXPECT_EQ(install.OnScrambled("select count(*) from sqlite_master where name in ('ReviewState', 'AnswerLog')"), "0");
    Answered({"w1"}, {}, 0);
    EXPECT_EQ(install.OnScrambled("select AnsweredAt || ' ' || LastReview || ' ' || Due || ' ' || Reps || ' ' || Lapses || ' ' || "
                     "round(Stability, 4) from AnswerLog, ReviewState"), "2024-12-07T09:30:00 2024-12-07 2024-12-09 1 0 2.3065");
    for (AnswerSource source : {AnswerSource::Test, AnswerSource::Game, AnswerSource::Review}) {
        review.BeginRun(source);
        EXPECT_TRUE(review.Grade(source, "w0", false));
        EXPECT_FALSE(review.Grade(source, " w0 ", true) || review.Grade(source, " ", true));
        review.BeginRun(source);
        EXPECT_TRUE(review.Grade(source, "w0", true));
    }
    EXPECT_EQ(Logged(), "w1 3 test, w0 1 test, w0 3 test, w0 1 game, w0 3 game, w0 1 review, w0 3 review");
    EXPECT_EQ(install.OnScrambled("select Reps || ' ' || Lapses from ReviewState where English = 'w0'"), "6 2");
}

// The file is away for a while (a USB stick pulled out): the pupil hears of it once, and the run's answers are
// written when the next run starts. Stored states that cannot be read leave nothing graded.
TEST_F(ReviewTest, AnswersThatCouldNotBeWrittenAreToldOnceAndWrittenLater) {
    CreateUnits({NumberedWords(4)});
    Answered({"w0"}, {}, 0);
    ASSERT_TRUE(QFile::rename(install.DbPath(), install.DbPath() + ".away"));
    EXPECT_FALSE(review.Grade(AnswerSource::Test, "w1", true) || review.Grade(AnswerSource::Test, "w2", false));
    ASSERT_TRUE(QFile::rename(install.DbPath() + ".away", install.DbPath()));
    review.BeginRun(AnswerSource::Game);
    EXPECT_EQ(Logged() + " " + install.OnScrambled("select count(*) from ReviewState"), "w0 3 test, w1 3 test, w2 1 test 3");
    EXPECT_EQ(QString::number(messages.shown.size()) + Shown().left(8), "1学习结果没有保存");
    install.OnScrambled("drop table ReviewState");
    install.OnScrambled("create table ReviewState (English text)");
    ReviewBook later(reviewRecords, dates);
    later.BeginRun(AnswerSource::Test);
    EXPECT_FALSE(later.Grade(AnswerSource::Test, "w3", true));
    EXPECT_EQ(QString::number(messages.shown.size()) + Shown().left(7) + Logged("where English = 'w3'"), "2词库文件已损坏");
}

// Fifteen of the seventeen due words, the wrong ones first; a wrong answer shows the word, speaks it and asks
// it once more at the end, ungraded.
TEST_F(ReviewTest, ASessionAsksTheFifteenMostNearlyForgottenWordsAndAWrongOneAgainAtTheEnd) {
    CreateUnits({NumberedWords(20)});
    Answered(QString("w5 w6 w7 w8 w9 w10 w11 w12 w13 w14 w15 w16 w17 w18 w19").split(' '), {"w3", "w4"}, 2);
    EXPECT_EQ(review.ButtonCaption(), "错词本 17");
    random.draws = {1};  // the first question shows the picture
    Open();
    EXPECT_EQ(view->lblProgress->text() + " " + view->imgWord->Word() + " " + QString::number(OptionWords().size()), "第1个，共15个 w3 4");
    Pick(false);
    EXPECT_EQ(view->lblAns->text() + " " + Spoken().back(), "正确答案：w3  意3 w3");
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_EQ(view->lblProgress->text() + " " + Spoken().mid(Spoken().size() - 2).join(' '), "第2个，共16个 w4 w4");
    for (int i = 0; i < 14; ++i) Pick(true);
    EXPECT_EQ(view->lblProgress->text() + " " + Asked(), "第16个，共16个 w3");
    Pick(false);
    QTest::keyClick(view.get(), Qt::Key_Enter);
    EXPECT_EQ(Logged("where Source = 'review' order by rowid limit 2"), "w3 1 review, w4 3 review");
    EXPECT_EQ(install.OnScrambled("select count(*) from AnswerLog where Source = 'review'"), "15");
    EXPECT_EQ(Shown() + QString::number(messages.shown.size()), "这次复习了15个单词，14个一次就答对了。\n明天还有3个单词要复习1");
    EXPECT_EQ(host.modes, (std::vector<qint16>{1}));
}

TEST_F(ReviewTest, OtherOptionsComeFromTheUnitOrFromTheBookWhenTheUnitIsSmall) {
    CreateUnits({{{0, 0, "a0", "甲"}, {0, 0, "a1", "乙"}}, {{0, 0, "b0", "丙"}, {0, 0, "b1", "丁"}, {0, 0, "b2", "戊"}, {0, 0, "b3", "己"}}});
    Answered({}, {"a0", "b0"}, 1);
    Open();
    for (const char* fromTheBook : {"2 of 4", "4 of 4"}) {
        EXPECT_EQ(QString("%1 of %2").arg(OptionWords().filter(QRegularExpression("^b")).size()).arg(OptionWords().size()), fromTheBook);
        EXPECT_TRUE(view->imgSound->isVisible() && !OptionWords().contains("?")) << OptionWords().join(" ").toStdString();
        Pick(true);
    }
}

TEST_F(ReviewTest, LeavingMidSessionAsksOnceAndKeepsTheGradedAnswers) {
    CreateUnits({NumberedWords(6)});
    Answered({}, {"w0", "w1", "w2"}, 1);
    Open();
    Pick(true);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(view->EndReview());
    EXPECT_EQ(Shown(), "还没有复习完，你确定要结束复习吗?");
    EXPECT_TRUE(view->EndReview() && view->EndReview());
    EXPECT_EQ(QString::number(messages.shown.size()) + " " + Logged("where Source = 'review'") + " " + review.ButtonCaption(), "2 w0 3 review 错词本 2");
}

TEST_F(ReviewTest, ANewDayIsCountedWhileTheProgramIsOpen) {
    CreateUnits({NumberedWords(4)});
    Answered({"w2"}, {}, 1);
    view = std::make_unique<FormReview>(context, nullptr);
    EXPECT_FALSE(view->AnyWordDue());
    EXPECT_EQ(Shown() + " " + review.ButtonCaption(), "今天没有要复习的单词，明天再来吧！ 错词本");
    dates.AdvanceDays(1);
    EXPECT_TRUE(view->AnyWordDue());
    EXPECT_EQ(review.ButtonCaption(), "错词本 1");
    Open();
    dates.AdvanceDays(1);
    Pick(false);
    EXPECT_EQ(install.OnScrambled("select LastReview || ' ' || Due from ReviewState"), "2024-12-10 2024-12-11");
}

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
