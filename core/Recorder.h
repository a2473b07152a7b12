#pragma once

#include <QString>

// The layout of a PCM recording.
struct RecordFormat {
    int channels = 2;
    int bitsPerSample = 16;
    int samplesPerSec = 44100;

    int BlockAlign() const { return channels * bitsPerSample / 8; }
    bool operator==(const RecordFormat&) const = default;
};

// Records from a sound input while the program goes on. One recording at a
// time. Each step returns an empty text when it worked, else what went
// wrong, in words a pupil can read.
class Recorder {
public:
    virtual ~Recorder() = default;

    // Finds the sound input; nothing is captured yet.
    virtual QString Open() = 0;
    // Starts capturing in the given layout; returns at once.
    virtual QString Record(const RecordFormat& format) = 0;
    virtual QString Stop() = 0;
    // Writes what was captured as a PCM WAV file in the recording's layout.
    // The file at path is replaced only by a complete recording.
    virtual QString Save(const QString& path) = 0;
    // The layout of the file that Save writes.
    virtual RecordFormat Status() const = 0;
    // Releases the input and forgets anything not saved.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
