#pragma once

#include "tests/support/QtApp.h"

// The smallest point size of any text a pupil reads in a window: its labels,
// buttons and lists.
inline int SmallestTextPointSize(const QWidget& window) {
    int smallest = 1000;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget))
            smallest = std::min(smallest, widget->font().pointSize());
    }
    return smallest;
}
