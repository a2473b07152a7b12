#include "views/ChangeStyleSheet.h"

#include <QWidget>

void ChangeStyleSheet(QWidget* widget, const QString& sheet) {
    if (widget->styleSheet() != sheet) widget->setStyleSheet(sheet);
}
