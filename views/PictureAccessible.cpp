#include "views/PictureAccessible.h"

#include <QWidget>

#include "views/PressablePicture.h"

PictureAccessible::PictureAccessible(QWidget* widget, PressablePicture& picture)
    : QAccessibleWidget(widget, QAccessible::Graphic), picture_(picture) {}

// Asked each time: a picture may be given its click after it was first read.
QAccessible::Role PictureAccessible::role() const {
    if (picture_.CanBePressed()) return QAccessible::Button;
    if (widget()->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) return QAccessible::Pane;
    return QAccessible::Graphic;
}

QStringList PictureAccessible::actionNames() const {
    if (!picture_.CanBePressed()) return QAccessibleWidget::actionNames();
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void PictureAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && picture_.CanBePressed()) {
        picture_.Press();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

void PictureAccessible::Install() {
    static const bool installed = (QAccessible::installFactory(Create), true);
    Q_UNUSED(installed);
}

QAccessibleInterface* PictureAccessible::Create(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* picture = dynamic_cast<PressablePicture*>(object);
    return picture ? new PictureAccessible(static_cast<QWidget*>(object), *picture) : nullptr;
}
