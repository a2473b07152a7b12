#pragma once

#include <QIcon>
#include <functional>

class QPainter;

// An icon drawn by paint on a transparent, antialiased square of size
// pixels: the program's button pictures are drawn rather than shipped.
QIcon DrawnIcon(int size, const std::function<void(QPainter&)>& paint);
