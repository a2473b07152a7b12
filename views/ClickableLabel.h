#pragma once

#include <QLabel>

// A label that is also a button: it can be clicked, and when it takes the
// keyboard focus, Enter or Space work it too.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
