#pragma once

#include <QLabel>

// What a view shows while its content is still being built: its name and
// a plain note, never made-up lesson content. Kept in the header so that
// views can show it without linking the main window's library.
class ComingSoonLabel : public QLabel {
public:
    ComingSoonLabel(const QString& viewName, QWidget* parent) : QLabel(parent) {
        setText(QStringLiteral("<h2>%1</h2><p>这一部分还在制作中，敬请期待。</p>").arg(viewName.toHtmlEscaped()));
        setAlignment(Qt::AlignCenter);
        setAccessibleName(viewName);
    }
};
