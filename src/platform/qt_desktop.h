// The desktop on top of Qt and X11: the pointer, window placement, and
// the key lock. While the lock is on, the program's frontmost window holds
// the keyboard and the pointer (X11 grabs), so no other program can be
// reached; the grabs follow whichever of our windows is in front, so the
// password prompt still takes typing.
#pragma once

#include <QWidget>

#include "platform/desktop.h"

#include <memory>
#include <vector>

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

// Records every call; the key lock is a flag.
class RecordingDesktop final : public Desktop {
public:
    void setKeyLock(bool on) override;
    void parkPointer(QPoint at) override;
    void placeWindow(QWidget* window, QRect area, WindowLayer layer) override;
    bool keyLockOn() const override { return keyLock; }

    bool keyLock = false;
    int lockCalls = 0;
    int unlockCalls = 0;
    struct Placement {
        QRect area;
        WindowLayer layer;
    };
    std::vector<Placement> placements;
    std::vector<QPoint> pointerPositions;
};

}  // namespace platform
