#include <gtest/gtest.h>

#include <QCoreApplication>

#include "display/form1.h"
#include "display_fixture.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

TEST(Presenting, ManyTicksBetweenFramesCostOnePaintShowingTheLatest) {
    DisplayFixture f;
    f.makePictures(1);
    auto& form = f.load(Ini(0, 1, 5));
    form.show();
    QCoreApplication::processEvents();
    const int before = form.paintCount();
    for (int n = 0; n < 10; ++n) form.Timer1_Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.paintCount(), before + 1);
    EXPECT_EQ(form.grab().toImage().convertToFormat(QImage::Format_RGB32), form.backBuffer());
    form.hide();
}

TEST(Presenting, FloatShowsThePictureBoxOverTheBackground) {
    DisplayFixture f;
    auto& form = f.load(QByteArray("[saver]\nmode=1\nnewBackColor=16711680\n"));  // blue
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    form.FirstPicture().setPicture(picture);
    form.FirstPicture().setLeft(50 * 15);
    form.FirstPicture().setTop(40 * 15);
    form.presentPictures();
    QImage shown = form.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 45), QColor(Qt::yellow));
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::blue));
    form.FirstPicture().setVisible(false);
    shown = form.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 45), QColor(Qt::blue));
}

}  // namespace
