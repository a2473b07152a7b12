#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

// Decodes a WAV file held in memory (any rate, channel count and sample
// format libsndfile reads) to one channel at the asked rate.
class WavReader {
public:
    static std::optional<std::vector<float>> MonoAt(const QByteArray& wav, int rate);
};
