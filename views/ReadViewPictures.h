#pragma once

#include <QImage>

// The pictures of the listen-and-read view's image buttons, drawn rather
// than shipped: page arrows and the recorder panel's buttons.
namespace ReadViewPictures {

struct Set {
    QImage pagePrev;
    QImage pageNext;
    QImage speaker;
    QImage myVoice;
    QImage both;
    QImage record;
    QImage readGood;
    QImage readBad;
};

// Draws all eight at the screen's device pixel ratio; any thread may, once the application exists.
Set DrawAll(qreal devicePixelRatio);

}  // namespace ReadViewPictures
