#include "media/ReadingScore.h"

#include <algorithm>
#include <limits>

#include "media/Dtw.h"
#include "media/MediaStore.h"
#include "media/WavReader.h"

namespace {

// From half of the labelled set's voices: 96 % of their wrong takes stay
// below the first, 96 % of their right ones reach the second.
constexpr double kSureMargin = 0.96;
constexpr double kLikelyMargin = 0.75;
// A child's voice tract is shorter than the standard voice's: its
// resonances lie up to a third higher.
constexpr float kWarps[] = {1.0f, 1.1f, 1.2f, 1.3f};

}  // namespace

ReadingScore::ReadingScore(MediaStore& store) : store_(store) {
    for (float warp : kWarps) warped_.push_back(std::make_unique<Mfcc>(warp));
}

QString ReadingScore::Key(const QString& word) {
    return word.trimmed().toLower();
}

void ReadingScore::UseWords(const QStringList& words) {
    QStringList keys;
    for (const QString& word : words)
        if (!keys.contains(Key(word))) keys << Key(word);
    if (keys == words_) return;
    words_ = keys;
    std::erase_if(standards_, [this](const auto& entry) { return !words_.contains(entry.first); });
}

const Mfcc::Frames* ReadingScore::Standard(const QString& word) {
    auto found = standards_.find(word);
    if (found == standards_.end()) {
        const QByteArray wav =
            store_.ReadPlainWordFile(MediaStore::kVoice, word, QStringLiteral(".wav"), QStringLiteral(".abw"));
        Mfcc::Frames frames;
        if (const auto samples = WavReader::MonoAt(wav, Mfcc::kRate)) frames = Mfcc::Speech(warped_.front()->Compute(*samples));
        found = standards_.emplace(word, std::move(frames)).first;
    }
    return found->second.Count() > 0 ? &found->second : nullptr;
}

std::optional<ReadingScore::Result> ReadingScore::Score(const QString& target, const QByteArray& takeWav) {
    const auto take = WavReader::MonoAt(takeWav, Mfcc::kRate);
    if (!take) return std::nullopt;
    return Score(target, *take);
}

std::optional<ReadingScore::Result> ReadingScore::Score(const QString& target, const std::vector<float>& take16k) {
    const QString key = Key(target);
    const Mfcc::Frames* standard = Standard(key);
    if (!standard) return std::nullopt;
    Result result;
    std::vector<Mfcc::Frames> takes;
    for (const auto& mfcc : warped_) takes.push_back(Mfcc::Speech(mfcc->Compute(take16k)));
    const Mfcc::Frames& take = takes.front();
    if (take.Count() == 0) return result;
    result.voiced = true;
    auto distance = [&](const Mfcc::Frames& word) {
        float best = std::numeric_limits<float>::infinity();
        for (const Mfcc::Frames& t : takes) best = std::min(best, Dtw::Distance(t, word));
        return best;
    };
    const float own = distance(*standard);
    float nearestOther = std::numeric_limits<float>::infinity();
    for (const QString& word : words_) {
        if (word == key) continue;
        if (const Mfcc::Frames* other = Standard(word)) nearestOther = std::min(nearestOther, distance(*other));
    }
    result.margin = own > 0 ? nearestOther / own : std::numeric_limits<double>::infinity();
    result.stars = Stars(result.margin);
    result.standard = standard->level;
    const std::vector<size_t> match = Dtw::Align(take, *standard);
    result.aligned.reserve(match.size());
    for (size_t frame : match) result.aligned.push_back(take.level[frame]);
    return result;
}

int ReadingScore::Stars(double margin) {
    return margin >= kSureMargin ? 3 : margin >= kLikelyMargin ? 2 : 1;
}
