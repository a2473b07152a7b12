#pragma once

#include <QAccessibleWidget>

class PressablePicture;

// What a screen reader is told of a picture: an image named by its word, a
// button it can press where pressing does something, or, for a picture that
// other controls stand on, the pane that holds them.
class PictureAccessible : public QAccessibleWidget {
public:
    PictureAccessible(QWidget* widget, PressablePicture& picture);

    QAccessible::Role role() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Called by every picture control before it can be asked for; the
    // factory is installed once.
    static void Install();

private:
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    PressablePicture& picture_;
};
