#pragma once

#include <QWidget>

// Text that is also a button: a click, or Enter or Space once Tab has given
// it the keyboard focus, works it. It draws its plain text itself, in its font and
// its palette's WindowText colour (which a style sheet's colour sets): a
// focusable QLabel would build a whole text document for it. Screen readers
// hear a button named by its text.
class ClickableLabel : public QWidget {
    Q_OBJECT
public:
    ClickableLabel(const QString& text, QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText(QString()); }
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};
