#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/Recorder.h"

struct pa_simple;

// Records from a PulseAudio source (the server's default unless one is
// named) in a thread of its own, so the event loop runs on meanwhile. The
// input is captured with as many channels as it has, up to those asked for,
// and brought to the asked layout when the file is written.
class PulseRecorder : public Recorder {
public:
    explicit PulseRecorder(QString sourceName = QString());
    ~PulseRecorder() override;

    QString Open() override;
    QString Record(const RecordFormat& format) override;
    QString Stop() override;
    QString Save(const QString& path) override;
    RecordFormat Status() const override { return format_; }
    void Close() override;
    bool IsOpen() const override { return open_; }

    // The layout actually taken from the source.
    int CaptureChannels() const { return captureChannels_; }
    int CaptureRate() const { return captureRate_; }

private:
    void Capture();
    void DropOlderThanTheStart();

    QString sourceName_;
    QString openedSource_;
    int sourceChannels_ = 0;
    int sourceRate_ = 0;
    bool open_ = false;

    RecordFormat format_;
    int captureChannels_ = 0;
    int captureRate_ = 0;
    pa_simple* stream_ = nullptr;
    std::thread worker_;
    std::atomic<bool> stopping_{false};
    std::chrono::steady_clock::time_point started_;
    // Written by the worker only while it runs; read after it has ended.
    std::vector<qint16> captured_;
    QString captureError_;
};
