#include "media/PcmConverter.h"

#include "media/Resampler.h"

std::vector<qint16> PcmConverter::Convert(const std::vector<qint16>& samples, int fromChannels, int fromRate,
                                          int toChannels, int toRate) {
    if (fromChannels < 1 || toChannels < 1 || fromRate < 1 || toRate < 1) return {};
    // Fewer channels first, so that resampling has less to do.
    if (toChannels < fromChannels)
        return Resampler::Resample(Remix(samples, fromChannels, toChannels), toChannels, fromRate, toRate);
    return Remix(Resampler::Resample(samples, fromChannels, fromRate, toRate), fromChannels, toChannels);
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
