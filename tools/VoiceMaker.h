#pragma once

#include <QString>
#include <utility>
#include <vector>

// Speaks words and letters into trimmed, evened-out WAV files, keeping each
// result in a cache folder keyed by its text, and makes the feedback sounds.
class VoiceMaker {
public:
    explicit VoiceMaker(const QString& cacheDir);

    // (text to speak, target file) pairs, spoken two at a time. False when
    // one could not be made.
    bool Speak(const std::vector<std::pair<QString, QString>>& jobs);
    bool MakeFeedbackSounds(const QString& appVoiceDir);

    static QString LetterName(QChar letter);

private:
    bool SpeakOne(const QString& text, const QString& target);
    QString CachePath(const QString& text) const;

    QString cacheDir_;
};
