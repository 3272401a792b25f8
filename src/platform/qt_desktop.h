// The desktop on top of Qt and X11: the pointer, window placement, and
// the key lock. While the lock is on, the program's frontmost window holds
// the keyboard and the pointer (X11 grabs), so no other program can be
// reached; the grabs follow whichever of our windows is in front, so the
// password prompt still takes typing.
#pragma once

#include <QWidget>

#include "platform/desktop.h"

#include <memory>

namespace platform {

class KeyLock;

class QtDesktop final : public Desktop {
public:
    QtDesktop();
    ~QtDesktop() override;
    void setKeyLock(bool on) override;
    void parkPointer(QPoint at) override;
    void placeWindow(QWidget* window, QRect area, WindowLayer layer) override;
    bool keyLockOn() const override;

    // The window that holds the keyboard and pointer now (null when the
    // lock is off or no window of ours is on screen).
    QWidget* lockHolder() const;

private:
    std::unique_ptr<KeyLock> lock_;
};

}  // namespace platform
