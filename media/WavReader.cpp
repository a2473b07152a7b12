#include "media/WavReader.h"

#include <algorithm>
#include <cstring>
#include <sndfile.h>

#include "media/Resampler.h"

namespace {

struct Cursor {
    const QByteArray& bytes;
    sf_count_t position = 0;
};

sf_count_t Length(void* data) {
    return static_cast<Cursor*>(data)->bytes.size();
}

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
    auto* cursor = static_cast<Cursor*>(data);
    const sf_count_t base = whence == SEEK_CUR ? cursor->position : whence == SEEK_END ? cursor->bytes.size() : 0;
    cursor->position = std::clamp<sf_count_t>(base + offset, 0, cursor->bytes.size());
    return cursor->position;
}

sf_count_t Read(void* target, sf_count_t count, void* data) {
    auto* cursor = static_cast<Cursor*>(data);
    const sf_count_t n = std::min<sf_count_t>(count, cursor->bytes.size() - cursor->position);
    std::memcpy(target, cursor->bytes.constData() + cursor->position, static_cast<size_t>(n));
    cursor->position += n;
    return n;
}

sf_count_t Write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t Tell(void* data) {
    return static_cast<Cursor*>(data)->position;
}

}  // namespace

std::optional<std::vector<float>> WavReader::MonoAt(const QByteArray& wav, int rate) {
    Cursor cursor{wav};
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &cursor);
    if (!file) return std::nullopt;
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    if (read <= 0 || info.channels < 1 || info.samplerate < 1) return std::nullopt;
    // The mean of the channels first: resampling one channel costs less.
    std::vector<float> mono(static_cast<size_t>(read));
    for (size_t f = 0; f < mono.size(); ++f) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c) sum += interleaved[f * info.channels + c];
        mono[f] = sum / static_cast<float>(info.channels);
    }
    return Resampler::Resample(mono, 1, info.samplerate, rate, Resampler::Quality::Fast);
}
