#include "media/Dtw.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A fifth of the longer sequence either side of the diagonal.
constexpr double kBandShare = 0.2;
constexpr float kUnreached = std::numeric_limits<float>::infinity();
// Keeps a silent frame's angle defined.
constexpr float kTiny = 1e-12f;

}  // namespace

// One less the cosine of the angle between the frames: the shape of the
// spectrum counts, not how far it swings, which differs from voice to voice.
float Dtw::Local(const float* x, const float* y) {
    float xy = 0, xx = 0, yy = 0;
    for (int k = 0; k < Mfcc::kDims; ++k) {
        xy += x[k] * y[k];
        xx += x[k] * x[k];
        yy += y[k] * y[k];
    }
    return 1.0f - xy / std::sqrt(xx * yy + kTiny);
}

// The columns each row may reach: the diagonal from corner to corner, widened.
std::vector<Dtw::Band> Dtw::Bands(size_t rows, size_t columns) {
    const long width = static_cast<long>(std::ceil(kBandShare * static_cast<double>(std::max(rows, columns)))) + 1;
    std::vector<Band> bands(rows);
    for (size_t i = 0; i < rows; ++i) {
        const long centre = rows > 1 ? std::lround(static_cast<double>(i) * (columns - 1) / (rows - 1)) : 0;
        bands[i].from = static_cast<size_t>(std::max(0L, centre - width));
        bands[i].to = static_cast<size_t>(std::min<long>(static_cast<long>(columns), centre + width + 1));
    }
    return bands;
}

// Steps right, down (weight 1) or diagonal (weight 2), so every path
// weighs rows + columns and the mean is comparable between words.
float Dtw::Distance(const Mfcc::Frames& a, const Mfcc::Frames& b) {
    const size_t rows = a.Count(), columns = b.Count();
    if (rows == 0 || columns == 0) return kUnreached;
    const std::vector<Band> bands = Bands(rows, columns);
    std::vector<float> previous(columns, kUnreached), current(columns, kUnreached);
    for (size_t i = 0; i < rows; ++i) {
        std::fill(current.begin(), current.end(), kUnreached);
        for (size_t j = bands[i].from; j < bands[i].to; ++j) {
            const float d = Local(a.Row(i), b.Row(j));
            float best;
            if (i == 0 && j == 0)
                best = 2 * d;
            else {
                best = kUnreached;
                if (i > 0) best = std::min(best, previous[j] + d);
                if (j > 0) best = std::min(best, current[j - 1] + d);
                if (i > 0 && j > 0) best = std::min(best, previous[j - 1] + 2 * d);
            }
            current[j] = best;
        }
        std::swap(previous, current);
    }
    return previous[columns - 1] / static_cast<float>(rows + columns);
}

std::vector<size_t> Dtw::Align(const Mfcc::Frames& a, const Mfcc::Frames& b) {
    const size_t rows = a.Count(), columns = b.Count();
    if (rows == 0 || columns == 0) return {};
    const std::vector<Band> bands = Bands(rows, columns);
    std::vector<float> cost(rows * columns, kUnreached);
    auto at = [&](size_t i, size_t j) -> float& { return cost[i * columns + j]; };
    for (size_t i = 0; i < rows; ++i)
        for (size_t j = bands[i].from; j < bands[i].to; ++j) {
            const float d = Local(a.Row(i), b.Row(j));
            if (i == 0 && j == 0) {
                at(i, j) = 2 * d;
                continue;
            }
            float best = kUnreached;
            if (i > 0) best = std::min(best, at(i - 1, j) + d);
            if (j > 0) best = std::min(best, at(i, j - 1) + d);
            if (i > 0 && j > 0) best = std::min(best, at(i - 1, j - 1) + 2 * d);
            at(i, j) = best;
        }
    std::vector<size_t> match(columns, 0);
    size_t i = rows - 1, j = columns - 1;
    match[j] = i;
    while (i > 0 || j > 0) {
        const float diagonal = i > 0 && j > 0 ? at(i - 1, j - 1) : kUnreached;
        const float up = i > 0 ? at(i - 1, j) : kUnreached;
        const float left = j > 0 ? at(i, j - 1) : kUnreached;
        if (diagonal <= up && diagonal <= left) {
            --i;
            --j;
        } else if (up <= left) {
            --i;
        } else {
            --j;
        }
        match[j] = i;
    }
    return match;
}
