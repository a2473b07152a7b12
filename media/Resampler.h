#pragma once

#include <QtGlobal>
#include <vector>

// Changes the sample rate of interleaved PCM through a band-limited (sinc)
// converter, so nothing above the new rate's half folds back into what is
// kept.
class Resampler {
public:
    enum class Quality { Fast, Good };

    static std::vector<float> Resample(const std::vector<float>& samples, int channels, int fromRate, int toRate,
                                       Quality quality = Quality::Good);
    static std::vector<qint16> Resample(const std::vector<qint16>& samples, int channels, int fromRate, int toRate,
                                        Quality quality = Quality::Good);
};
