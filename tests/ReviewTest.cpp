#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "quiz/FormReview.h"
#include "quiz/SpeakerButton.h"
#include "tests/support/ViewFixture.h"
#include "views/WordPicture.h"

namespace {

class ReviewTest : public ViewFixture {
protected:
    // Grades the words in a test run today, then moves the calendar on.
    void Answered(const QStringList& right, const QStringList& wrong, int daysLater) {
        review.BeginRun(AnswerSource::Test);
        for (const QString& w : right) ASSERT_TRUE(review.Grade(AnswerSource::Test, w, true));
        for (const QString& w : wrong) ASSERT_TRUE(review.Grade(AnswerSource::Test, w, false));
        dates.AdvanceDays(daysLater);
    }

    void Open() {
        view = std::make_unique<FormReview>(context, nullptr);
        view->resize(1000, 640);
        view->StartReview();
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    QString Asked() const { return view->imgSound->isVisible() ? Spoken().back() : view->imgWord->Word(); }

    QStringList OptionWords() const {
        QStringList words;
        for (int i = 0; i < 4; ++i)
            if (view->optAns[i]->isVisibleTo(view.get()))
                words << (view->imgSound->isVisible() ? view->imgOpt[i]->Word()
                                                      : view->optAns[i]->text().section(QLatin1Char(' '), -1));
        return words;
    }

    // Picks with the number keys and confirms with Enter.
    void Pick(bool right) {
        const QStringList options = OptionWords();
        int slot = 0;
        while ((options[slot] == Asked()) != right) ++slot;
        QTest::keyClick(view.get(), static_cast<Qt::Key>(Qt::Key_1 + slot));
        QTest::keyClick(view.get(), Qt::Key_Return);
    }

    QString Logged() {
        return Stored(QStringLiteral("select group_concat(English || ' ' || Grade || ' ' || Source, ', ')"
                                     " from (select * from AnswerLog order by rowid)"));
    }

    std::unique_ptr<FormReview> view;
};

TEST_F(ReviewTest, AnOlderDatabaseGetsTheTablesAndEachAnswerIsWrittenAtOnce) {
    CreateUnits({NumberedWords(4)});
    EXPECT_EQ(Stored("select count(*) from sqlite_master where name in ('ReviewState', 'AnswerLog')"), "0");
    Answered({"w1"}, {}, 0);
    EXPECT_TRUE(install.DbIsScrambled());
    EXPECT_EQ(Stored("select AnsweredAt || ' ' || Grade || ' ' || Source from AnswerLog"), "2024-12-07T09:30:00 3 test");
    EXPECT_EQ(Stored("select LastReview || ' ' || Due || ' ' || Reps || ' ' || Lapses from ReviewState"),
              "2024-12-07 2024-12-09 1 0");
    EXPECT_NEAR(Stored("select Stability from ReviewState").toDouble(), 2.3065, 1e-9);
}

// The file is away for a while (a USB stick pulled out): the pupil hears of
// it once, and the run's answers are written when the next run starts.
TEST_F(ReviewTest, AnswersThatCouldNotBeWrittenAreToldOnceAndWrittenLater) {
    CreateUnits({NumberedWords(4)});
    Answered({"w0"}, {}, 0);
    ASSERT_TRUE(QFile::rename(install.DbPath(), install.DbPath() + ".away"));
    EXPECT_FALSE(review.Grade(AnswerSource::Test, "w1", true));
    EXPECT_FALSE(review.Grade(AnswerSource::Test, "w2", false));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("学习结果没有保存"));
    ASSERT_TRUE(QFile::rename(install.DbPath() + ".away", install.DbPath()));
    review.BeginRun(AnswerSource::Game);
    EXPECT_EQ(Logged(), "w0 3 test, w1 3 test, w2 1 test");
    EXPECT_EQ(Stored("select count(*) from ReviewState"), "3");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ReviewTest, EachSourceGradesAWordOnlyAtItsFirstAnswerOfARun) {
    CreateUnits({NumberedWords(4)});
    for (AnswerSource source : {AnswerSource::Test, AnswerSource::Game, AnswerSource::Review}) {
        review.BeginRun(source);
        EXPECT_TRUE(review.Grade(source, "w0", false));
        EXPECT_FALSE(review.Grade(source, " w0 ", true));
        review.BeginRun(source);
        EXPECT_TRUE(review.Grade(source, "w0", true));
    }
    EXPECT_EQ(Logged(), "w0 1 test, w0 3 test, w0 1 game, w0 3 game, w0 1 review, w0 3 review");
    EXPECT_EQ(Stored("select Reps || ' ' || Lapses from ReviewState"), "6 2");  // the first answer is no lapse
}

TEST_F(ReviewTest, ASessionTakesTheFifteenMostNearlyForgottenWords) {
    CreateUnits({NumberedWords(20)});
    QStringList right;
    for (int i = 5; i < 20; ++i) right << QStringLiteral("w%1").arg(i);
    Answered(right, {"w3", "w4"}, 2);
    EXPECT_EQ(review.ButtonCaption(), "错词本 17");
    Open();
    EXPECT_EQ(view->lblProgress->text(), "第1个，共15个");
    EXPECT_EQ(Asked(), "w3");
    Pick(true);
    EXPECT_EQ(Asked(), "w4");
    EXPECT_EQ(view->lblProgress->text(), "第2个，共15个");
}

TEST_F(ReviewTest, AWrongWordIsShownSpokenAndAskedOnceMoreUngraded) {
    CreateUnits({NumberedWords(6)});
    Answered({"w1"}, {"w0"}, 2);
    random.draws = {1};  // the first question shows the picture
    Open();
    EXPECT_EQ(view->imgWord->Word(), "w0");
    EXPECT_EQ(OptionWords().size(), 4);
    Pick(false);
    EXPECT_EQ(view->lblAns->text(), "正确答案：w0  意0");
    EXPECT_EQ(Spoken().back(), "w0");
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(Asked(), "w1");
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_EQ(Spoken().mid(Spoken().size() - 2), (QStringList{"w1", "w1"}));
    Pick(true);
    EXPECT_EQ(view->lblProgress->text(), "第3个，共3个");
    EXPECT_EQ(Asked(), "w0");
    Pick(false);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(Logged(), "w1 3 test, w0 1 test, w0 1 review, w1 3 review");
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "这次复习了2个单词，1个一次就答对了。\n明天还有1个单词要复习");
    EXPECT_EQ(host.modes, (std::vector<qint16>{1}));
}

TEST_F(ReviewTest, OtherOptionsComeFromTheUnitOrFromTheBookWhenTheUnitIsSmall) {
    CreateUnits({{{0, 0, "a0", "甲"}, {0, 0, "a1", "乙"}},
                 {{0, 0, "b0", "丙"}, {0, 0, "b1", "丁"}, {0, 0, "b2", "戊"}, {0, 0, "b3", "己"}}});
    Answered({}, {"a0", "b0"}, 1);
    Open();
    const QStringList small = OptionWords();
    EXPECT_EQ(small.size(), 4);
    EXPECT_EQ(small.filter(QRegularExpression("^b")).size(), 2) << small.join(' ').toStdString();
    Pick(true);
    EXPECT_EQ(OptionWords().filter(QRegularExpression("^b")).size(), 4) << OptionWords().join(' ').toStdString();
}

TEST_F(ReviewTest, LeavingMidSessionAsksAndKeepsTheGradedAnswers) {
    CreateUnits({NumberedWords(6)});
    Answered({}, {"w0", "w1", "w2"}, 1);
    Open();
    Pick(true);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(view->EndReview());
    EXPECT_EQ(messages.shown.back().text, "还没有复习完，你确定要结束复习吗?");
    EXPECT_TRUE(view->EndReview());
    EXPECT_TRUE(view->EndReview());
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(Stored("select count(*) from AnswerLog where Source = 'review'"), "1");
    EXPECT_EQ(review.ButtonCaption(), "错词本 2");
}

TEST_F(ReviewTest, ANewDayIsCountedWhileTheProgramIsOpen) {
    CreateUnits({NumberedWords(4)});
    Answered({"w2"}, {}, 1);
    view = std::make_unique<FormReview>(context, nullptr);
    EXPECT_FALSE(view->AnyWordDue());
    EXPECT_EQ(messages.shown.back().text, "今天没有要复习的单词，明天再来吧！");
    EXPECT_EQ(review.ButtonCaption(), "错词本");
    dates.AdvanceDays(1);
    EXPECT_EQ(review.ButtonCaption(), "错词本 1");
    Open();
    dates.AdvanceDays(1);
    Pick(false);
    EXPECT_EQ(Stored("select LastReview || ' ' || Due from ReviewState"), "2024-12-10 2024-12-11");
}

}  // namespace
