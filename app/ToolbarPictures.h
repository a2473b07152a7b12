#pragma once

#include <QImage>

// The pictures of the toolbar buttons, drawn rather than shipped.
namespace ToolbarPictures {

struct Set {
    QImage bookUnit;
    QImage learn;
    QImage arrangeGame;
    QImage flipGame;
    QImage test;
    QImage help;
    QImage review;
};

// Draws them all at the screen's device pixel ratio; any thread may, once the application's font is set.
Set DrawAll(qreal devicePixelRatio);

}  // namespace ToolbarPictures
