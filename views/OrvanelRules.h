#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

#include "media/PicturePrefetch.h"

class EffectSurface;
class RandomSource;
class modTransEffects;
struct LessonState;

// The rules of the listen-and-read view, apart from its widgets: where the
// next word is, which buttons may be used, which thumbnails show, which
// transition plays, how big the texts are and how the spelling is animated.
class OrvanelRules {
public:
    static constexpr int kThumbnails = 8;
    static constexpr int kEnglishStartSize = 36;
    static constexpr int kChineseStartSize = 26;
    static constexpr int kSmallestSize = 8;
    // The largest a thumbnail's picture gets, whatever the window's size.
    static constexpr QSize kThumbMax{160, 120};
    // The size thumbnails are decoded within on a screen of this pixel ratio.
    static QSize ThumbnailDecodeSize(qreal devicePixelRatio) { return kThumbMax * devicePixelRatio; }

    struct NavButtons {
        bool first = false;
        bool prev = false;
        bool next = false;
        bool last = false;
    };

    // One transition as PlayRandomEffect chose it.
    struct EffectChoice {
        int effect = 0;       // row of the table, 0 to 11
        int argument = 0;     // direction, or the mask mode
        int step = 0;         // step, or lines per frame for the mask
        int band = 0;
        qint32 interval = 1;  // EffectInterval for this effect
    };

    OrvanelRules(LessonState& state, RandomSource& random);

    // The thumbnail page of CurWordIndex.
    qint16 PageStart() const;
    qint16 PageSize() const;

    NavButtons SetNavButtons(qint16 index) const;

    // The pictures the view loads when it first shows the unit, in the order
    // it loads them: the default picture, the current page's thumbnails
    // (decoded for a screen of that pixel ratio), the current word's picture,
    // and the word shown before it when that is another.
    std::vector<PictureRequest> EntrancePictures(qreal devicePixelRatio) const;

    // Move CurWordIndex; false when it stays (the first word, in order).
    bool NextWord(bool shuffle);
    bool PrevWord(bool shuffle);
    // The first word of the next page or the last of the previous one;
    // false when there is no such page ("没有了！").
    bool NextPage();
    bool PrevPage();

    int RandomDirection();
    int RandomVariant();
    EffectChoice ChooseEffect();
    void PlayRandomEffect(modTransEffects& effects, EffectSurface& picture1, const QImage& picture2);

    // The largest size from start down in steps of 2 at which the text fits
    // (measured by fits), but never below kSmallestSize.
    static int FitTextSize(int startSize, const std::function<bool(int size)>& fits);

    // The character the spelling animation appends next to caption, or a
    // null QChar when caption already reads the whole word.
    static QChar NextLetter(const QString& caption, const QString& word);

    // The move a key makes: Left and Up go back; Right, Down, Enter and
    // Space go on.
    enum class KeyMove { None, Prev, Next };
    static KeyMove MoveForKey(int key);
    static bool IsSpokenLetter(QChar letter);

private:
    LessonState& state_;
    RandomSource& random_;
};
