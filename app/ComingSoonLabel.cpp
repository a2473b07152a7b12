#include "app/ComingSoonLabel.h"

ComingSoonLabel::ComingSoonLabel(const QString& viewName, QWidget* parent) : QLabel(parent) {
    setText(QStringLiteral("<h2>%1</h2><p>这一部分还在制作中，敬请期待。</p>").arg(viewName.toHtmlEscaped()));
    setAlignment(Qt::AlignCenter);
    setAccessibleName(viewName);
}
