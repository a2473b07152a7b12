#pragma once

#include <QAccessibleWidget>

class ClickableLabel;

// What a screen reader is told of a clickable label: a button named by its
// text, which it can press.
class ClickableLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickableLabelAccessible(ClickableLabel* label);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // For QAccessible::installFactory.
    static QAccessibleInterface* Create(const QString& className, QObject* object);
};
