#pragma once

#include <cstddef>
#include <vector>

struct kiss_fftr_state;

// Mel-frequency cepstral features of 16 kHz speech: one frame every 10 ms
// over 25 ms, twelve cepstra, their slopes and the slopes' slopes, and each
// frame's loudness.
class Mfcc {
public:
    static constexpr int kRate = 16000;
    static constexpr int kHop = kRate / 100;
    static constexpr int kCepstra = 12;
    static constexpr int kDims = 3 * kCepstra;

    struct Frames {
        std::vector<float> values;  // kDims per frame
        std::vector<float> level;   // RMS of each frame, full scale 1
        std::size_t Count() const { return level.size(); }
        const float* Row(std::size_t frame) const { return values.data() + frame * kDims; }
    };

    // warp > 1 reads the spectrum as if it were that much higher: a child's
    // voice seen as an adult's.
    explicit Mfcc(float warp = 1.0f);
    ~Mfcc();
    Mfcc(const Mfcc&) = delete;
    Mfcc& operator=(const Mfcc&) = delete;

    Frames Compute(const std::vector<float>& samples) const;

    // The voiced stretch alone, its cepstra less their mean so that the
    // microphone's colour drops out. Empty when nothing was loud enough to
    // be a voice.
    static Frames Speech(const Frames& all);

private:
    static constexpr int kWindow = kRate / 40;
    static constexpr int kFft = 512;
    static constexpr int kBands = 26;

    void MakeFilters(float warp);
    static void AddSlopes(Frames& frames, int from, float weight);

    kiss_fftr_state* fft_;
    std::vector<float> window_;
    // Per band: the first FFT bin and the weights from there on.
    std::vector<int> bandStart_;
    std::vector<std::vector<float>> bandWeights_;
    std::vector<float> dct_;
};
