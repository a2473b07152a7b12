#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <array>

#include "core/DateSource.h"
#include "core/LessonContext.h"
#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/RandomSource.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/ReviewRecords.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "core/TickSource.h"
#include "media/modRecordWav.h"
#include "media/modTransEffects.h"
#include "quiz/ReviewBook.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRecorder.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/OrvanelRules.h"

namespace {

// Time that never waits: each pause is one tick, so only drawing is timed.
class InstantTicks : public TickSource {
public:
    quint32 GetTickCount() override { return static_cast<quint32>(tick * 1000 / kTicksPerSecond); }
    void DoEvents() override { ++tick; }
    qint64 tick = 0;
};

class CountingSurface : public EffectSurface {
public:
    explicit CountingSurface(QImage image) : image(std::move(image)) {}
    QImage& Image() override { return image; }
    void Refresh() override { ++frames; }
    QImage image;
    qint64 frames = 0;
};

QImage Picture(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb((x + seed) % 256, (y * 3) % 256, (x ^ y) % 256));
    return image;
}

// One row of the view's effect table, run whole on a 640 x 480 picture; the
// time is given per frame shown (the preparation and the final copy are
// counted in, so the figure errs high).
void BM_EffectFrame(benchmark::State& bench) {
    const int row = static_cast<int>(bench.range(0));
    LessonState state;
    InstantTicks ticks;
    RandomSource random;
    modTransEffects effects(state, ticks, random);
    const QImage source = Picture(640, 480, 7);
    const QImage old = Picture(640, 480, 99);
    CountingSurface dest(old);
    static const char* names[] = {"Wipe",  "SplitClose", "SplitOpen", "RandomLines", "InterleaveWipe", "InterleaveSlide",
                                  "Blinds", "Mask1",     "Mask2",      "Mask3",       "Mask4",          "Mask5"};
    bench.SetLabel(names[row]);
    qint64 frames = 0;
    for (auto _ : bench) {
        dest.image = old.copy();
        dest.frames = 0;
        effects.EffectInterval = 1;
        switch (row) {
        case 0: effects.WipeEffect(dest, source, 1, 5); break;
        case 1: effects.SplitCloseEffect(dest, source, 1, 4); break;
        case 2: effects.SplitOpenEffect(dest, source, 2, 4); break;
        case 3: effects.RandomLinesEffect(dest, source, 1, 2); break;
        case 4: effects.InterleaveWipeEffect(dest, source, 2, 5, 1, true); break;
        case 5: effects.InterleaveSlideEffect(dest, source, 1, 5, 1, true); break;
        case 6: effects.BlindsEffect(dest, source, 4, 1, 20); break;
        default: effects.MaskShapeEffect(dest, source, row - 6, std::array{30, 5, 25, 10, 10}[row - 7]); break;
        }
        frames += dest.frames - 1;
    }
    bench.counters["frame"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    bench.counters["frames"] = static_cast<double>(frames) / static_cast<double>(bench.iterations());
}
BENCHMARK(BM_EffectFrame)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

class NoHost : public MainHost {
public:
    void ShowUserControl(qint16) override {}
    void mnuLEARN_Orvanel_Click() override {}
    void ShowPPKHelp() override {}
};

bool CopyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target)) return false;
    }
    return true;
}

// Everything a move does apart from its transition and its pronunciation,
// on a copy of the sample installation: counter, texts, eight thumbnails and
// the two pictures, each unscrambled, loaded and scrambled again.
void BM_LoadWordPic(benchmark::State& bench) {
    QTemporaryDir dir;
    if (!CopyTree(QStringLiteral(ORVANEL_INSTALL_DIR), dir.path())) {
        bench.SkipWithError("no sample installation; build it first");
        return;
    }
    LessonState state;
    ScriptedMessageService messages;
    RandomSource random;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    NoHost host;
    InstantTicks ticks;
    MediaStore store(dir.path() + QStringLiteral("/Bin"));
    LessonDatabase db(state, messages);
    Catalogue catalogue(state, db, messages);
    WordRecords words(state, db, messages, random);
    ModulePlaySound sound(store, output, messages);
    modRecordWav rec(recorder, messages);
    DateSource dates;
    ReviewRecords reviewRecords(state, db);
    ReviewBook review(reviewRecords, dates);
    LessonContext context{state, db, catalogue, words, store, sound, rec, messages, random, host, review, dates};
    db.BuildConnString(store.AppPicsDir());
    db.LoadSettings();
    catalogue.LoadUnits(0);
    words.LoadUnitWords(0, 1);
    Orvanel view(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr);
    view.resize(900, 560);
    view.InitUserControl();
    view.show();
    view.imgAudio->click();  // sound off
    for (auto _ : bench) {
        state.CurWordIndex = static_cast<qint16>((state.CurWordIndex + 1) % state.WordCount);
        state.EffectRunning = true;  // an effect "runs": the move starts none
        view.LoadWordPic();
        state.EffectRunning = false;
    }
    bench.counters["words"] = state.WordCount;
}
BENCHMARK(BM_LoadWordPic)->Unit(benchmark::kMillisecond);

// One use of one picture of the sample: unscramble, decode, scramble again.
void BM_OnePicture(benchmark::State& bench) {
    QTemporaryDir dir;
    if (!CopyTree(QStringLiteral(ORVANEL_INSTALL_DIR), dir.path())) {
        bench.SkipWithError("no sample installation; build it first");
        return;
    }
    MediaStore store(dir.path() + QStringLiteral("/Bin"));
    for (auto _ : bench) benchmark::DoNotOptimize(store.LoadWordPicture(QStringLiteral("red")));
}
BENCHMARK(BM_OnePicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
