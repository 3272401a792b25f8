#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/qt_system_calls.h"

// The key lock's grabs follow the window of ours that is in front: the
// display, then the password prompt over it, then the display again.
TEST(KeyLock, TheGrabsFollowTheWindowInFront) {
    platform::QtSystemCalls system;
    QWidget display;
    QWidget prompt;
    system.setKeyLock(true);  // before the display shows
    EXPECT_TRUE(system.keyLockOn());
    EXPECT_EQ(system.lockHolder(), nullptr);
    display.show();
    EXPECT_EQ(system.lockHolder(), &display);
    prompt.show();
    EXPECT_EQ(system.lockHolder(), &prompt);
    prompt.hide();
    EXPECT_EQ(system.lockHolder(), &display);
    prompt.show();
    system.setKeyLock(false);
    EXPECT_FALSE(system.keyLockOn());
    EXPECT_EQ(system.lockHolder(), nullptr);
    prompt.hide();
    EXPECT_EQ(system.lockHolder(), nullptr);
}

TEST(KeyLock, SwitchedOnWhileAWindowIsShownItHoldsThatWindow) {
    QWidget display;
    display.show();
    platform::QtSystemCalls system;  // made after the window was shown
    system.setKeyLock(true);
    EXPECT_EQ(system.lockHolder(), &display);
    system.setKeyLock(false);
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
    platform::QtSystemCalls system;
    QWidget display(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
    display.show();
    HideCounter counter;
    display.installEventFilter(&counter);
    const WId before = display.winId();
    system.placeWindow(&display, QRect(0, 0, 200, 100), platform::WindowLayer::InPlace);
    system.placeWindow(&display, QRect(0, 0, 200, 100), platform::WindowLayer::OnTop);
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(display.winId(), before);
    EXPECT_TRUE(display.isVisible());
    EXPECT_EQ(display.size(), QSize(200, 100));
}
