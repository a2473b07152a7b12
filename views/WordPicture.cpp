#include "views/WordPicture.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include "views/PictureAccessible.h"

WordPicture::WordPicture(QWidget* parent) : QWidget(parent) {
    PictureAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void WordPicture::SetPicture(const QImage& picture, const QString& word) {
    picture_ = picture;
    word_ = word;
    setAccessibleName(word);
    update();
}

void WordPicture::SetBorder(bool border) {
    border_ = border;
    update();
}

bool WordPicture::CanBePressed() const {
    return isSignalConnected(QMetaMethod::fromSignal(&WordPicture::clicked));
}

void WordPicture::Press() {
    emit clicked();
}

void WordPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull()) painter.drawImage(rect(), picture_);
    if (border_) {
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void WordPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

void WordPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void WordPicture::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        emit clicked();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Where a double click means nothing, Enter goes on to the window
        // (a dialog's default button).
        if (isSignalConnected(QMetaMethod::fromSignal(&WordPicture::doubleClicked)))
            emit doubleClicked();
        else
            event->ignore();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
