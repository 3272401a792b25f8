// The system calls on top of Qt and X11: the pointer, window placement, and
// the key lock. While the lock is on, the program's frontmost window holds
// the keyboard and the pointer (X11 grabs), so no other program can be
// reached; the grabs follow whichever of our windows is in front, so the
// password prompt still takes typing.
#pragma once

#include <QWidget>

#include "platform/system_calls.h"

#include <memory>
#include <utility>
#include <vector>

namespace platform {

class KeyLock;

class QtSystemCalls final : public SystemCalls {
public:
    QtSystemCalls();
    ~QtSystemCalls() override;
    int32_t SystemParametersInfoA(int action, int param) override;
    int32_t SetCursorPos(int32_t x, int32_t y) override;
    int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                         uint32_t flags) override;
    bool keyLockOn() const override;

    // The window that holds the keyboard and pointer now (null when the
    // lock is off or no window of ours is on screen).
    QWidget* lockHolder() const;

private:
    std::unique_ptr<KeyLock> lock_;
};

// Records every call; the key lock is a flag.
class RecordingSystemCalls final : public SystemCalls {
public:
    int32_t SystemParametersInfoA(int action, int param) override;
    int32_t SetCursorPos(int32_t x, int32_t y) override;
    int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                         uint32_t flags) override;
    bool keyLockOn() const override { return keyLock; }

    bool keyLock = false;
    int lockCalls = 0;
    int unlockCalls = 0;
    struct WindowPos { intptr_t insertAfter; int32_t x, y, cx, cy; uint32_t flags; };
    std::vector<WindowPos> windowPositions;
    std::vector<std::pair<int32_t, int32_t>> cursorPositions;
};

}  // namespace platform
