#include "media/PcmConverter.h"

#include <cmath>

std::vector<qint16> PcmConverter::Convert(const std::vector<qint16>& samples, int fromChannels, int fromRate,
                                          int toChannels, int toRate) {
    if (fromChannels < 1 || toChannels < 1 || fromRate < 1 || toRate < 1) return {};
    // Fewer channels first, so that resampling has less to do.
    if (toChannels < fromChannels)
        return Resample(Remix(samples, fromChannels, toChannels), toChannels, fromRate, toRate);
    return Remix(Resample(samples, fromChannels, fromRate, toRate), fromChannels, toChannels);
}

// To one channel: the mean of all. Otherwise each channel takes the input
// channel of its number, a mono input feeding every one.
std::vector<qint16> PcmConverter::Remix(const std::vector<qint16>& samples, int fromChannels, int toChannels) {
    if (fromChannels == toChannels) return samples;
    const size_t frames = samples.size() / static_cast<size_t>(fromChannels);
    std::vector<qint16> out(frames * static_cast<size_t>(toChannels));
    for (size_t f = 0; f < frames; ++f) {
        const qint16* in = &samples[f * fromChannels];
        qint16* to = &out[f * toChannels];
        if (toChannels == 1) {
            int sum = 0;
            for (int c = 0; c < fromChannels; ++c) sum += in[c];
            to[0] = static_cast<qint16>(sum / fromChannels);
        } else {
            for (int c = 0; c < toChannels; ++c) to[c] = in[c % fromChannels];
        }
    }
    return out;
}

// Linear interpolation between neighbouring frames: plain, and good enough
// for a spoken word played back to the pupil who said it.
std::vector<qint16> PcmConverter::Resample(const std::vector<qint16>& samples, int channels, int fromRate,
                                           int toRate) {
    if (fromRate == toRate) return samples;
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    if (frames == 0) return {};
    const size_t outFrames =
        static_cast<size_t>(std::llround(static_cast<double>(frames) * toRate / static_cast<double>(fromRate)));
    std::vector<qint16> out(outFrames * static_cast<size_t>(channels));
    const double step = static_cast<double>(fromRate) / toRate;
    for (size_t f = 0; f < outFrames; ++f) {
        const double position = f * step;
        const size_t left = std::min(static_cast<size_t>(position), frames - 1);
        const size_t right = std::min(left + 1, frames - 1);
        const double weight = position - static_cast<double>(left);
        for (int c = 0; c < channels; ++c) {
            const double value = samples[left * channels + c] * (1.0 - weight) + samples[right * channels + c] * weight;
            out[f * channels + c] = static_cast<qint16>(std::lround(value));
        }
    }
    return out;
}
