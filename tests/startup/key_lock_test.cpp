#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/qt_desktop.h"

// The key lock's grabs follow the window of ours that is in front: the
// display, then the password prompt over it, then the display again.
TEST(KeyLock, TheGrabsFollowTheWindowInFront) {
    platform::QtDesktop desktop;
    QWidget display;
    QWidget prompt;
    desktop.setKeyLock(true);  // before the display shows
    EXPECT_TRUE(desktop.keyLockOn());
    EXPECT_EQ(desktop.lockHolder(), nullptr);
    display.show();
    EXPECT_EQ(desktop.lockHolder(), &display);
    prompt.show();
    EXPECT_EQ(desktop.lockHolder(), &prompt);
    prompt.hide();
    EXPECT_EQ(desktop.lockHolder(), &display);
    prompt.show();
    desktop.setKeyLock(false);
    EXPECT_FALSE(desktop.keyLockOn());
    EXPECT_EQ(desktop.lockHolder(), nullptr);
    prompt.hide();
    EXPECT_EQ(desktop.lockHolder(), nullptr);
}

TEST(KeyLock, SwitchedOnWhileAWindowIsShownItHoldsThatWindow) {
    QWidget display;
    display.show();
    platform::QtDesktop desktop;  // made after the window was shown
    desktop.setKeyLock(true);
    EXPECT_EQ(desktop.lockHolder(), &display);
    desktop.setKeyLock(false);
}

namespace {

// Counts the times a window leaves the screen.
struct HideCounter : QObject {
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) ++hides;
        return false;
    }
};

}  // namespace

// Changing the stacking keeps the display on screen in its native window:
// recreating it would blink the display away and drop the grabs.
TEST(PlaceWindow, StackingKeepsTheDisplayOnScreen) {
    platform::QtDesktop desktop;
    QWidget display(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
    display.show();
    HideCounter counter;
    display.installEventFilter(&counter);
    const WId before = display.winId();
    desktop.placeWindow(&display, QRect(0, 0, 200, 100), platform::WindowLayer::InPlace);
    desktop.placeWindow(&display, QRect(0, 0, 200, 100), platform::WindowLayer::OnTop);
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(display.winId(), before);
    EXPECT_TRUE(display.isVisible());
    EXPECT_EQ(display.size(), QSize(200, 100));
}
