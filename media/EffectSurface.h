#pragma once

#include <QImage>

// A picture box as the transition effects see it: the image they draw into,
// and a way to put that image on screen before the next frame is drawn.
class EffectSurface {
public:
    virtual ~EffectSurface() = default;
    virtual QImage& Image() = 0;
    virtual void Refresh() = 0;
};
