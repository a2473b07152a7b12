#pragma once

#include <QImage>
#include <QWidget>

#include "media/EffectSurface.h"
#include "views/PressablePicture.h"

// A picture box: shows one image at the box's own size. The transitions
// draw straight into that image and put each frame on screen at once. Its
// accessible name is left to its owner, who knows which word it shows.
class PictureBox : public QWidget, public EffectSurface, public PressablePicture {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);

    // Shows the picture scaled to fill the box (the proportions kept, the
    // rest filled with the background).
    void SetPicture(const QImage& picture);
    // Shows what the other box shows, without scaling it again.
    void ShowSameAs(const PictureBox& other);
    const QImage& Picture() const { return picture_; }
    // The picture scaled to the given size as the box would show it.
    static QImage Fitted(const QImage& picture, const QSize& size);

    QImage& Image() override;
    void Refresh() override;

    bool CanBePressed() const override;
    void Press() override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Fitting is put off until the picture is drawn or drawn into, so a
    // box that is resized or given a new picture several times before it
    // shows scales its picture once.
    void EnsureFitted();

    QImage picture_;
    QImage image_;
};
