#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <set>

#include "core/LessonState.h"
#include "core/RandomSource.h"
#include "media/modTransEffects.h"
#include "tests/support/QtApp.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedTickSource.h"

namespace {

const QRgb kOld = qRgb(0, 0, 255);
const QRgb kNew = qRgb(255, 0, 0);

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture whose every pixel is different, to see where a copy came from.
QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 128 + (x + y) % 100));
    return image;
}

// The destination: remembers every frame put on screen and the tick it
// was shown at; a test may act when a frame is shown.
class Surface : public EffectSurface {
public:
    Surface(QImage image, ScriptedTickSource& ticks) : image(std::move(image)), ticks(ticks) {}
    QImage& Image() override { return image; }
    void Refresh() override {
        frames.push_back(image.copy());
        shownAt.push_back(ticks.tick);
        if (onFrame) onFrame(static_cast<int>(frames.size()));
    }

    QImage image;
    ScriptedTickSource& ticks;
    std::vector<QImage> frames;
    std::vector<qint64> shownAt;
    std::function<void(int frame)> onFrame;
};

class TransitionEffectsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    // The frames drawn before the final full copy.
    static std::vector<QImage> Drawn(const Surface& s) { return {s.frames.begin(), s.frames.end() - 1}; }

    // Every pixel is new exactly inside rect (a union of rects via inside).
    static void ExpectRevealed(const QImage& frame, const std::function<bool(int x, int y)>& inside,
                               const std::string& what) {
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                ASSERT_EQ(frame.pixel(x, y), inside(x, y) ? kNew : kOld) << what << " at " << x << "," << y;
    }

    LessonState state;
    ScriptedTickSource ticks;
    ScriptedRandom random;
    modTransEffects effects{state, ticks, random};
};

TEST_F(TransitionEffectsTest, WipeFramesRevealTheirRectangles) {
    const int W = 40, H = 30;
    for (int direction : {1, 2, 4, 8}) {
        Surface dest(Filled(W, H, kOld), ticks);
        effects.WipeEffect(dest, Filled(W, H, kNew), direction, 5);
        const std::vector<QImage> drawn = Drawn(dest);
        ASSERT_EQ(drawn.size(), static_cast<size_t>(direction <= 2 ? H / 5 : W / 5)) << direction;
        for (size_t f = 0; f < drawn.size(); ++f) {
            const int pos = static_cast<int>(f) * 5;
            ExpectRevealed(drawn[f], [&](int x, int y) {
                switch (direction) {
                case 1: return y < pos;
                case 2: return y >= H - pos;
                case 4: return x < pos;
                default: return x >= W - pos;
                }
            }, "direction " + std::to_string(direction) + " frame " + std::to_string(f));
        }
        EXPECT_EQ(dest.image, Filled(W, H, kNew));
        EXPECT_FALSE(state.EffectRunning);
    }
}

TEST_F(TransitionEffectsTest, WipeOfA300PixelPictureTakes60Ticks) {
    Surface dest(Filled(8, 300, kOld), ticks);
    effects.EffectInterval = 1;
    effects.WipeEffect(dest, Filled(8, 300, kNew), 1, 5);
    ASSERT_EQ(dest.frames.size(), 61u);  // 60 frames and the final copy
    for (size_t f = 1; f < 60; ++f) EXPECT_EQ(dest.shownAt[f] - dest.shownAt[f - 1], 1) << f;
    EXPECT_EQ(dest.shownAt[59] - dest.shownAt[0], 59);
}

TEST_F(TransitionEffectsTest, BlindsAt50MsDrawTwentyFramesAboutASecondApart) {
    for (int direction : {1, 2, 4, 8}) {
        Surface dest(Filled(45, 50, kOld), ticks);
        effects.EffectInterval = 50;
        effects.BlindsEffect(dest, Filled(45, 50, kNew), direction, 1, 20);
        const std::vector<QImage> drawn = Drawn(dest);
        ASSERT_EQ(drawn.size(), 20u);
        for (size_t f = 1; f < dest.shownAt.size() - 1; ++f)
            EXPECT_EQ(dest.shownAt[f] - dest.shownAt[f - 1], 4) << "50 ms is four ticks of 15.6 ms";
        const int pos = 7;
        ExpectRevealed(drawn[pos], [&](int x, int y) {
            const int v = direction <= 2 ? y : x;
            const int offset = v % 20;
            return direction == 1 || direction == 4 ? offset < pos : offset >= 20 - pos;
        }, "blinds " + std::to_string(direction));
        EXPECT_EQ(dest.image, Filled(45, 50, kNew));
    }
}

TEST_F(TransitionEffectsTest, SplitsMeetAtTheRoundedMiddle) {
    EXPECT_EQ(modTransEffects::RoundEven(15.5), 16);
    EXPECT_EQ(modTransEffects::RoundEven(14.5), 14);
    for (int H : {29, 31}) {
        const int W = 10, M = modTransEffects::RoundEven(H / 2.0);
        Surface open(Filled(W, H, kOld), ticks);
        effects.SplitOpenEffect(open, Filled(W, H, kNew), 1, 4);
        std::vector<QImage> drawn = Drawn(open);
        ASSERT_EQ(drawn.size(), static_cast<size_t>((M + 3) / 4));
        for (size_t f = 0; f < drawn.size(); ++f) {
            const int pos = static_cast<int>(f) * 4;
            ExpectRevealed(drawn[f], [&](int, int y) { return y >= M - pos && y < M + pos; }, "open");
        }
        Surface close(Filled(W, H, kOld), ticks);
        effects.SplitCloseEffect(close, Filled(W, H, kNew), 1, 4);
        drawn = Drawn(close);
        const int pos = static_cast<int>(drawn.size() - 1) * 4;
        ExpectRevealed(drawn.back(), [&](int, int y) { return y < pos || y >= H - pos; }, "close");
        EXPECT_EQ(close.image, Filled(W, H, kNew)) << "the final copy hides the seam";
    }
    Surface sideways(Filled(21, 6, kOld), ticks);
    effects.SplitCloseEffect(sideways, Filled(21, 6, kNew), 2, 4);
    ExpectRevealed(Drawn(sideways)[2], [](int x, int) { return x < 8 || x >= 13; }, "close sideways");
}

TEST_F(TransitionEffectsTest, InterleavedLinesComeFromOppositeSides) {
    const int W = 20, H = 6;
    const QImage source = Pattern(W, H);
    Surface wipe(Filled(W, H, kOld), ticks);
    effects.InterleaveWipeEffect(wipe, source, 2, 5, 1, true);
    std::vector<QImage> drawn = Drawn(wipe);
    ASSERT_EQ(drawn.size(), 4u);
    const QImage& frame = drawn[2];  // pos 10
    for (int x = 0; x < W; ++x) {
        EXPECT_EQ(frame.pixel(x, 0), x < 10 ? source.pixel(x, 0) : kOld) << x;
        EXPECT_EQ(frame.pixel(x, 1), x >= W - 10 ? source.pixel(x, 1) : kOld) << x;
    }

    Surface slide(Filled(W, H, kOld), ticks);
    effects.InterleaveSlideEffect(slide, source, 2, 5, 1, true);
    drawn = Drawn(slide);
    const QImage& slid = drawn[1];  // pos 5
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(slid.pixel(x, 0), source.pixel(W - 5 + x, 0)) << "slides in from the left";
        EXPECT_EQ(slid.pixel(W - 5 + x, 1), source.pixel(x, 1)) << "slides in from the right";
    }
    EXPECT_EQ(slid.pixel(5, 0), kOld);
    EXPECT_EQ(slide.image, source);

    Surface columns(Filled(6, 20, kOld), ticks);
    const QImage tall = Pattern(6, 20);
    effects.InterleaveSlideEffect(columns, tall, 1, 5, 1, true);
    const QImage& down = Drawn(columns)[1];
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(down.pixel(0, y), tall.pixel(0, 20 - 5 + y)) << "slides down from the top";
        EXPECT_EQ(down.pixel(1, 20 - 5 + y), tall.pixel(1, y)) << "slides up from the bottom";
    }
}

TEST_F(TransitionEffectsTest, RandomLinesCopyEachLineOnceAndEndEqualToTheSource) {
    RandomSource clock;
    modTransEffects shuffled(state, ticks, clock);
    for (int direction : {1, 2}) {
        const int W = 37, H = 23, N = direction == 1 ? W : H;
        const QImage source = Pattern(W, H);
        Surface dest(Filled(W, H, kOld), ticks);
        shuffled.RandomLinesEffect(dest, source, direction, 2);
        const std::vector<QImage> drawn = Drawn(dest);
        ASSERT_EQ(drawn.size(), static_cast<size_t>((N + 2) / 3));
        auto revealedLines = [&](const QImage& frame) {
            int count = 0;
            for (int v = 0; v < N; ++v) {
                const QPoint p = direction == 1 ? QPoint(v, 0) : QPoint(0, v);
                count += frame.pixel(p) == source.pixel(p);
            }
            return count;
        };
        int before = 0, shortFrames = 0;
        for (size_t f = 0; f < drawn.size(); ++f) {
            const int now = revealedLines(drawn[f]);
            EXPECT_LE(now - before, 3);
            if (f + 1 < drawn.size() && now - before < 3) ++shortFrames;
            before = now;
        }
        EXPECT_LE(shortFrames, 1) << "three new lines a frame, but for the one outside the picture";
        EXPECT_GE(before, N - 1) << "N entries copied, one of them may be N itself";
        EXPECT_EQ(dest.image, source);
    }
}

TEST_F(TransitionEffectsTest, RandomLinesShuffleDrawsRoundedPositions) {
    // j = Rnd * N rounded: Int(Rnd * 2N) = 7 of 8 gives 4, 0 gives 0. The
    // list 0..4 shuffled by these draws (then zeros) reads 2 3 1 4 0.
    Surface dest(Filled(4, 2, kOld), ticks);
    random.draws = {7, 0, 0, 0};
    effects.RandomLinesEffect(dest, Filled(4, 2, kNew), 1, 0);
    ASSERT_EQ(random.asked.size(), 12u) << "three passes over positions 1 to 4";
    EXPECT_EQ(random.asked.front(), 8);
    const std::vector<QImage> drawn = Drawn(dest);
    ASSERT_EQ(drawn.size(), 4u);
    const std::vector<std::set<int>> expected = {{2}, {2, 3}, {1, 2, 3}, {1, 2, 3}};
    for (size_t f = 0; f < drawn.size(); ++f)
        ExpectRevealed(drawn[f], [&](int x, int) { return expected[f].count(x) > 0; },
                       "frame " + std::to_string(f));
    EXPECT_EQ(dest.image, Filled(4, 2, kNew)) << "column 0, displaced by 4, comes with the final copy";
}

TEST_F(TransitionEffectsTest, CircleMaskGrowsByFivePerFrameAndEndsAtRadius125) {
    const int W = 200, H = 150;
    Surface dest(Filled(W, H, kOld), ticks);
    effects.MaskShapeEffect(dest, Filled(W, H, kNew), 2, 5);
    const std::vector<QImage> drawn = Drawn(dest);
    ASSERT_EQ(drawn.size(), 25u) << "125 / 5";
    for (int f : {1, 6, 12}) {
        const QImage& frame = drawn[f - 1];
        const int radius = 5 * f - 2;
        EXPECT_EQ(frame.pixel(100 + radius - 3, 75), kNew) << f;
        EXPECT_EQ(frame.pixel(100 + radius + 3, 75), kOld) << f;
        EXPECT_EQ(frame.pixel(100, 75 - radius + 3), kNew) << f;
    }
    EXPECT_EQ(drawn.back().pixel(0, 0), kOld) << "the corner lies on radius 125, left to the final copy";
    EXPECT_EQ(dest.image, Filled(W, H, kNew));
}

TEST_F(TransitionEffectsTest, MaskShapesRevealAndStayOpaque) {
    const int W = 64, H = 48;
    const QImage source = Pattern(W, H);
    struct Case {
        int mode, lines;
        QPoint early, late;  // revealed after the first frame, still hidden then
    } cases[] = {{1, 30, QPoint(20, 2), QPoint(60, 46)},
                 {3, 25, QPoint(2, 40), QPoint(62, 2)},
                 {4, 10, QPoint(5, 1), QPoint(40, 30)},
                 {5, 10, QPoint(60, 1), QPoint(2, 2)}};
    for (const Case& c : cases) {
        Surface dest(Filled(W, H, kOld), ticks);
        effects.MaskShapeEffect(dest, source, c.mode, c.lines);
        const std::vector<QImage> drawn = Drawn(dest);
        ASSERT_GE(drawn.size(), 2u) << c.mode;
        EXPECT_EQ(drawn[0].pixel(c.early), source.pixel(c.early)) << "mode " << c.mode;
        EXPECT_EQ(drawn[0].pixel(c.late), kOld) << "mode " << c.mode;
        for (const QImage& frame : drawn)
            for (int y = 0; y < H; y += 7)
                for (int x = 0; x < W; x += 5) {
                    const QRgb p = frame.pixel(x, y);
                    ASSERT_TRUE(p == kOld || p == source.pixel(x, y) || p == 0xff000000u)
                        << "mode " << c.mode << " pixel " << x << "," << y;
                    ASSERT_EQ(qAlpha(p), 255);
                }
        EXPECT_EQ(dest.image, source) << c.mode;
    }
}

TEST_F(TransitionEffectsTest, ClearingTheFlagAbortsBeforeTheNextFrameAndTheNextEffectStarts) {
    Surface dest(Filled(10, 30, kOld), ticks);
    dest.onFrame = [&](int frame) {
        if (frame == 3) state.EffectRunning = false;
    };
    effects.WipeEffect(dest, Filled(10, 30, kNew), 1, 5);
    ASSERT_EQ(dest.frames.size(), 3u) << "no further frame, no final copy";
    ExpectRevealed(dest.image, [](int, int y) { return y < 10; }, "aborted");
    EXPECT_FALSE(state.EffectRunning);

    dest.onFrame = nullptr;
    effects.BlindsEffect(dest, Filled(10, 30, kNew), 1, 1, 20);
    EXPECT_EQ(dest.image, Filled(10, 30, kNew));
}

TEST_F(TransitionEffectsTest, AnEffectAskedForWhileOneRunsDoesNothing) {
    Surface dest(Filled(10, 30, kOld), ticks);
    Surface other(Filled(10, 30, kOld), ticks);
    dest.onFrame = [&](int frame) {
        if (frame != 2) return;
        effects.MaskShapeEffect(other, Filled(10, 30, kNew), 2, 5);
        EXPECT_TRUE(state.EffectRunning);
    };
    effects.WipeEffect(dest, Filled(10, 30, kNew), 1, 5);
    EXPECT_TRUE(other.frames.empty());
    EXPECT_EQ(other.image, Filled(10, 30, kOld));
    EXPECT_EQ(dest.image, Filled(10, 30, kNew));
    EXPECT_EQ(dest.frames.size(), 7u);
}

TEST_F(TransitionEffectsTest, FramesWaitForTheIntervalAndLastTickCarriesOver) {
    Surface dest(Filled(10, 10, kOld), ticks);
    effects.EffectInterval = 1;
    effects.WipeEffect(dest, Filled(10, 10, kNew), 4, 5);
    const quint32 last = effects.EffectLastTick;
    EXPECT_EQ(last, ticks.GetTickCount() - 15) << "stored when the last frame was drawn";
    Surface next(Filled(10, 10, kOld), ticks);
    effects.EffectInterval = 50;
    effects.WipeEffect(next, Filled(10, 10, kNew), 4, 5);
    EXPECT_GE(static_cast<quint32>(next.shownAt[0] * 1000 / 64), last + 50);
}

TEST(TickSourceTest, ReportsWholeTicksOfAbout16Ms) {
    TickSource ticks;
    std::set<quint32> seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) seen.insert(ticks.GetTickCount());
    for (quint32 value : seen) {
        const quint32 tick = (value * 64 + 999) / 1000;
        EXPECT_EQ(tick * 1000 / 64, value) << value << " is not a whole tick";
    }
    EXPECT_GE(seen.size(), 5u);
    EXPECT_LE(seen.size(), 8u);
}

}  // namespace
