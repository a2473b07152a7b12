#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/support/QtApp.h"
#include "views/PictureBox.h"

namespace {

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter(&picture).fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return picture;
}

int Grey(QRgb pixel) {
    return qGray(pixel);
}

}  // namespace

TEST(PictureBoxFitted, GrowsThePictureCentredAndKeepsItsProportions) {
    const QImage fitted = PictureBox::Fitted(Halves(400, 300), QSize(900, 600));
    ASSERT_EQ(fitted.size(), QSize(900, 600));
    // 800 × 600 centred: white bars of 50 pixels at the sides.
    EXPECT_EQ(fitted.pixel(20, 300), qRgb(255, 255, 255));
    EXPECT_EQ(fitted.pixel(880, 300), qRgb(255, 255, 255));
    EXPECT_EQ(fitted.pixel(60, 300), qRgb(255, 0, 0));
    EXPECT_EQ(fitted.pixel(440, 10), qRgb(255, 0, 0));
    EXPECT_EQ(fitted.pixel(460, 590), qRgb(0, 0, 255));
    EXPECT_EQ(fitted.pixel(840, 300), qRgb(0, 0, 255));
}

// A fine pattern shrunk eightfold must come out as its average, not as
// whichever of its pixels happen to be picked.
TEST(PictureBoxFitted, ALargeReductionAveragesInsteadOfPicking) {
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x) stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const QImage fitted = PictureBox::Fitted(stripes, QSize(200, 150));
    for (const QPoint at : {QPoint(10, 10), QPoint(100, 75), QPoint(190, 140)})
        EXPECT_NEAR(Grey(fitted.pixel(at)), 128, 20) << at.x() << "," << at.y();
}

TEST(PictureBox, ShowsThePictureAtTheSizeItEndsWith) {
    EnsureQtApp();
    PictureBox box(nullptr);
    box.resize(100, 100);
    box.SetPicture(Halves(400, 300));
    box.resize(300, 200);
    box.resize(600, 450);
    ASSERT_EQ(box.Image().size(), QSize(600, 450));
    EXPECT_EQ(box.Image().pixel(100, 225), qRgb(255, 0, 0));
    EXPECT_EQ(box.Image().pixel(500, 225), qRgb(0, 0, 255));

    // Drawn into (as a transition does), the drawing stays until the box
    // is given another picture or size.
    box.Image().fill(Qt::green);
    EXPECT_EQ(box.Image().pixel(5, 5), qRgb(0, 255, 0));
    PictureBox other(nullptr);
    other.resize(600, 450);
    other.ShowSameAs(box);
    EXPECT_EQ(other.Image().pixel(5, 5), qRgb(0, 255, 0)) << "the same frame, not the picture fitted again";
    box.SetPicture(Halves(40, 30));
    EXPECT_EQ(box.Image().pixel(500, 225), qRgb(0, 0, 255));
}
