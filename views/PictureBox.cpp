#include "views/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage PictureBox::Fitted(const QImage& picture, const QSize& size) {
    QImage fitted(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    fitted.fill(Qt::white);
    if (picture.isNull()) return fitted;
    const QImage scaled = picture.scaled(fitted.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&fitted);
    painter.drawImage((fitted.width() - scaled.width()) / 2, (fitted.height() - scaled.height()) / 2, scaled);
    return fitted;
}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    image_ = Fitted(picture_, size());
    update();
}

void PictureBox::ShowSameAs(const PictureBox& other) {
    picture_ = other.picture_;
    image_ = other.image_.size() == size() ? other.image_ : Fitted(picture_, size());
    update();
}

void PictureBox::Refresh() {
    repaint();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent*) {
    image_ = Fitted(picture_, size());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
