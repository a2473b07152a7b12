#pragma once

#include <QImage>
#include <functional>

class QPainter;

// A picture drawn by paint on a transparent, antialiased square of size
// pixels: the program's button pictures are drawn rather than shipped. Any
// thread may draw one.
QImage DrawnPicture(int size, const std::function<void(QPainter&)>& paint);
