#include <benchmark/benchmark.h>

#include "core/LessonState.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"
#include "media/ModuleCrpt.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/TempInstall.h"

namespace {

// A scrambled database with one unit of `count` words among other units.
struct Lesson {
    explicit Lesson(int count) : db(state, messages), words(state, db, messages, random) {
        std::vector<TempInstall::Word> rows;
        for (int unit = 0; unit < 3; ++unit)
            for (int i = 0; i < count; ++i)
                rows.push_back({0, unit, QString("word%1x%2").arg(unit).arg(i), "词", 0, "3|1|2"});
        install.CreateDatabase({{"Unit 1", "Unit 2", "Unit 3"}}, rows);
        ModuleCrpt::ScrambleHeader(install.DbPath());
        db.BuildConnString(install.AppPicsDir());
        db.LoadSettings();
    }

    TempInstall install;
    LessonState state;
    ScriptedMessageService messages;
    ScriptedRandom random;
    LessonDatabase db;
    WordRecords words;
};

void BM_SaveAllResults(benchmark::State& bench) {
    Lesson lesson(static_cast<int>(bench.range(0)));
    lesson.words.LoadUnitWords(0, 1);
    for (auto _ : bench) {
        for (CWordType& w : lesson.state.Words) w.CountAnswer(true);
        lesson.words.SaveAllResults();
    }
}
BENCHMARK(BM_SaveAllResults)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_LoadUnitWords(benchmark::State& bench) {
    Lesson lesson(static_cast<int>(bench.range(0)));
    for (auto _ : bench) benchmark::DoNotOptimize(lesson.words.LoadUnitWords(0, 1));
}
BENCHMARK(BM_LoadUnitWords)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ScrambleHeader(benchmark::State& bench) {
    TempInstall install;
    install.WriteFile("big.pet", QByteArray(200 * 1024, 'p'));
    const QString path = install.Root() + "/big.pet";
    for (auto _ : bench) benchmark::DoNotOptimize(ModuleCrpt::ScrambleHeader(path));
}
BENCHMARK(BM_ScrambleHeader)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
