#include "views/PictureBox.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include "views/PictureAccessible.h"

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    PictureAccessible::Install();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage PictureBox::Fitted(const QImage& picture, const QSize& size) {
    QImage fitted(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    fitted.fill(Qt::white);
    if (picture.isNull()) return fitted;
    const QSize scaledSize = picture.size().scaled(fitted.size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((fitted.width() - scaledSize.width()) / 2, (fitted.height() - scaledSize.height()) / 2),
                       scaledSize);
    QPainter painter(&fitted);
    // Filtering while drawing is as good as smooth scaling when the picture
    // grows or shrinks a little, and twice as fast; a large reduction needs
    // the averaging of smooth scaling.
    if (scaledSize.width() * 2 >= picture.width()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    } else {
        painter.drawImage(target, picture.scaled(scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return fitted;
}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    image_ = QImage();
    update();
}

void PictureBox::ShowSameAs(const PictureBox& other) {
    picture_ = other.picture_;
    image_ = other.image_.size() == size() ? other.image_ : QImage();
    update();
}

void PictureBox::EnsureFitted() {
    if (image_.isNull() || image_.size() != size().expandedTo(QSize(1, 1))) image_ = Fitted(picture_, size());
}

QImage& PictureBox::Image() {
    EnsureFitted();
    return image_;
}

void PictureBox::Refresh() {
    repaint();
}

bool PictureBox::CanBePressed() const {
    return isSignalConnected(QMetaMethod::fromSignal(&PictureBox::clicked));
}

void PictureBox::Press() {
    emit clicked();
}

void PictureBox::paintEvent(QPaintEvent*) {
    EnsureFitted();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent*) {
    image_ = QImage();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
