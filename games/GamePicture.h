#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "views/PressablePicture.h"

// A picture drawn to fill its box without distortion (the edges that do not
// fit are cut off). With a click handler it also takes the keyboard focus
// and answers Space like a click (Enter stays with a dialog's default button),
// and a screen reader hears a button it can press.
class GamePicture : public QWidget, public PressablePicture {
public:
    explicit GamePicture(QWidget* parent);

    void SetPicture(const QImage& picture);
    void Clear();
    const QImage& Picture() const { return picture_; }
    void SetCornerRadius(int radius);
    void SetClickHandler(std::function<void()> handler);

    bool CanBePressed() const override;
    void Press() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    int radius_ = 0;
    std::function<void()> clicked_;
};
