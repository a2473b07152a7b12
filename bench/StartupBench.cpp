#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "app/FormMain.h"
#include "app/QtMessageService.h"
#include "app/RandomSource.h"
#include "app/StartupWarmup.h"
#include "app/WindowSystem.h"
#include "media/PulseRecorder.h"
#include "media/PulseSoundOutput.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"

// Start-up as the pupil sees it, each start a fresh process: from exec to a
// bare Qt window on screen, and from exec to the main window showing the
// first word (spelling, meaning, eight thumbnails) with its transition under
// way. Run it on the display the program uses (xvfb-run -a here).
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

int ProgramWindow(int argc, char** argv, const QString& programDir) {
    StartupWarmup warmup;
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    QtMessageService messages;
    PulseSoundOutput output;
    PulseRecorder recorder;
    RandomSource random;
    FormMain window(programDir, messages, output, recorder, random, warmup);
    if (!window.Start()) return 1;
    window.show();
    SendToWindowSystem();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const Orvanel* view = window.Orvanel1;
        int thumbs = 0;
        for (const QToolButton* thumb : view->ArrImages) thumbs += thumb->isVisible() && !thumb->icon().isNull();
        if (window.windowHandle()->isExposed() && window.State().EffectRunning && thumbs == 8 &&
            view->txtEnglish->isVisible() && !view->txtEnglish->text().isEmpty() && view->LabelChinese->isVisible())
            Ready();
    });
    poll.start(1);
    return app.exec();
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

void Measure(benchmark::State& bench, const QStringList& arguments) {
    double residentMb = 0;
    for (auto _ : bench) {
        QProcess child;
        QElapsedTimer clock;
        clock.start();
        child.start(Self, arguments);
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(10000)) line += child.readAllStandardOutput();
        const double seconds = clock.nsecsElapsed() / 1e9;
        child.waitForFinished(5000);
        if (!line.startsWith("ready")) {
            bench.SkipWithError("the window did not come up");
            return;
        }
        bench.SetIterationTime(seconds);
        residentMb = line.mid(6).trimmed().toDouble() / 1024.0;
    }
    bench.counters["resident_MB"] = residentMb;
}

void BM_BareQtWindow(benchmark::State& bench) {
    Measure(bench, {QStringLiteral("--bare")});
}
BENCHMARK(BM_BareQtWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_FirstWordShown(benchmark::State& bench) {
    QTemporaryDir dir;
    if (!CopyTree(QStringLiteral(ORVANEL_INSTALL_DIR), dir.path())) {
        bench.SkipWithError("no sample installation; build it first");
        return;
    }
    Measure(bench, {QStringLiteral("--program"), dir.path() + QStringLiteral("/Bin")});
}
BENCHMARK(BM_FirstWordShown)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

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
