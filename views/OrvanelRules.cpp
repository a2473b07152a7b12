#include "views/OrvanelRules.h"

#include <algorithm>

#include "core/LessonState.h"
#include "core/RandomSource.h"
#include "media/MediaStore.h"
#include "media/modTransEffects.h"

OrvanelRules::OrvanelRules(LessonState& state, RandomSource& random) : state_(state), random_(random) {}

qint16 OrvanelRules::PageStart() const {
    return static_cast<qint16>(std::max<int>(state_.CurWordIndex, 0) / kThumbnails * kThumbnails);
}

qint16 OrvanelRules::PageSize() const {
    return static_cast<qint16>(std::clamp(state_.WordCount - PageStart(), 0, kThumbnails));
}

std::vector<PictureRequest> OrvanelRules::EntrancePictures(qreal devicePixelRatio) const {
    std::vector<PictureRequest> requests{{MediaStore::kDefaultPicture, QSize()}};
    const QSize thumbnail = ThumbnailDecodeSize(devicePixelRatio);
    const int current = state_.CurWordIndex;
    if (state_.WordCount <= 0 || current < 0 || current >= static_cast<int>(state_.Words.size())) {
        requests.push_back({MediaStore::kDefaultPicture, QSize()});
        return requests;
    }
    for (int i = PageStart(); i < PageStart() + PageSize(); ++i) requests.push_back({state_.Words[i].English, thumbnail});
    const QString word = state_.Words[current].English.trimmed();
    requests.push_back({word, QSize()});
    if (!state_.CurEnglish.isEmpty() && state_.CurEnglish != word) requests.push_back({state_.CurEnglish, QSize()});
    return requests;
}

OrvanelRules::NavButtons OrvanelRules::SetNavButtons(qint16 index) const {
    if (state_.WordCount <= 0) return {};
    if (index == state_.WordCount - 1) return {true, true, false, false};
    if (state_.CurWordIndex == 0) return {false, false, true, true};
    return {true, true, true, true};
}

bool OrvanelRules::NextWord(bool shuffle) {
    if (state_.WordCount <= 0) return false;
    if (shuffle) {
        state_.CurWordIndex = static_cast<qint16>(random_.Draw(state_.WordCount));
    } else {
        state_.CurWordIndex = static_cast<qint16>(state_.CurWordIndex + 1);
        if (state_.CurWordIndex >= state_.WordCount) state_.CurWordIndex = 0;
    }
    return true;
}

bool OrvanelRules::PrevWord(bool shuffle) {
    if (state_.WordCount <= 0) return false;
    if (shuffle) {
        state_.CurWordIndex = static_cast<qint16>(random_.Draw(state_.WordCount));
        return true;
    }
    if (state_.CurWordIndex <= 0) return false;
    state_.CurWordIndex = static_cast<qint16>(state_.CurWordIndex - 1);
    return true;
}

bool OrvanelRules::NextPage() {
    if (PageStart() + PageSize() >= state_.WordCount) return false;
    state_.CurWordIndex = static_cast<qint16>(PageStart() + PageSize());
    return true;
}

bool OrvanelRules::PrevPage() {
    if (PageStart() < 1) return false;
    state_.CurWordIndex = static_cast<qint16>(PageStart() - 1);
    return true;
}

int OrvanelRules::RandomDirection() {
    static constexpr int kDirections[] = {1, 2, 4, 8};
    return kDirections[random_.Draw(4)];
}

int OrvanelRules::RandomVariant() {
    return random_.Draw(2) + 1;
}

OrvanelRules::EffectChoice OrvanelRules::ChooseEffect() {
    const int k = random_.Draw(12);
    switch (k) {
    case 0: return {k, RandomDirection(), 5, 0, 1};
    case 1: return {k, RandomVariant(), 4, 0, 1};
    case 2: return {k, RandomVariant(), 4, 0, 1};
    case 3: return {k, RandomVariant(), 2, 0, 1};
    case 4: return {k, RandomVariant(), 5, 1, 1};
    case 5: return {k, RandomVariant(), 5, 1, 1};
    case 6: return {k, RandomDirection(), 1, 20, 50};
    case 7: return {k, 1, 30, 0, 1};
    case 8: return {k, 2, 5, 0, 1};
    case 9: return {k, 3, 25, 0, 1};
    case 10: return {k, 4, 10, 0, 1};
    default: return {k, 5, 10, 0, 1};
    }
}

void OrvanelRules::PlayRandomEffect(modTransEffects& effects, EffectSurface& picture1, const QImage& picture2) {
    const EffectChoice c = ChooseEffect();
    effects.EffectInterval = c.interval;
    switch (c.effect) {
    case 0: effects.WipeEffect(picture1, picture2, c.argument, c.step); break;
    case 1: effects.SplitCloseEffect(picture1, picture2, c.argument, c.step); break;
    case 2: effects.SplitOpenEffect(picture1, picture2, c.argument, c.step); break;
    case 3: effects.RandomLinesEffect(picture1, picture2, c.argument, c.step); break;
    case 4: effects.InterleaveWipeEffect(picture1, picture2, c.argument, c.step, c.band, true); break;
    case 5: effects.InterleaveSlideEffect(picture1, picture2, c.argument, c.step, c.band, true); break;
    case 6: effects.BlindsEffect(picture1, picture2, c.argument, c.step, c.band); break;
    default: effects.MaskShapeEffect(picture1, picture2, c.argument, c.step); break;
    }
}

int OrvanelRules::FitTextSize(int startSize, const std::function<bool(int size)>& fits) {
    int size = startSize;
    while (size - 2 >= kSmallestSize && !fits(size)) size -= 2;
    return size;
}

QChar OrvanelRules::NextLetter(const QString& caption, const QString& word) {
    if (caption == word) return QChar();
    // A caption that is not the start of the word (the word changed under
    // the animation) is spelled no further: the word shows complete.
    if (!word.startsWith(caption) || caption.size() >= word.size()) return QChar();
    return word.at(caption.size());
}

bool OrvanelRules::IsSpokenLetter(QChar letter) {
    const QChar upper = letter.toUpper();
    return upper >= QLatin1Char('A') && upper <= QLatin1Char('Z');
}

OrvanelRules::KeyMove OrvanelRules::MoveForKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        return KeyMove::Prev;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return KeyMove::Next;
    default:
        return KeyMove::None;
    }
}
