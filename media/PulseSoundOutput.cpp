#include "media/PulseSoundOutput.h"

#include <QFile>
#include <pulse/simple.h>
#include <sndfile.h>
#include <vector>

namespace {

struct Pcm {
    int rate = 0;
    int channels = 0;
    std::vector<qint16> samples;  // interleaved
};

bool Decode(const QString& path, Pcm& pcm) {
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) return false;
    const bool usable = info.frames > 0 && info.channels >= 1 && info.channels <= 8 && info.samplerate >= 1000 &&
                        info.samplerate <= 384000 && info.frames < 60LL * 60 * info.samplerate;
    if (usable) {
        pcm.rate = info.samplerate;
        pcm.channels = info.channels;
        pcm.samples.resize(static_cast<size_t>(info.frames) * info.channels);
        const sf_count_t frames = sf_readf_short(file, pcm.samples.data(), info.frames);
        pcm.samples.resize(static_cast<size_t>(frames < 0 ? 0 : frames) * info.channels);
    }
    sf_close(file);
    return usable && !pcm.samples.empty();
}

}  // namespace

// Writes the whole sound and returns once the server has played it out. No
// sound server: nothing plays.
void PulseSoundOutput::PlaySync(const QString& wavPath) {
    Pcm pcm;
    if (!Decode(wavPath, pcm) || pcm.channels > static_cast<int>(PA_CHANNELS_MAX)) return;
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = static_cast<uint32_t>(pcm.rate);
    sampleFormat.channels = static_cast<uint8_t>(pcm.channels);
    // A short target latency: with the server's default of seconds a short
    // word would only start to sound long after it was asked for.
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(100000, &sampleFormat));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Orvanel", PA_STREAM_PLAYBACK, nullptr, "pronunciation", &sampleFormat,
                                      nullptr, &buffer, &error);
    if (!stream) return;
    if (pa_simple_write(stream, pcm.samples.data(), pcm.samples.size() * sizeof(qint16), &error) == 0)
        pa_simple_drain(stream, &error);
    pa_simple_free(stream);
}
