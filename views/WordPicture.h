#pragma once

#include <QImage>
#include <QWidget>

#include "views/PressablePicture.h"

// A word's picture, stretched to fill the control. A click (or Space) and a
// double click (or Enter) are reported, so that every use of a picture also
// has a keyboard path. Its accessible name is the word it shows; a screen
// reader presses it as a click.
class WordPicture : public QWidget, public PressablePicture {
    Q_OBJECT
public:
    explicit WordPicture(QWidget* parent);

    void SetPicture(const QImage& picture, const QString& word);
    void SetBorder(bool border);
    bool HasBorder() const { return border_; }
    QString Word() const { return word_; }

    bool CanBePressed() const override;
    void Press() override;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    QString word_;
    bool border_ = false;
};
