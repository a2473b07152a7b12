#include <benchmark/benchmark.h>

#include <QDir>

#include "app/PupilFolder.h"
#include "tests/support/TempFolder.h"

namespace {

const QString kContent = QStringLiteral(ORVANEL_INSTALL_DIR);

qint64 FolderBytes(const QString& path) {
    qint64 bytes = 0;
    for (const QFileInfo& entry : QDir(path).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        bytes += entry.isDir() ? FolderBytes(entry.filePath()) : entry.size();
    return bytes;
}

bool HaveContent(benchmark::State& state) {
    if (QDir(kContent + QStringLiteral("/Common")).exists()) return true;
    state.SkipWithError("no built content");
    return false;
}

}  // namespace

// An installed program's first start for a new account: the pupil's folder
// is made from the installed content.
static void BM_FirstStartMakesThePupilsFolder(benchmark::State& state) {
    if (!HaveContent(state)) return;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TempFolder home;
        PupilFolder folder(kContent, home.Path(QStringLiteral("orvanel")));
        folder.MakeLockFolder();
        state.ResumeTiming();
        if (folder.Prepare() != PupilFolder::Outcome::Made) state.SkipWithError("the folder was not made");
        state.PauseTiming();
        bytes = FolderBytes(folder.Path());
        state.ResumeTiming();
    }
    state.SetLabel(QStringLiteral("%1 MB").arg(bytes / 1e6, 0, 'f', 1).toStdString());
}
BENCHMARK(BM_FirstStartMakesThePupilsFolder)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every later start: the folder is found up to date.
static void BM_LaterStartFindsTheFolderUpToDate(benchmark::State& state) {
    if (!HaveContent(state)) return;
    TempFolder home;
    PupilFolder folder(kContent, home.Path(QStringLiteral("orvanel")));
    folder.MakeLockFolder();
    folder.Prepare();
    for (auto _ : state)
        if (folder.Prepare() != PupilFolder::Outcome::UpToDate) state.SkipWithError("the folder was not up to date");
}
BENCHMARK(BM_LaterStartFindsTheFolderUpToDate)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
