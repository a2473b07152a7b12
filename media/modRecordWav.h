#pragma once

#include <QString>
#include <QtGlobal>

#include "core/Recorder.h"

class MessageService;

// The pupil's own recordings: start, stop and save as a PCM WAV file. A step
// that fails shows what went wrong under that step's title, and the rest of
// the sequence goes on.
class modRecordWav {
public:
    modRecordWav(Recorder& recorder, MessageService& messages);

    // The layout is given as decimal text, as the view hands it over.
    void StartRecord(const QString& channels, const QString& bitsPerSample, const QString& samplesPerSec);
    // Without a recording under way this does nothing.
    void StopRecord(const QString& path);
    void QueryRecordFormat();
    // Writes the low 24 bits of RecBytesPerSec into bytes 28 to 30 of the
    // WAV header at path; never creates or lengthens a file.
    void PatchWavByteRate(const QString& path);

    bool Recording() const { return recorder_.IsOpen(); }

    quint32 RecBytesPerSec = 0;

private:
    void Fail(const QString& title, const QString& text);

    Recorder& recorder_;
    MessageService& messages_;
};
