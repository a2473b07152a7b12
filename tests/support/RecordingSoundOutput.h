#pragma once

#include "tests/support/QtApp.h"
#include "core/SoundOutput.h"

// Remembers what was played, and what the played file began with at that
// moment; a test may also look at the store while the sound "plays".
class RecordingSoundOutput : public SoundOutput {
public:
    void PlaySync(const QString& wavPath) override {
        played << wavPath;
        QFile file(wavPath);
        headers << (file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray());
        if (whilePlaying) whilePlaying(wavPath);
    }

    QStringList played;
    QList<QByteArray> headers;
    std::function<void(const QString&)> whilePlaying;
};
