#include "platform/qt_system_calls.h"

#include "platform/key_lock.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace platform {

QtSystemCalls::QtSystemCalls() : lock_(std::make_unique<KeyLock>()) {}
QtSystemCalls::~QtSystemCalls() = default;

int32_t QtSystemCalls::SystemParametersInfoA(int action, int param) {
    if (action != kSpiScreenSaverRunning) return 0;
    lock_->setOn(param != 0);
    return 1;
}

bool QtSystemCalls::keyLockOn() const { return lock_->on(); }
QWidget* QtSystemCalls::lockHolder() const { return lock_->holder(); }

int32_t QtSystemCalls::SetCursorPos(int32_t x, int32_t y) {
    // The system keeps the pointer on the screen: a point past the
    // bottom-right corner leaves it at the last pixel.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        QCursor::setPos(std::clamp(x, r.left(), r.right()), std::clamp(y, r.top(), r.bottom()));
        return 1;
    }
    return 0;
}

int32_t QtSystemCalls::SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                                    int32_t cy, uint32_t flags) {
    if (!window) return 0;
    // A size past the screen (the Float effect hands over twips) still just
    // covers the screen: nothing beyond it could be seen.
    QRect wanted(x, y, std::max(cx, 1), std::max(cy, 1));
    // The monitor is the one the window's new corner lies on.
    QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
    if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) wanted = wanted.intersected(screen->geometry());
    window->setGeometry(wanted);
    // Stacking is changed by raising, never by switching the stay-on-top
    // hint of a window on screen: that recreates the native window, which
    // blinks the display away and drops the key lock's grabs.
    const bool topmost = insertAfter == kHwndTopmost;
    if (!window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topmost)
        window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (flags & 0x40) window->show();  // SWP_SHOWWINDOW
    // Not topmost leaves the window where it is: in front of other
    // programs, behind any window of ours shown later.
    if (topmost) window->raise();
    return 1;
}

int32_t RecordingSystemCalls::SystemParametersInfoA(int action, int param) {
    if (action != kSpiScreenSaverRunning) return 0;
    keyLock = param != 0;
    ++(keyLock ? lockCalls : unlockCalls);
    return 1;
}

int32_t RecordingSystemCalls::SetCursorPos(int32_t x, int32_t y) {
    cursorPositions.emplace_back(x, y);
    return 1;
}

int32_t RecordingSystemCalls::SetWindowPos(QWidget*, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                                           int32_t cy, uint32_t flags) {
    windowPositions.push_back({insertAfter, x, y, cx, cy, flags});
    return 1;
}

}  // namespace platform
