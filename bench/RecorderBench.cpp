#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "media/PulseRecorder.h"
#include "media/modRecordWav.h"
#include "tests/support/ScriptedMessageService.h"

// From the pupil's click to a capturing stream: finding the input and
// opening the stream. Needs a sound server with a default source.
static void BM_StartRecord(benchmark::State& state) {
    QTemporaryDir dir;
    PulseRecorder recorder;
    ScriptedMessageService messages;
    modRecordWav rec(recorder, messages);
    for (auto _ : state) {
        rec.StartRecord("2", "16", "44100");
        state.PauseTiming();
        if (!rec.Recording()) {
            state.SkipWithError("no sound input");
            break;
        }
        rec.StopRecord(dir.path() + "/bench.wav");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartRecord)->Unit(benchmark::kMillisecond)->Iterations(20);

BENCHMARK_MAIN();
