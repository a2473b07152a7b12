#pragma once

#include "core/Recorder.h"
#include "tests/support/TempInstall.h"

// A recorder that fails where a test says and otherwise "records" a short
// tone. Its files carry a zero byte rate, as some recorders write them, so
// that the header patch shows. Remembers the steps it was asked for.
class ScriptedRecorder : public Recorder {
public:
    QString Open() override { steps << "open"; open = openError.isEmpty(); return openError; }
    QString Record(const RecordFormat& f) override {
        steps << "record";
        format = f;
        recording = recordError.isEmpty();
        return recordError;
    }
    QString Stop() override { steps << "stop"; recording = false; return stopError; }
    QString Save(const QString& path) override {
        steps << "save " + path;
        if (!saveError.isEmpty()) return saveError;
        QByteArray wav = take.isEmpty() ? TempInstall::MakeWav(seconds, format.samplesPerSec, format.channels, format.bitsPerSample) : take;
        wav.replace(28, 4, QByteArray(4, '\0'));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size() ? QString() : "cannot write";
    }
    RecordFormat Status() const override { return format; }
    void Close() override { steps << "close"; open = recording = false; }
    bool IsOpen() const override { return open; }

    QString openError, recordError, stopError, saveError;
    double seconds = 0.1;
    // A WAV file to save instead of the tone, as if the pupil had said it.
    QByteArray take;
    RecordFormat format;
    bool open = false, recording = false;
    QStringList steps;
};
