#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>

#include "core/LessonContext.h"
#include "core/LessonState.h"
#include "core/MainHost.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/ReviewRecords.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "quiz/FormReview.h"
#include "quiz/ReviewBook.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedDate.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

namespace {

class NoHost : public MainHost {
public:
    void ShowUserControl(qint16) override {}
    void mnuLEARN_Orvanel_Click() override {}
    void ShowPPKHelp() override {}
};

// A scrambled textbook of `words` words in units of 20, a review state for
// each word (a few hundred of them due on the scripted day) and `answers`
// rows of the answer log; each word has a scrambled picture when asked.
struct ReviewLesson {
    ReviewLesson(int words, int answers, bool pictures)
        : store(install.BinDir()),
          db(state, messages),
          catalogue(state, db, messages),
          records(state, db, messages, random),
          sound(store, output, messages),
          recording(recorder, messages),
          reviewRecords(state, db),
          review(reviewRecords, dates),
          context{state, db, catalogue, records, store, sound, recording, messages, random, host, review, dates} {
        std::vector<TempInstall::Word> rows;
        const int units = (words + 19) / 20;
        std::vector<QString> unitNames;
        for (int u = 0; u < units; ++u) unitNames.push_back(QString("Unit %1").arg(u + 1));
        for (int i = 0; i < words; ++i) rows.push_back({0, i / 20, QString("w%1").arg(i), "词"});
        install.CreateDatabase({unitNames}, rows);
        for (const QString& sql : ReviewRecords::CreateTablesSql()) install.Exec(sql);
        install.Exec(QString("with recursive n(i) as (select 0 union all select i + 1 from n where i < %1)"
                             " insert into ReviewState select 'w' || i, 1 + (i % 97), 1 + (i % 9), '2024-11-20',"
                             " date('2024-12-07', '+' || (i % 40) || ' days', '-20 days'), 3, i % 3 from n")
                         .arg(words - 1));
        install.Exec(QString("with recursive n(i) as (select 0 union all select i + 1 from n where i < %1)"
                             " insert into AnswerLog select 'w' || (i % %2), '2024-11-20T10:00:00', 1 + 2 * (i % 2),"
                             " 'test' from n")
                         .arg(answers - 1)
                         .arg(words));
        ModuleCrpt::ScrambleHeader(install.DbPath());
        if (pictures)
            for (int i = 0; i < words; ++i) {
                const QString pic = QString("Common/pics/w%1.pet").arg(i);
                install.WriteFile(pic, TempInstall::MakeJpeg(300, 210));
                ModuleCrpt::ScrambleHeader(install.Root() + "/" + pic);
            }
        db.BuildConnString(install.AppPicsDir());
        db.LoadSettings();
    }

    TempInstall install;
    LessonState state;
    ScriptedMessageService messages;
    ScriptedRandom random;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    NoHost host;
    ScriptedDate dates;
    MediaStore store;
    LessonDatabase db;
    Catalogue catalogue;
    WordRecords records;
    ModulePlaySound sound;
    modRecordWav recording;
    ReviewRecords reviewRecords;
    ReviewBook review;
    LessonContext context;
};

void BM_FindTodaysWords(benchmark::State& bench) {
    ReviewLesson lesson(static_cast<int>(bench.range(0)), 1, false);
    if (lesson.review.DueCount() == 0) bench.SkipWithError("no word is due");
    for (auto _ : bench) benchmark::DoNotOptimize(lesson.review.DueWords(ReviewBook::kSessionWords));
}
BENCHMARK(BM_FindTodaysWords)->Arg(10000)->Unit(benchmark::kMillisecond);

// From nothing loaded: the states and the textbook read, the view made and
// the first question shown with its pictures.
void BM_OpenReviewView(benchmark::State& bench) {
    ReviewLesson lesson(2000, 100000, true);
    for (auto _ : bench) {
        ReviewRecords records(lesson.state, lesson.db);
        ReviewBook review(records, lesson.dates);
        LessonContext fresh{lesson.state,  lesson.db,    lesson.catalogue, lesson.records,
                            lesson.store,  lesson.sound, lesson.recording, lesson.messages,
                            lesson.random, lesson.host,  review,           lesson.dates};
        FormReview view(fresh, nullptr);
        view.StartReview();
        benchmark::DoNotOptimize(view.lblProgress->text());
    }
}
BENCHMARK(BM_OpenReviewView)->Unit(benchmark::kMillisecond);

// The state moved on and the log row written in one transaction, the file
// scrambled again.
void BM_GradeOneAnswer(benchmark::State& bench) {
    ReviewLesson lesson(2000, 100000, false);
    int i = 0;
    for (auto _ : bench) {
        ++i;
        lesson.review.BeginRun(AnswerSource::Review);
        if (!lesson.review.Grade(AnswerSource::Review, QString("w%1").arg(i % 2000), i % 3 != 0))
            bench.SkipWithError("the answer was not written");
    }
}
BENCHMARK(BM_GradeOneAnswer)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
