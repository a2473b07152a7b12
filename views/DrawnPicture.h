#pragma once

#include <QImage>
#include <functional>

class QPainter;

// A picture drawn by paint on a transparent, antialiased square of size
// logical pixels, at the screen's device pixel ratio so that it stays sharp
// on a scaled screen: the program's button pictures are drawn rather than
// shipped. Any thread may draw one.
QImage DrawnPicture(int size, qreal devicePixelRatio, const std::function<void(QPainter&)>& paint);
