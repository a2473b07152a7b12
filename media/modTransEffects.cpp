#include "media/modTransEffects.h"

#include <QPainter>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/LessonState.h"
#include "core/RandomSource.h"
#include "core/TickSource.h"

modTransEffects::modTransEffects(LessonState& state, TickSource& ticks, RandomSource& random)
    : state_(state), ticks_(ticks), random_(random) {}

int modTransEffects::RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

void modTransEffects::Copy(QPainter& dest, int x, int y, const QImage& source, const QRect& from) {
    if (from.width() <= 0 || from.height() <= 0) return;
    dest.drawImage(QPoint(x, y), source, from);
}

void modTransEffects::CopyBand(QPainter& dest, const QImage& source, bool rows, int start, int length) {
    const QRect band = rows ? QRect(0, start, dest.device()->width(), length)
                            : QRect(start, 0, length, dest.device()->height());
    Copy(dest, band.x(), band.y(), source, band);
}

bool modTransEffects::Begin(EffectSurface& dest) {
    if (state_.EffectRunning || dest.Image().isNull()) return false;
    state_.EffectRunning = true;
    return true;
}

void modTransEffects::RunFrames(EffectSurface& dest, const QImage& source, const Done& done, const Frame& frame) {
    for (;;) {
        if (!state_.EffectRunning) return;
        if (ticks_.GetTickCount() - EffectLastTick < static_cast<quint32>(EffectInterval)) {
            ticks_.DoEvents();
            continue;
        }
        if (done()) break;
        {
            QPainter painter(&dest.Image());
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            frame(painter);
        }
        dest.Refresh();
        EffectLastTick = ticks_.GetTickCount();
        ticks_.DoEvents();
    }
    state_.EffectRunning = false;
    {
        QPainter painter(&dest.Image());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        Copy(painter, 0, 0, source, dest.Image().rect());
    }
    dest.Refresh();
}

void modTransEffects::WipeEffect(EffectSurface& dest, const QImage& source, int direction, int step) {
    if (!Begin(dest)) return;
    // 1 and 2 wipe rows down and up, 4 columns rightwards, the rest leftwards.
    const bool rows = direction == 1 || direction == 2;
    const bool fromEnd = direction == 2 || (!rows && direction != 4);
    const int end = rows ? dest.Image().height() : dest.Image().width();
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= end; },
        [&](QPainter& p) {
            CopyBand(p, source, rows, fromEnd ? end - pos : 0, pos);
            pos += step;
        });
}

void modTransEffects::SplitCloseEffect(EffectSurface& dest, const QImage& source, int direction, int step) {
    if (!Begin(dest)) return;
    const bool rows = direction == 1;
    const int extent = rows ? dest.Image().height() : dest.Image().width();
    const int M = RoundEven(extent / 2.0);
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= M; },
        [&](QPainter& p) {
            CopyBand(p, source, rows, 0, pos);
            CopyBand(p, source, rows, extent - pos, pos);
            pos += step;
        });
}

void modTransEffects::SplitOpenEffect(EffectSurface& dest, const QImage& source, int direction, int step) {
    if (!Begin(dest)) return;
    const bool rows = direction == 1;
    const int M = RoundEven((rows ? dest.Image().height() : dest.Image().width()) / 2.0);
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= M; },
        [&](QPainter& p) {
            CopyBand(p, source, rows, M - pos, pos);
            CopyBand(p, source, rows, M, pos);
            pos += step;
        });
}

void modTransEffects::RandomLinesEffect(EffectSurface& dest, const QImage& source, int direction, int step) {
    if (!Begin(dest)) return;
    const int W = dest.Image().width(), H = dest.Image().height();
    const int N = direction == 1 ? W : H;
    std::vector<int> lines(N + 1);
    std::iota(lines.begin(), lines.end(), 0);
    // j = Rnd * N rounded: Int(Rnd * 2N) halved upwards has the same spread.
    for (int pass = 0; pass < 3 && N > 0; ++pass)
        for (int i = 1; i <= N; ++i) std::swap(lines[i], lines[(random_.Draw(2 * N) + 1) / 2]);
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= N; },
        [&](QPainter& p) {
            for (int e = pos; e <= pos + step && e < N; ++e) {
                CopyBand(p, source, direction != 1, lines[e], 1);
            }
            pos += step + 1;
        });
}

void modTransEffects::InterleaveWipeEffect(EffectSurface& dest, const QImage& source, int direction, int step,
                                           int band, bool toggle) {
    if (!Begin(dest)) return;
    const int W = dest.Image().width(), H = dest.Image().height();
    band = std::max(band, 1);
    const bool rows = direction == 2;
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= (rows ? W : H); },
        [&](QPainter& p) {
            bool fromStart = toggle;
            for (int s = 0; s <= (rows ? H : W); s += band) {
                const QRect rect = rows ? (fromStart ? QRect(0, s, pos, band) : QRect(W - pos, s, pos, band))
                                        : (fromStart ? QRect(s, 0, band, pos) : QRect(s, H - pos, band, pos));
                Copy(p, rect.x(), rect.y(), source, rect);
                fromStart = !fromStart;
            }
            pos += step;
        });
}

void modTransEffects::InterleaveSlideEffect(EffectSurface& dest, const QImage& source, int direction, int step,
                                            int band, bool toggle) {
    if (!Begin(dest)) return;
    const int W = dest.Image().width(), H = dest.Image().height();
    band = std::max(band, 1);
    const bool rows = direction == 2;
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= (rows ? W : H); },
        [&](QPainter& p) {
            bool fromStart = toggle;
            for (int s = 0; s <= (rows ? H : W); s += band) {
                if (rows) {
                    if (fromStart)
                        Copy(p, 0, s, source, QRect(W - pos, s, pos, band));
                    else
                        Copy(p, W - pos, s, source, QRect(0, s, pos, band));
                } else {
                    if (fromStart)
                        Copy(p, s, 0, source, QRect(s, H - pos, band, pos));
                    else
                        Copy(p, s, H - pos, source, QRect(s, 0, band, pos));
                }
                fromStart = !fromStart;
            }
            pos += step;
        });
}

void modTransEffects::BlindsEffect(EffectSurface& dest, const QImage& source, int direction, int step, int band) {
    if (!Begin(dest)) return;
    const int W = dest.Image().width(), H = dest.Image().height();
    const int B = std::max(band, 1);
    const bool columns = direction == 4 || direction == 8;
    int pos = 0;
    RunFrames(
        dest, source, [&] { return pos >= B; },
        [&](QPainter& p) {
            for (int s = 0; s <= (columns ? W : H); s += B)
                CopyBand(p, source, direction == 1 || direction == 2,
                         direction == 1 || direction == 4 ? s : s + B - pos, pos);
            pos += step;
        });
}

void modTransEffects::MaskShapeEffect(EffectSurface& dest, const QImage& source, int mode, int linesPerFrame) {
    if (!Begin(dest)) return;
    const int W = dest.Image().width(), H = dest.Image().height();
    const QRect area(0, 0, W, H);
    QImage mask(W + 2, H + 2, QImage::Format_RGB32);
    QImage inverse(W + 2, H + 2, QImage::Format_RGB32);
    mask.fill(Qt::black);
    const int cx = RoundEven(W / 2.0), cy = RoundEven(H / 2.0);
    int R = 0;
    const int L = mode == 1   ? 2 * (W + H)
                  : mode == 2 ? RoundEven(std::sqrt((W / 2.0) * (W / 2.0) + (H / 2.0) * (H / 2.0)))
                  : mode == 3 ? W + H
                              : W;
    int k = 0;
    bool complete = false;

    // Draws the mode's next line (or ring, or pair of lines) in white.
    auto drawNext = [&](QPainter& m) {
        switch (mode) {
        case 1: {
            QPoint border;
            if (k <= W + 1)
                border = QPoint(k, -1);
            else if (k <= W + 1 + H + 1)
                border = QPoint(W, k - (W + 1));
            else if (k <= W + 1 + H + 1 + W + 1)
                border = QPoint(W - (k - (W + H + 2)), H);
            else
                border = QPoint(-1, H - (k - (2 * W + H + 3)));
            m.drawLine(QPoint(cx, cy), border);
            complete = ++k >= 2 * W + 2 * H + 5;
            break;
        }
        case 2:
            if (R > 0) m.drawEllipse(QRect(cx - R, cy - R, 2 * R, 2 * R));
            ++R;
            break;
        case 3:
            m.drawLine(QPoint(0, 0), k <= W ? QPoint(k, H) : QPoint(W, H - (k - W - 1)));
            complete = ++k >= W + H + 2;
            break;
        case 4: {
            ++k;
            const int h = RoundEven(static_cast<double>(k) * H / W + 1);
            m.drawLine(QPoint(k, 0), QPoint(k, h));
            m.drawLine(QPoint(W - k, H), QPoint(W - k, H - h));
            complete = k >= W;
            break;
        }
        default: {
            const int h = RoundEven(static_cast<double>(k) * H / W);
            m.drawLine(QPoint(W - k, -1), QPoint(-1, H - h));
            m.drawLine(QPoint(W, h), QPoint(k, H));
            complete = ++k >= W;
            break;
        }
        }
    };

    RunFrames(
        dest, source, [&] { return R >= L || complete; },
        [&](QPainter& p) {
            {
                QPainter m(&mask);
                m.setPen(QPen(Qt::white, 1));
                m.setBrush(Qt::white);
                if (mode == 2) --R;
                for (int n = 0; n < linesPerFrame && !complete; ++n) drawNext(m);
            }
            {
                QPainter invert(&inverse);
                invert.setCompositionMode(QPainter::RasterOp_NotSource);
                invert.drawImage(0, 0, mask);
            }
            p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            p.drawImage(QPoint(0, 0), inverse, area);
            {
                QPainter reveal(&mask);
                reveal.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                reveal.drawImage(QPoint(0, 0), source, area);
            }
            p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            p.drawImage(QPoint(0, 0), mask, area);
            ++R;
        });
}
