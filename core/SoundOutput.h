#pragma once

#include <QString>

// Plays a WAV file synchronously: returns when the sound has ended. A
// missing or unplayable file plays nothing.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void PlaySync(const QString& wavPath) = 0;
};
