#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "media/MediaStore.h"
#include "tests/support/TempInstall.h"

// One use of a word's picture as the views make it: look at the first bytes,
// unscramble and rename, load the JPEG, scramble and rename back. The
// picture is the largest of the sample installation.
static void BM_LoadWordPicture(benchmark::State& state) {
    const QFileInfoList samples = QDir(QStringLiteral(ORVANEL_INSTALL_DIR "/Common/pics"))
                                      .entryInfoList({QStringLiteral("*.pet")}, QDir::Files, QDir::Size);
    if (samples.isEmpty()) {
        state.SkipWithError("no sample installation");
        return;
    }
    TempInstall install;
    QFile::copy(samples.first().filePath(), install.DataDir() + QStringLiteral("/pics/sample.pet"));
    MediaStore store(install.BinDir());
    for (auto _ : state) benchmark::DoNotOptimize(store.LoadWordPicture(QStringLiteral("sample")));
    state.SetLabel(QStringLiteral("%1, %2 bytes").arg(samples.first().fileName()).arg(samples.first().size()).toStdString());
}
BENCHMARK(BM_LoadWordPicture)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
