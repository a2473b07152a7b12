#include "views/FocusHandBack.h"

#include <QWidget>

void HandFocusBack(QWidget* control, QWidget* keeper) {
    if (control != keeper && control->window()->focusWidget() == control) keeper->setFocus(Qt::OtherFocusReason);
}

void SetUsable(QWidget* control, bool usable, QWidget* keeper) {
    if (!usable) HandFocusBack(control, keeper);
    control->setEnabled(usable);
}
