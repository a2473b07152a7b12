#pragma once

#include <vector>

#include "media/Mfcc.h"

// Dynamic time warping of two feature sequences within a band around their
// diagonal, so a word said slower or faster still meets itself.
class Dtw {
public:
    // The mean distance along the best path: 0 for the same sequence.
    static float Distance(const Mfcc::Frames& a, const Mfcc::Frames& b);
    // For each frame of b, the frame of a that the best path matches with
    // it (the first, where several are).
    static std::vector<std::size_t> Align(const Mfcc::Frames& a, const Mfcc::Frames& b);

private:
    struct Band {
        std::size_t from;
        std::size_t to;  // past the last
    };
    static std::vector<Band> Bands(std::size_t rows, std::size_t columns);
    static float Local(const float* x, const float* y);
};
