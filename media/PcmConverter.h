#pragma once

#include <QtGlobal>
#include <vector>

// Brings 16-bit interleaved PCM to another channel count and rate, for an
// input that offers only some layouts; the rate is changed band-limited.
class PcmConverter {
public:
    static std::vector<qint16> Convert(const std::vector<qint16>& samples, int fromChannels, int fromRate,
                                       int toChannels, int toRate);

private:
    static std::vector<qint16> Remix(const std::vector<qint16>& samples, int fromChannels, int toChannels);
};
