#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/FormMain.h"
#include "app/RunOrvanel.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"

// Start-up as the pupil sees it, each start a fresh process: from exec to the
// main window showing the first word (spelling, meaning, eight thumbnails)
// with its transition under way, against exec to a bare Qt window on screen.
// Run it on the display the program uses (xvfb-run -a here).
namespace {

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

void Ready() {
    std::printf("ready %ld\n", ResidentKb());
    std::fflush(stdout);
    std::_Exit(0);
}

int BareWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(900, 700);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.windowHandle() && window.windowHandle()->isExposed()) Ready();
    });
    poll.start(1);
    return app.exec();
}

// The program itself, watched from the moment its window is shown.
int ProgramWindow(int argc, char** argv, const QString& programDir) {
    return RunOrvanel(argc, argv, programDir, [](FormMain& window) {
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window] {
            const Orvanel* view = window.Orvanel1;
            int thumbs = 0;
            for (const QToolButton* thumb : view->ArrImages) thumbs += thumb->isVisible() && !thumb->icon().isNull();
            if (window.windowHandle()->isExposed() && window.State().EffectRunning && thumbs == 8 &&
                view->txtEnglish->isVisible() && !view->txtEnglish->text().isEmpty() && view->LabelChinese->isVisible())
                Ready();
        });
        poll->start(1);
    });
}

bool CopyTree(const QString& from, const QString& to) {
    // Folders too: an empty myvoice still has to be there, or the program
    // stops at start to say that it is missing.
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QString target = to + entry.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
            continue;
        }
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(entry, target)) return false;
    }
    return true;
}

QString Self;

struct Start {
    double ms = 0;
    double residentMb = 0;
};

// One fresh process from exec to its "ready" line; none if it never came.
std::optional<Start> StartOnce(const QStringList& arguments) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(Self, arguments);
    QByteArray line;
    while (!line.contains('\n') && child.waitForReadyRead(10000)) line += child.readAllStandardOutput();
    const double ms = clock.nsecsElapsed() / 1e6;
    child.waitForFinished(5000);
    if (!line.startsWith("ready")) return std::nullopt;
    return Start{ms, line.mid(6).trimmed().toDouble() / 1024.0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The bare window and the program start in turns, so that both meet the
// same machine: on a small virtual machine the speed drifts over seconds by
// as much as the difference being measured. Medians, since now and then a
// start waits far longer for the display. The iteration time is the
// program's; the counters give both medians and their ratio.
void BM_FirstWordShown(benchmark::State& bench) {
    QTemporaryDir dir;
    if (!CopyTree(QStringLiteral(ORVANEL_INSTALL_DIR), dir.path())) {
        bench.SkipWithError("no sample installation; build it first");
        return;
    }
    const QStringList program = {QStringLiteral("--program"), dir.path() + QStringLiteral("/Bin")};
    std::vector<double> bare, shown;
    double residentMb = 0, bareResidentMb = 0;
    for (auto _ : bench) {
        const std::optional<Start> bareStart = StartOnce({QStringLiteral("--bare")});
        const std::optional<Start> programStart = StartOnce(program);
        if (!bareStart || !programStart) {
            bench.SkipWithError("a window did not come up");
            return;
        }
        bare.push_back(bareStart->ms);
        shown.push_back(programStart->ms);
        bench.SetIterationTime(programStart->ms / 1000);
        residentMb = programStart->residentMb;
        bareResidentMb = bareStart->residentMb;
    }
    bench.counters["bare_median_ms"] = Median(bare);
    bench.counters["program_median_ms"] = Median(shown);
    bench.counters["ratio"] = Median(shown) / Median(bare);
    bench.counters["resident_MB"] = residentMb;
    bench.counters["bare_resident_MB"] = bareResidentMb;
}
BENCHMARK(BM_FirstWordShown)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && QByteArray(argv[1]) == "--bare") return BareWindow(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--program") return ProgramWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    Self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
