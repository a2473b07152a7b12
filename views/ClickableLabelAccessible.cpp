#include "views/ClickableLabelAccessible.h"

#include "views/ClickableLabel.h"

ClickableLabelAccessible::ClickableLabelAccessible(ClickableLabel* label)
    : QAccessibleWidget(label, QAccessible::Button) {}

QStringList ClickableLabelAccessible::actionNames() const {
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void ClickableLabelAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        emit static_cast<ClickableLabel*>(widget())->clicked();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface* ClickableLabelAccessible::Create(const QString& className, QObject* object) {
    if (className != QLatin1String("ClickableLabel") || !object || !object->isWidgetType()) return nullptr;
    return new ClickableLabelAccessible(static_cast<ClickableLabel*>(object));
}
