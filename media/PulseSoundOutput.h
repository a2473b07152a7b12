#pragma once

#include "core/SoundOutput.h"

// Plays WAV files through the desktop's sound server: decoded with
// libsndfile, written out and drained before it returns. Nothing else runs
// meanwhile, so no input or timer reaches the program.
class PulseSoundOutput : public SoundOutput {
public:
    void PlaySync(const QString& wavPath) override;
};
