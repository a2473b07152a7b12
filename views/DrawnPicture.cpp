#include "views/DrawnPicture.h"

#include <QPainter>
#include <cmath>

QImage DrawnPicture(int size, qreal devicePixelRatio, const std::function<void(QPainter&)>& paint) {
    const int pixels = static_cast<int>(std::ceil(size * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return image;
}
