#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "media/Mfcc.h"

class MediaStore;

// How much a pupil's take sounds like the word asked for: it is compared
// with the standard pronunciation of that word and with those of the other
// words it could be taken for, so no fixed threshold has to suit every
// voice and microphone. The standards' features are kept once computed.
class ReadingScore {
public:
    struct Result {
        bool voiced = false;
        // 3: sounds like the word; 2: probably the word; 1: more like
        // another word, or unclear; 0 without a voice.
        int stars = 0;
        // The nearest other word's distance over the target's: above 1 when
        // the take is closer to the target.
        double margin = 0;
        // Loudness per 10 ms of the standard's voiced stretch, and the
        // take's, warped onto the standard's time.
        std::vector<float> standard;
        std::vector<float> aligned;
    };

    // At least this many words to compare with; fewer, and the caller adds
    // more (the book's).
    static constexpr int kFewestWords = 4;

    explicit ReadingScore(MediaStore& store);

    // The words a take may be taken for. Standards already known are kept;
    // the others are read from the store when first needed.
    void UseWords(const QStringList& words);
    // The take as WAV bytes (any rate and channel count). Nothing when it
    // cannot be read or the target has no usable standard.
    std::optional<Result> Score(const QString& target, const QByteArray& takeWav);
    std::optional<Result> Score(const QString& target, const std::vector<float>& take16k);

    static int Stars(double margin);

private:
    static QString Key(const QString& word);
    const Mfcc::Frames* Standard(const QString& word);

    MediaStore& store_;
    // The take read at several voice-tract lengths, the first unwarped (as
    // the standards are read); each word is compared with the reading that
    // suits it best.
    std::vector<std::unique_ptr<Mfcc>> warped_;
    QStringList words_;
    // Keyed by the lower-case spelling; an empty entry is a standard that
    // could not be read, so it is not read again.
    std::map<QString, Mfcc::Frames> standards_;
};
