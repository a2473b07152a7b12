#include "media/PulseRecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include "media/PcmConverter.h"

namespace {

// Short reads keep a stop prompt: the worker notices it within one of them.
constexpr int kReadMs = 20;
constexpr int kServerWaitMs = 2000;

struct SourceQuery {
    bool done = false;
    bool found = false;
    QString name;
    int channels = 0;
    int rate = 0;
};

void OnSourceInfo(pa_context*, const pa_source_info* info, int eol, void* userdata) {
    auto* query = static_cast<SourceQuery*>(userdata);
    if (eol != 0 || !info) {
        query->done = true;
        return;
    }
    query->found = true;
    query->name = QString::fromUtf8(info->name);
    query->channels = info->sample_spec.channels;
    query->rate = static_cast<int>(info->sample_spec.rate);
}

// Runs the loop until done() holds; false when the server does not answer
// in time.
template <typename Done>
bool RunUntil(pa_mainloop* loop, Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > kServerWaitMs) return false;
        if (pa_mainloop_prepare(loop, 50000) < 0 || pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
            return false;
    }
    return true;
}

// Looks the source up on the server: its name, channels and rate. Empty
// text when found.
QString QuerySource(const QString& wanted, SourceQuery& query) {
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Orvanel");
    QString error;
    if (!context || pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = QStringLiteral("找不到声音服务，无法录音。");
    } else {
        const bool ready = RunUntil(loop, [&] {
            const pa_context_state_t state = pa_context_get_state(context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        });
        if (!ready || pa_context_get_state(context) != PA_CONTEXT_READY) {
            error = QStringLiteral("找不到声音服务，无法录音。");
        } else {
            const QByteArray name = wanted.isEmpty() ? QByteArray("@DEFAULT_SOURCE@") : wanted.toUtf8();
            pa_operation* operation =
                pa_context_get_source_info_by_name(context, name.constData(), OnSourceInfo, &query);
            if (operation) {
                RunUntil(loop, [&] { return query.done; });
                pa_operation_unref(operation);
            }
            if (!query.found || query.channels < 1 || query.rate < 1)
                error = QStringLiteral("找不到录音设备（麦克风），请接好麦克风后再试。");
        }
        pa_context_disconnect(context);
    }
    if (context) pa_context_unref(context);
    pa_mainloop_free(loop);
    return error;
}

pa_simple* OpenStream(const QString& source, int channels, int rate, int& error) {
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16LE;
    format.channels = static_cast<uint8_t>(channels);
    format.rate = static_cast<uint32_t>(rate);
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(-1);
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(kReadMs * 1000, &format));
    const QByteArray device = source.toUtf8();
    return pa_simple_new(nullptr, "Orvanel", PA_STREAM_RECORD, device.constData(), "recording", &format, nullptr,
                         &buffer, &error);
}

}  // namespace

PulseRecorder::PulseRecorder(QString sourceName) : sourceName_(std::move(sourceName)) {}

PulseRecorder::~PulseRecorder() {
    Close();
}

QString PulseRecorder::Open() {
    Close();
    SourceQuery query;
    const QString error = QuerySource(sourceName_, query);
    if (!error.isEmpty()) return error;
    openedSource_ = query.name;
    sourceChannels_ = query.channels;
    sourceRate_ = query.rate;
    open_ = true;
    return QString();
}

QString PulseRecorder::Record(const RecordFormat& format) {
    if (!open_) return QStringLiteral("录音设备没有打开。");
    if (stream_) Stop();
    format_ = format;
    captured_.clear();
    captureError_.clear();
    // The server converts rates well; channels the source lacks are made
    // here. Should it refuse the asked rate, the source's own is taken.
    captureChannels_ = std::min(format.channels, sourceChannels_);
    int error = 0;
    for (int rate : {format.samplesPerSec, sourceRate_}) {
        captureRate_ = rate;
        stream_ = OpenStream(openedSource_, captureChannels_, rate, error);
        if (stream_) break;
    }
    if (!stream_)
        return QStringLiteral("录音设备不接受这种录音格式（%1）。").arg(QString::fromUtf8(pa_strerror(error)));
    stopping_ = false;
    started_ = std::chrono::steady_clock::now();
    worker_ = std::thread([this] { Capture(); });
    return QString();
}

void PulseRecorder::Capture() {
    const size_t chunk = static_cast<size_t>(captureRate_) * captureChannels_ * kReadMs / 1000;
    std::vector<qint16> buffer(chunk);
    while (!stopping_) {
        int error = 0;
        if (pa_simple_read(stream_, buffer.data(), buffer.size() * sizeof(qint16), &error) < 0) {
            captureError_ = QStringLiteral("录音中断了（%1）。").arg(QString::fromUtf8(pa_strerror(error)));
            return;
        }
        captured_.insert(captured_.end(), buffer.begin(), buffer.end());
    }
}

QString PulseRecorder::Stop() {
    if (!stream_) return QString();
    stopping_ = true;
    if (worker_.joinable()) worker_.join();
    pa_simple_free(stream_);
    stream_ = nullptr;
    DropOlderThanTheStart();
    return captureError_;
}

// A source may hand over a burst of what it held before the stream was
// opened; the recording is the time from the start to the stop, no more.
void PulseRecorder::DropOlderThanTheStart() {
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    const auto frames = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * captureRate_ / 1000000;
    const size_t keep = static_cast<size_t>(frames) * captureChannels_;
    if (captured_.size() > keep) captured_.erase(captured_.begin(), captured_.end() - static_cast<ptrdiff_t>(keep));
}

// Written beside its destination and renamed over it when complete, so a
// failed save leaves an earlier file whole.
QString PulseRecorder::Save(const QString& path) {
    const QString failed = QStringLiteral("录音没能保存到 %1。").arg(QDir::toNativeSeparators(path));
    if (!open_ || path.isEmpty()) return failed;
    if (stream_) Stop();
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath())) return failed;
    const std::vector<qint16> samples =
        PcmConverter::Convert(captured_, captureChannels_, captureRate_, format_.channels, format_.samplesPerSec);

    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.recording-XXXXXX.wav"));
    if (!temporary.open()) return failed;
    SF_INFO info{};
    info.samplerate = format_.samplesPerSec;
    info.channels = format_.channels;
    info.format = SF_FORMAT_WAV | (format_.bitsPerSample == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open_fd(temporary.handle(), SFM_WRITE, &info, SF_FALSE);
    if (!file) return failed;
    const sf_count_t frames = static_cast<sf_count_t>(samples.size() / format_.channels);
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    if (sf_close(file) != 0 || !written || !temporary.flush()) return failed;
    temporary.close();
    // A temporary file is private to its maker; a recording is an ordinary file.
    if (!temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther))
        return failed;
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return failed;
    temporary.setAutoRemove(false);
    return QString();
}

void PulseRecorder::Close() {
    Stop();
    captured_.clear();
    captured_.shrink_to_fit();
    captureError_.clear();
    open_ = false;
}
