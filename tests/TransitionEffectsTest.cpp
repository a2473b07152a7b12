#include "core/LessonState.h"
#include "media/modTransEffects.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedTickSource.h"

const QRgb kOld = qRgb(0, 0, 255);
const QPoint kKept(-1, -1);

QImage Filled(int w, int h, QRgb colour = kOld) { QImage image(w, h, QImage::Format_RGB32); image.fill(colour); return image; }

// A picture whose every pixel is different, to see where a copy came from.
QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x, y, 128 + (x + y) % 100));
    return image;
}

// Remembers every frame put on screen and the tick it was shown at; a test may act on a frame.
class Surface : public EffectSurface {
public:
    Surface(QImage image, ScriptedTickSource& ticks) : image(std::move(image)), ticks(ticks) {}
    QImage& Image() override { return image; }
    void Refresh() override { frames.push_back(image.copy()); shownAt.push_back(ticks.tick); if (onFrame) onFrame(static_cast<int>(frames.size())); }
    QImage image;
    ScriptedTickSource& ticks;
    std::vector<QImage> frames;  // the last one is the final full copy
    std::vector<qint64> shownAt;
    std::function<void(int frame)> onFrame;
};

class TransitionEffectsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    LessonState state;
    ScriptedTickSource ticks;
    ScriptedRandom random;
    modTransEffects effects{state, ticks, random};
};

// Where frame f's pixel (x, y) comes from in the new picture, or kKept for the old one.
using From = std::function<QPoint(int f, int x, int y)>;
#define FX(call) [](modTransEffects& e, Surface& d, const QImage& s) { e.call; }
#define IN(inside) [](int f, int x, int y) { return (inside) ? QPoint(x, y) : kKept; }

// Every pixel of every frame, the frames' spacing in ticks, and the final copy.
TEST_F(TransitionEffectsTest, EachFrameShowsTheNewPictureExactlyWhereItHasArrived) {
    struct Row { const char* name; int w, h, interval, gap; std::function<void(modTransEffects&, Surface&, const QImage&)> run; size_t frames; From from; };
    const std::vector<Row> rows = {
        {"wipe down", 40, 30, 1, 1, FX(WipeEffect(d, s, 1, 5)), 6, IN(y < 5 * f)},
        {"wipe up at 20 ms, two ticks", 40, 30, 20, 2, FX(WipeEffect(d, s, 2, 5)), 6, IN(y >= 30 - 5 * f)},
        {"wipe right", 40, 30, 1, 1, FX(WipeEffect(d, s, 4, 5)), 8, IN(x < 5 * f)},
        {"wipe left", 40, 30, 1, 1, FX(WipeEffect(d, s, 8, 5)), 8, IN(x >= 40 - 5 * f)},
        {"blinds down at 50 ms, four ticks", 45, 50, 50, 4, FX(BlindsEffect(d, s, 1, 1, 20)), 20, IN(y % 20 < f)},
        {"blinds up", 45, 50, 1, 1, FX(BlindsEffect(d, s, 2, 1, 20)), 20, IN(y % 20 >= 20 - f)},
        {"blinds right", 45, 50, 1, 1, FX(BlindsEffect(d, s, 4, 2, 20)), 10, IN(x % 20 < 2 * f)},
        {"blinds left", 45, 50, 1, 1, FX(BlindsEffect(d, s, 8, 1, 20)), 20, IN(x % 20 >= 20 - f)},
        {"split open at 14.5 -> 14", 10, 29, 1, 1, FX(SplitOpenEffect(d, s, 1, 4)), 4, IN(y >= 14 - 4 * f && y < 14 + 4 * f)},
        {"split open at 15.5 -> 16", 10, 31, 1, 1, FX(SplitOpenEffect(d, s, 1, 4)), 4, IN(y >= 16 - 4 * f && y < 16 + 4 * f)},
        {"split open sideways", 21, 6, 1, 1, FX(SplitOpenEffect(d, s, 2, 4)), 3, IN(x >= 10 - 4 * f && x < 10 + 4 * f)},
        {"split close", 10, 31, 1, 1, FX(SplitCloseEffect(d, s, 1, 4)), 4, IN(y < 4 * f || y >= 31 - 4 * f)},
        {"split close sideways", 21, 6, 1, 1, FX(SplitCloseEffect(d, s, 2, 4)), 3, IN(x < 4 * f || x >= 21 - 4 * f)},
        {"interleaved rows", 20, 6, 1, 1, FX(InterleaveWipeEffect(d, s, 2, 5, 1, true)), 4, IN(y % 2 ? x >= 20 - 5 * f : x < 5 * f)},
        {"interleaved columns", 6, 20, 1, 1, FX(InterleaveWipeEffect(d, s, 1, 5, 1, false)), 4, IN(x % 2 ? y < 5 * f : y >= 20 - 5 * f)},
        {"rows slide in from both sides", 20, 6, 1, 1, FX(InterleaveSlideEffect(d, s, 2, 5, 1, true)), 4, [](int f, int x, int y) {
             return y % 2 ? (x >= 20 - 5 * f ? QPoint(x - 20 + 5 * f, y) : kKept) : (x < 5 * f ? QPoint(20 - 5 * f + x, y) : kKept);
         }},
        {"columns slide in from both ends", 6, 20, 1, 1, FX(InterleaveSlideEffect(d, s, 1, 5, 1, true)), 4, [](int f, int x, int y) {
             return x % 2 ? (y >= 20 - 5 * f ? QPoint(x, y - 20 + 5 * f) : kKept) : (y < 5 * f ? QPoint(x, 20 - 5 * f + y) : kKept);
         }},
        // Int(Rnd * 2N) = 7 of 8 gives position 4, 0 gives 0: the list 0..4 shuffles to 2 3 1 4 0;
        // column 0, displaced to the end, comes with the final copy.
        {"random columns, scripted", 4, 2, 1, 1, FX(RandomLinesEffect(d, s, 1, 0)), 4, IN(x > 1 ? f >= x - 2 : x == 1 && f >= 2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        random.draws = {7, 0, 0, 0};
        const QImage source = Pattern(row.w, row.h);
        Surface dest(Filled(row.w, row.h), ticks);
        effects.EffectInterval = row.interval;
        row.run(effects, dest, source);
        ASSERT_EQ(dest.frames.size(), row.frames + 1);
        for (size_t f = 0; f < row.frames; ++f) {
            if (f > 0) EXPECT_EQ(dest.shownAt[f] - dest.shownAt[f - 1], row.gap) << "frame " << f;
            for (int y = 0; y < row.h; ++y)
                for (int x = 0; x < row.w; ++x) {
                    const QPoint from = row.from(static_cast<int>(f), x, y);
                    ASSERT_EQ(dest.frames[f].pixel(x, y), from == kKept ? kOld : source.pixel(from)) << f << ": " << x << "," << y;
                }
        }
        EXPECT_EQ(dest.image, source);
        EXPECT_FALSE(state.EffectRunning);
    }
    EXPECT_EQ(random.asked, std::deque<int>(12, 8)) << "three passes over positions 1 to 4";
}

// The circle grows by five a frame to radius 125; the other shapes reveal their first lines first and never show anything but the two pictures.
TEST_F(TransitionEffectsTest, MaskShapesRevealTheirLinesAndStayOpaque) {
    const QImage big = Pattern(200, 150);
    Surface circle(Filled(200, 150), ticks);
    effects.MaskShapeEffect(circle, big, 2, 5);
    ASSERT_EQ(circle.frames.size(), 26u) << "125 / 5 and the final copy";
    for (int f : {1, 6, 12}) {
        const int radius = 5 * f - 2;
        EXPECT_EQ(circle.frames[f - 1].pixel(100 + radius - 3, 75), big.pixel(100 + radius - 3, 75)) << f;
        EXPECT_EQ(circle.frames[f - 1].pixel(100 + radius + 3, 75), kOld) << f;
        EXPECT_EQ(circle.frames[f - 1].pixel(100, 75 - radius + 3), big.pixel(100, 75 - radius + 3)) << f;
    }
    EXPECT_EQ(circle.frames[24].pixel(0, 0), kOld) << "the corner lies on radius 125, left to the final copy";
    EXPECT_EQ(circle.image, big);
    const QImage source = Pattern(64, 48);
    struct Case { int mode, lines; QPoint early, late; /* revealed after the first frame, still hidden then */ } cases[] = {{1, 30, {20, 2}, {60, 46}}, {3, 25, {2, 40}, {62, 2}}, {4, 10, {5, 0}, {40, 30}}, {5, 10, {60, 1}, {2, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Surface dest(Filled(64, 48), ticks);
        effects.MaskShapeEffect(dest, source, c.mode, c.lines);
        ASSERT_GE(dest.frames.size(), 3u);
        EXPECT_EQ(std::pair(dest.frames[0].pixel(c.early), dest.frames[0].pixel(c.late)), std::pair(source.pixel(c.early), kOld));
        for (const QImage& frame : dest.frames)
            for (int y = 0; y < 48; y += 7)
                for (int x = 0; x < 64; x += 5)
                    ASSERT_TRUE(frame.pixel(x, y) == kOld || frame.pixel(x, y) == source.pixel(x, y) || frame.pixel(x, y) == 0xff000000u) << x << "," << y;
        EXPECT_EQ(dest.image, source);
    }
}

// Clearing the flag stops before the next frame, without the final copy; an effect asked for while one runs does nothing; the next one starts.
TEST_F(TransitionEffectsTest, AbortingAndOverlappingEffects) {
    const QImage source = Filled(10, 30, qRgb(255, 0, 0));
    Surface dest(Filled(10, 30), ticks), other(Filled(10, 30), ticks);
    dest.onFrame = [&](int frame) { if (frame == 2) effects.MaskShapeEffect(other, source, 2, 5); if (frame == 3) state.EffectRunning = false; };
    effects.WipeEffect(dest, source, 1, 5);
    ASSERT_EQ(dest.frames.size(), 3u);
    for (int y = 0; y < 30; ++y) ASSERT_EQ(dest.image.pixel(0, y), y < 10 ? source.pixel(0, y) : kOld) << y;
    EXPECT_TRUE(other.frames.empty());
    EXPECT_EQ(other.image, Filled(10, 30));
    dest.onFrame = nullptr;
    effects.BlindsEffect(dest, source, 1, 1, 20);
    EXPECT_EQ(dest.image, source);
    EXPECT_FALSE(state.EffectRunning);
}

// The last frame's tick carries over: the next effect's first frame waits for the interval.
TEST_F(TransitionEffectsTest, FramesWaitForTheIntervalAndTheLastTickCarriesOver) {
    Surface dest(Filled(10, 10), ticks), next(Filled(10, 10), ticks);
    effects.WipeEffect(dest, Filled(10, 10, 0), 4, 5);
    const quint32 last = effects.EffectLastTick;
    EXPECT_EQ(last, ticks.GetTickCount() - 15) << "stored when the last frame was drawn";
    effects.EffectInterval = 50;
    effects.WipeEffect(next, Filled(10, 10, 0), 4, 5);
    EXPECT_GE(static_cast<quint32>(next.shownAt[0] * 1000 / 64), last + 50);
    EXPECT_LT(static_cast<quint32>(next.shownAt[0] * 1000 / 64), last + 50 + 16);
}
