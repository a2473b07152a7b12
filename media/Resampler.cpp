#include "media/Resampler.h"

#include <cmath>
#include <samplerate.h>

std::vector<float> Resampler::Resample(const std::vector<float>& samples, int channels, int fromRate, int toRate,
                                       Quality quality) {
    if (channels < 1 || fromRate < 1 || toRate < 1) return {};
    if (fromRate == toRate) return samples;
    const long frames = static_cast<long>(samples.size() / static_cast<size_t>(channels));
    if (frames == 0) return {};
    const double ratio = static_cast<double>(toRate) / fromRate;
    const long outFrames = static_cast<long>(std::ceil(frames * ratio)) + 1;
    std::vector<float> out(static_cast<size_t>(outFrames) * static_cast<size_t>(channels));
    SRC_DATA data{};
    data.data_in = samples.data();
    data.input_frames = frames;
    data.data_out = out.data();
    data.output_frames = outFrames;
    data.src_ratio = ratio;
    const int converter = quality == Quality::Fast ? SRC_SINC_FASTEST : SRC_SINC_MEDIUM_QUALITY;
    if (src_simple(&data, converter, channels) != 0) return {};
    out.resize(static_cast<size_t>(data.output_frames_gen) * static_cast<size_t>(channels));
    return out;
}

std::vector<qint16> Resampler::Resample(const std::vector<qint16>& samples, int channels, int fromRate, int toRate,
                                        Quality quality) {
    if (fromRate == toRate) return samples;
    std::vector<float> in(samples.size());
    src_short_to_float_array(samples.data(), in.data(), static_cast<int>(samples.size()));
    const std::vector<float> out = Resample(in, channels, fromRate, toRate, quality);
    std::vector<qint16> result(out.size());
    // Clipped rather than wrapped: a filter may overshoot a full-scale input.
    src_float_to_short_array(out.data(), result.data(), static_cast<int>(out.size()));
    return result;
}
