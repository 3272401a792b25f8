#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>

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
    for (int n = 0; n < 10; ++n) {
        f.clones().Timer1_Timer();
        form.presentChanges();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(form.paintCount(), before + 1);
    EXPECT_EQ(form.grab().toImage().convertToFormat(QImage::Format_RGB32), f.clones().backBuffer());
    form.hide();
}

TEST(Presenting, FloatShowsThePictureBoxOverTheBackground) {
    DisplayFixture f;
    auto& form = f.load(QByteArray("[saver]\nmode=1\nnewBackColor=16711680\n"));  // blue
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    f.floating().FirstPicture().setPicture(picture);
    f.floating().FirstPicture().setLeft(50 * 15);
    f.floating().FirstPicture().setTop(40 * 15);
    f.presentFloat();
    QImage shown = form.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 45), QColor(Qt::yellow));
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::blue));
    f.floating().FirstPicture().setVisible(false);
    shown = form.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 45), QColor(Qt::blue));
}

// What the window system shows of the form: its backing store, as painted
// and moved, not a fresh rendering.
QImage OnScreen(display::Form1& form) {
    QCoreApplication::processEvents();
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Expected(QSize screen, const QColor& back, const QImage& picture, QPoint at) {
    QImage expected(screen, QImage::Format_RGB32);
    expected.fill(back);
    QPainter(&expected).drawImage(at, picture);
    return expected;
}

TEST(Presenting, AFloatingPictureLeavesNoTrailsWhateverTheStepsAndChanges) {
    DisplayFixture f;
    auto& form = f.load(QByteArray("[saver]\nmode=1\nnewBackColor=16711680\n"));  // blue
    form.show();
    // Every pixel different, so a picture drawn one pixel off shows.
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 6, y * 8, 255 - x * 3));
    platform::PictureBox& box = f.floating().FirstPicture();
    box.setPicture(picture);
    QPoint at(50, 40);
    const auto moveTo = [&](QPoint to) {
        at = to;
        box.setLeft(at.x() * 15);
        box.setTop(at.y() * 15);
        f.presentFloat();
    };
    moveTo(at);
    const QSize screen(200, 150);
    ASSERT_EQ(OnScreen(form), Expected(screen, Qt::blue, picture, at));

    // One step a frame in each direction, as the motion timer moves it.
    for (const QPoint step : {QPoint(1, 1), QPoint(-1, 1), QPoint(-1, -1), QPoint(1, -1)}) {
        for (int n = 0; n < 5; ++n) {
            moveTo(at + step);
            EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, picture, at))
                << "after a step to " << at.x() << ',' << at.y();
        }
    }
    // Several steps between two frames, a jump, and steps past the edge.
    for (int n = 0; n < 3; ++n) moveTo(at + QPoint(2, 1));
    EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, picture, at));
    moveTo(QPoint(120, 20));
    EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, picture, at));
    for (int n = 0; n < 3; ++n) {
        moveTo(at + QPoint(20, 20));
        EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, picture, at));
    }
    // The pixels change in place (a transition's copies), then it moves on.
    QImage changed = picture.mirrored(true, false);
    QPainter(&box.surface()).drawImage(0, 0, changed);
    moveTo(QPoint(60, 60));
    moveTo(QPoint(61, 61));
    EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, changed, at));
    box.setVisible(false);
    f.presentFloat();
    EXPECT_EQ(OnScreen(form), Expected(screen, Qt::blue, QImage(), at));
    form.hide();
}

}  // namespace
