#pragma once

#include <QImage>
#include <QRect>
#include <QtGlobal>
#include <functional>

class QPainter;

#include "media/EffectSurface.h"

class RandomSource;
class TickSource;
struct LessonState;

// The picture transitions: each draws the source over the destination (on
// screen, showing the old picture) frame by frame, paced by the tick source
// and EffectInterval, and lets the user interface run between frames.
// Clearing LessonState::EffectRunning aborts the running effect; an effect
// asked for while another runs does nothing.
class modTransEffects {
public:
    modTransEffects(LessonState& state, TickSource& ticks, RandomSource& random);

    void WipeEffect(EffectSurface& dest, const QImage& source, int direction, int step);
    void SplitCloseEffect(EffectSurface& dest, const QImage& source, int direction, int step);
    void SplitOpenEffect(EffectSurface& dest, const QImage& source, int direction, int step);
    void RandomLinesEffect(EffectSurface& dest, const QImage& source, int direction, int step);
    void InterleaveWipeEffect(EffectSurface& dest, const QImage& source, int direction, int step, int band,
                              bool toggle);
    void InterleaveSlideEffect(EffectSurface& dest, const QImage& source, int direction, int step, int band,
                               bool toggle);
    void BlindsEffect(EffectSurface& dest, const QImage& source, int direction, int step, int band);
    void MaskShapeEffect(EffectSurface& dest, const QImage& source, int mode, int linesPerFrame);

    // Round half to even, as the effects' middles and radii are measured.
    static int RoundEven(double value);

    qint32 EffectInterval = 1;
    quint32 EffectLastTick = 0;

private:
    // One frame draws into the destination through the painter and
    // advances its own position.
    using Frame = std::function<void(QPainter& dest)>;
    using Done = std::function<bool()>;

    bool Begin(EffectSurface& dest);
    void RunFrames(EffectSurface& dest, const QImage& source, const Done& done, const Frame& frame);
    static void Copy(QPainter& dest, int x, int y, const QImage& source, const QRect& from);
    // Rows start to start + length across the whole width (or columns down
    // the whole height) of the source, copied to the same place.
    static void CopyBand(QPainter& dest, const QImage& source, bool rows, int start, int length);

    LessonState& state_;
    TickSource& ticks_;
    RandomSource& random_;
};
