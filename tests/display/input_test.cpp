#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "display/form1.h"
#include "display_fixture.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

void sendMove(QWidget& w, QPointF at) {
    QMouseEvent e(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}
void sendClick(QWidget& w, QPointF at) {
    QMouseEvent e(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

TEST(Input, ClicksAndKeysAskToEnd) {
    DisplayFixture f;
    f.makePictures(1);
    auto& form = f.load(Ini(0, 1, 1));
    sendClick(form, QPointF(10, 10));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &key);
    EXPECT_EQ(f.host.exitRequests, 2);
}

TEST(Input, MoveFilterCountsOnlyLongMovesFromAKnownPlace) {
    DisplayFixture f;
    f.makePictures(1);
    auto& form = f.load(Ini(0, 1, 1));
    form.Form_MouseMove(0, 0, 50, 50);  // first event only records
    EXPECT_EQ(f.host.countedMoves, 0);
    form.Form_MouseMove(0, 0, 53, 47);  // 3 units: not enough
    EXPECT_EQ(f.host.countedMoves, 0);
    form.Form_MouseMove(0, 0, 53, 51.5f);
    EXPECT_EQ(f.host.countedMoves, 1);
    form.Form_MouseMove(0, 0, 0, 40);
    form.Form_MouseMove(0, 0, 90, 40);  // the previous X was 0
    EXPECT_EQ(f.host.countedMoves, 2);
    // The picture's handler keeps its own last position.
    form.FirstPicture_MouseMove(0, 0, 90, 90);
    EXPECT_EQ(f.host.countedMoves, 2);
    form.FirstPicture_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(f.host.countedMoves, 3);
}

TEST(Input, FloatCountsInTwipsAndAClickEndsOnThePictureToo) {
    DisplayFixture f;
    auto& form = f.load(Ini(1, 1, 1), QSize(400, 300));
    QImage picture(50, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    f.floating().FirstPicture().setPicture(picture);
    f.floating().FirstPicture().setLeft(100 * 15);
    f.floating().FirstPicture().setTop(100 * 15);
    // One pixel on the form is 15 twips: every move of a pixel counts.
    sendMove(form, QPointF(10, 10));
    sendMove(form, QPointF(11, 10));
    EXPECT_EQ(f.host.countedMoves, 1);
    // Over the picture, its own handler in pixels: 1 pixel is not enough.
    sendMove(form, QPointF(110, 110));
    sendMove(form, QPointF(111, 110));
    EXPECT_EQ(f.host.countedMoves, 1);
    sendMove(form, QPointF(120, 110));
    EXPECT_EQ(f.host.countedMoves, 2);
    sendClick(form, QPointF(120, 110));
    EXPECT_EQ(f.host.exitRequests, 1);
    sendClick(form, QPointF(300, 250));
    EXPECT_EQ(f.host.exitRequests, 2);
}

TEST(Input, WideScreenTwipPositionsDoNotOverflow) {
    DisplayFixture f;
    auto& form = f.load(Ini(1, 1, 1), QSize(3840, 2160));
    EXPECT_NO_THROW(form.Form_MouseMove(0, 0, 3000 * 15, 2000 * 15));
    EXPECT_NO_THROW(form.Form_MouseMove(0, 0, 3800 * 15, 2100 * 15));
}

}  // namespace
