#include "views/ImageButton.h"

#include <QToolButton>

QToolButton* ImageButton(const QImage& picture, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon(QPixmap::fromImage(picture)));
    button->setIconSize(QSize(40, 40));
    button->setAutoRaise(true);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
