#include "media/Mfcc.h"

#include <algorithm>
#include <cmath>
#include <kiss_fftr.h>
#include <numbers>

namespace {

constexpr float kLowHz = 100.0f;
constexpr float kHighHz = 7500.0f;
constexpr float kPreEmphasis = 0.97f;
// A frame quieter than this (about -50 dB of full scale) is no voice, and
// a take whose loudest frame is this quiet is no reading.
constexpr float kVoiceFloor = 0.003f;
// What counts as the word: within 30 dB of its loudest frame and 10 dB
// above the background (the quietest tenth of the frames).
constexpr float kSpeechRange = 0.0316f;
constexpr float kAboveBackground = 3.16f;
constexpr size_t kMinimumSpeechFrames = 8;
constexpr int kSlopeSpan = 2;
// The slopes count double: how a sound moves tells words apart better than
// where it rests, which differs from voice to voice.
constexpr float kSlopeWeight = 2.0f;

float ToMel(float hz) {
    return 1127.0f * std::log1p(hz / 700.0f);
}

float FromMel(float mel) {
    return 700.0f * std::expm1(mel / 1127.0f);
}

}  // namespace

Mfcc::Mfcc(float warp) : fft_(kiss_fftr_alloc(kFft, 0, nullptr, nullptr)), window_(kWindow) {
    for (int i = 0; i < kWindow; ++i)
        window_[i] = 0.54f - 0.46f * std::cos(2.0f * std::numbers::pi_v<float> * i / (kWindow - 1));
    MakeFilters(warp);
    // DCT-II rows 1..12, unlifted: the higher cepstra carry more of the
    // speaker than of the word.
    dct_.resize(kCepstra * kBands);
    for (int k = 1; k <= kCepstra; ++k) {
        for (int b = 0; b < kBands; ++b)
            dct_[(k - 1) * kBands + b] =
                std::sqrt(2.0f / kBands) * std::cos(std::numbers::pi_v<float> * k * (b + 0.5f) / kBands);
    }
}

Mfcc::~Mfcc() {
    kiss_fftr_free(fft_);
}

void Mfcc::MakeFilters(float warp) {
    const float low = ToMel(kLowHz);
    const float high = ToMel(kHighHz);
    std::vector<float> edges(kBands + 2);
    for (int i = 0; i < kBands + 2; ++i) edges[i] = warp * FromMel(low + (high - low) * i / (kBands + 1)) * kFft / kRate;
    bandStart_.resize(kBands);
    bandWeights_.resize(kBands);
    for (int b = 0; b < kBands; ++b) {
        const float left = edges[b], centre = edges[b + 1], right = edges[b + 2];
        const int first = static_cast<int>(std::ceil(left));
        bandStart_[b] = first;
        for (int bin = first; bin <= static_cast<int>(right) && bin <= kFft / 2; ++bin) {
            const float weight = bin <= centre ? (bin - left) / (centre - left) : (right - bin) / (right - centre);
            bandWeights_[b].push_back(std::max(weight, 0.0f));
        }
    }
}

Mfcc::Frames Mfcc::Compute(const std::vector<float>& samples) const {
    Frames frames;
    if (samples.size() < static_cast<size_t>(kWindow)) return frames;
    const size_t count = 1 + (samples.size() - kWindow) / kHop;
    frames.values.assign(count * kDims, 0.0f);
    frames.level.resize(count);
    std::vector<float> buffer(kFft);
    std::vector<kiss_fft_cpx> spectrum(kFft / 2 + 1);
    std::vector<float> power(kFft / 2 + 1);
    std::vector<float> bands(kBands);
    for (size_t f = 0; f < count; ++f) {
        const float* in = samples.data() + f * kHop;
        double energy = 0;
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        for (int i = 0; i < kWindow; ++i) {
            energy += static_cast<double>(in[i]) * in[i];
            const float previous = i > 0 ? in[i - 1] : (f > 0 ? in[-1] : 0.0f);
            buffer[i] = (in[i] - kPreEmphasis * previous) * window_[i];
        }
        frames.level[f] = static_cast<float>(std::sqrt(energy / kWindow));
        kiss_fftr(fft_, buffer.data(), spectrum.data());
        for (size_t k = 0; k < power.size(); ++k) power[k] = spectrum[k].r * spectrum[k].r + spectrum[k].i * spectrum[k].i;
        for (int b = 0; b < kBands; ++b) {
            float sum = 0;
            for (size_t w = 0; w < bandWeights_[b].size(); ++w) sum += bandWeights_[b][w] * power[bandStart_[b] + w];
            bands[b] = std::log(sum + 1e-8f);
        }
        float* row = frames.values.data() + f * kDims;
        for (int k = 0; k < kCepstra; ++k) {
            float c = 0;
            for (int b = 0; b < kBands; ++b) c += dct_[k * kBands + b] * bands[b];
            row[k] = c;
        }
    }
    return frames;
}

Mfcc::Frames Mfcc::Speech(const Frames& all) {
    Frames speech;
    if (all.Count() == 0) return speech;
    const float loudest = *std::max_element(all.level.begin(), all.level.end());
    if (loudest < kVoiceFloor) return speech;
    std::vector<float> sorted = all.level;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 10, sorted.end());
    const float background = sorted[sorted.size() / 10];
    // A take with no pause in it has its loudest frames as background.
    const float floor =
        std::max({kVoiceFloor, loudest * kSpeechRange, std::min(background * kAboveBackground, loudest * 0.5f)});
    size_t first = 0, last = all.Count() - 1;
    while (all.level[first] < floor) ++first;
    while (all.level[last] < floor) --last;
    if (last - first + 1 < kMinimumSpeechFrames) return speech;
    speech.level.assign(all.level.begin() + first, all.level.begin() + last + 1);
    speech.values.assign(all.values.begin() + first * kDims, all.values.begin() + (last + 1) * kDims);
    std::vector<double> mean(kCepstra, 0.0);
    for (size_t f = 0; f < speech.Count(); ++f)
        for (int k = 0; k < kCepstra; ++k) mean[k] += speech.Row(f)[k];
    for (size_t f = 0; f < speech.Count(); ++f)
        for (int k = 0; k < kCepstra; ++k)
            speech.values[f * kDims + k] -= static_cast<float>(mean[k] / speech.Count());
    AddSlopes(speech, 0, kSlopeWeight);
    // Taken from the weighted slopes, the slopes' slopes count double too.
    AddSlopes(speech, kCepstra, 1.0f);
    return speech;
}

// The regression slope over two frames either side of the kCepstra values
// from column from on, written to the kCepstra columns after them.
void Mfcc::AddSlopes(Frames& frames, int from, float weight) {
    const long count = static_cast<long>(frames.Count());
    float norm = 0;
    for (int t = 1; t <= kSlopeSpan; ++t) norm += 2.0f * t * t;
    for (long f = 0; f < count; ++f) {
        float* row = frames.values.data() + f * kDims;
        for (int k = from; k < from + kCepstra; ++k) {
            float slope = 0;
            for (int t = 1; t <= kSlopeSpan; ++t) {
                const long ahead = std::min(f + t, count - 1), behind = std::max(f - t, 0L);
                slope += t * (frames.values[ahead * kDims + k] - frames.values[behind * kDims + k]);
            }
            row[kCepstra + k] = weight * slope / norm;
        }
    }
}
