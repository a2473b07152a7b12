#include "media/modRecordWav.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <optional>

#include "core/MessageService.h"

namespace {

std::optional<int> Decimal(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

modRecordWav::modRecordWav(Recorder& recorder, MessageService& messages) : recorder_(recorder), messages_(messages) {}

void modRecordWav::Fail(const QString& title, const QString& text) {
    messages_.Show(text, title, MsgButtons::Ok, MsgIcon::None);
}

void modRecordWav::StartRecord(const QString& channels, const QString& bitsPerSample, const QString& samplesPerSec) {
    // Starting again discards a recording that was never saved.
    if (recorder_.IsOpen()) recorder_.Close();
    // Without an input every later step would fail for the same reason: one
    // message says it.
    if (const QString error = recorder_.Open(); !error.isEmpty()) {
        Fail(QStringLiteral("Error"), error);
        return;
    }
    // A value the recorder cannot take is reported and the usual one kept,
    // as a sound device keeps its setting when it refuses a new one.
    RecordFormat format;
    const auto channelCount = Decimal(channels);
    if (channelCount && (*channelCount == 1 || *channelCount == 2))
        format.channels = *channelCount;
    else
        Fail(QStringLiteral("Error (channels)"), QStringLiteral("不能用 %1 个声道录音。").arg(channels));
    const auto rate = Decimal(samplesPerSec);
    if (rate && *rate >= 8000 && *rate <= 192000)
        format.samplesPerSec = *rate;
    else
        Fail(QStringLiteral("Error (samples/sec)"), QStringLiteral("不能用每秒 %1 次采样录音。").arg(samplesPerSec));
    const auto bits = Decimal(bitsPerSample);
    if (bits && (*bits == 8 || *bits == 16))
        format.bitsPerSample = *bits;
    else
        Fail(QStringLiteral("Error (bits/sample)"), QStringLiteral("不能用 %1 位采样录音。").arg(bitsPerSample));
    if (const QString error = recorder_.Record(format); !error.isEmpty()) {
        Fail(QStringLiteral("Error (record)"), error);
        recorder_.Close();
    }
}

void modRecordWav::StopRecord(const QString& path) {
    if (!recorder_.IsOpen()) return;
    if (const QString error = recorder_.Stop(); !error.isEmpty()) Fail(QStringLiteral("Error (stop)"), error);
    const QString saveError = recorder_.Save(path);
    if (!saveError.isEmpty()) Fail(QStringLiteral("Error (save)"), saveError);
    QueryRecordFormat();
    recorder_.Close();
    // A failed save left any earlier file as it was; its header is not
    // touched either, since it may be of another layout.
    if (saveError.isEmpty()) PatchWavByteRate(path);
}

void modRecordWav::QueryRecordFormat() {
    if (!recorder_.IsOpen()) return;
    const RecordFormat format = recorder_.Status();
    const int channels = format.channels == 1 ? 1 : 2;
    RecBytesPerSec = static_cast<quint32>(
        std::lround(format.samplesPerSec * (channels * format.bitsPerSample / 8.0)));
}

void modRecordWav::PatchWavByteRate(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || file.size() < 31) return;
    const char bytes[3] = {static_cast<char>(RecBytesPerSec & 0xFF), static_cast<char>((RecBytesPerSec >> 8) & 0xFF),
                           static_cast<char>((RecBytesPerSec >> 16) & 0xFF)};
    if (file.seek(28)) file.write(bytes, 3);
}
