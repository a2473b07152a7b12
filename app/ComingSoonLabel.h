#pragma once

#include <QLabel>

// What a view shows while its content is still being built: its name and
// a plain note, never made-up lesson content.
class ComingSoonLabel : public QLabel {
public:
    ComingSoonLabel(const QString& viewName, QWidget* parent);
};
