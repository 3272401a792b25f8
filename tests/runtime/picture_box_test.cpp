#include "runtime/picture_box.h"

#include <gtest/gtest.h>

using platform::PictureBox;
using platform::ScaleMode;

TEST(PictureBoxSize, ASideOfZeroKeepsTheOtherAndDrawsNothing) {
    PictureBox box(ScaleMode::Twips);
    box.setWidth(1500);  // 100 pixels wide, still no height
    EXPECT_EQ(box.Width(), 1500);
    EXPECT_EQ(box.pixelWidth(), 100);
    EXPECT_TRUE(box.Image().isNull());
    box.setHeight(750);
    EXPECT_EQ(box.pixelHeight(), 50);
    EXPECT_EQ(box.Image().size(), QSize(100, 50));
    box.setHeight(0);
    EXPECT_EQ(box.pixelWidth(), 100);
    QImage source(10, 10, QImage::Format_RGB32);
    source.fill(Qt::red);
    box.PaintPicture(source, 0, 0);  // nothing to draw into, and no failure
    EXPECT_TRUE(box.Image().isNull());
}

TEST(PictureBoxSize, UnitsFollowTheOwnerAndTheBoxScale) {
    PictureBox box(ScaleMode::Pixels);
    box.setWidth(40);
    box.setHeight(20);
    EXPECT_EQ(box.Width(), 40);
    box.setOwnerScale(ScaleMode::Twips);
    EXPECT_EQ(box.Width(), 600);
    box.setScaleMode(ScaleMode::Twips);
    EXPECT_EQ(box.ScaleWidth(), 600);
    box.setLeft(-1200);
    EXPECT_EQ(box.pixelPosition().x(), -80);
}

TEST(PictureBoxDrawing, ClsShowsThePictureOverTheBackColourAndPaintScales) {
    PictureBox box(ScaleMode::Pixels);
    box.setAutoSize(true);
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    box.setBackColor(0x0000FF);  // red, as 0x00BBGGRR
    box.setPicture(picture);
    EXPECT_EQ(box.Image().size(), QSize(4, 2));
    box.setAutoSize(false);
    box.setWidth(8);
    EXPECT_EQ(box.Image().pixelColor(6, 1), QColor(Qt::red));
    EXPECT_EQ(box.Image().pixelColor(1, 1), QColor(Qt::blue));
    QImage green(2, 2, QImage::Format_RGB32);
    green.fill(Qt::green);
    box.PaintPicture(green, 4, 0, 4.0, 2.0);
    EXPECT_EQ(box.Image().pixelColor(7, 1), QColor(Qt::green));
}

TEST(PictureBoxDrawing, AtTwoDevicePixelsAPixelAPaintedPictureKeepsItsDetail) {
    PictureBox box(ScaleMode::Twips);
    box.setScaleMode(ScaleMode::Twips);
    box.setDevicePixelRatio(2);
    box.setPixelSize(10, 10);
    EXPECT_EQ(box.pixelWidth(), 10);
    ASSERT_EQ(box.Image().size(), QSize(20, 20));
    // Stripes one source pixel wide, drawn into the 10 x 10 box: each
    // stripe keeps a device pixel of its own instead of blurring to grey.
    QImage stripes(20, 20, QImage::Format_RGB32);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 20; ++y) stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    box.PaintPicture(stripes, 0, 0, 150, 150);
    EXPECT_EQ(box.Image().pixel(4, 5), qRgb(0, 0, 0));
    EXPECT_EQ(box.Image().pixel(5, 5), qRgb(255, 255, 255));
}
