// The system calls on top of Qt and X11: the pointer, window placement, and
// the key lock (while it is on, the saver window holds the keyboard and the
// pointer, so no other program can be reached).
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/system_calls.h"

#include <utility>
#include <vector>

namespace platform {

class QtSystemCalls final : public SystemCalls {
public:
    int32_t GetVersionExA(OsVersionInfo& info) override;
    int32_t SystemParametersInfoA(int action, int param) override;
    int32_t SetCursorPos(int32_t x, int32_t y) override;
    int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                         uint32_t flags) override;
    bool keyLockOn() const override { return keyLock_; }

    // The window that holds the keyboard and pointer while the lock is on.
    void setLockWindow(QWidget* window);
    // Grabs again (after a window was shown, or focus moved to the prompt).
    void applyLock();

private:
    void releaseLock();

    bool keyLock_ = false;
    QPointer<QWidget> lockWindow_;
};

// Records every call; the key lock is a flag.
class RecordingSystemCalls final : public SystemCalls {
public:
    int32_t GetVersionExA(OsVersionInfo& info) override;
    int32_t SystemParametersInfoA(int action, int param) override;
    int32_t SetCursorPos(int32_t x, int32_t y) override;
    int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                         uint32_t flags) override;
    bool keyLockOn() const override { return keyLock; }

    int32_t platformId = kPlatformConsumer;
    bool keyLock = false;
    int lockCalls = 0;
    int unlockCalls = 0;
    struct WindowPos { intptr_t insertAfter; int32_t x, y, cx, cy; uint32_t flags; };
    std::vector<WindowPos> windowPositions;
    std::vector<std::pair<int32_t, int32_t>> cursorPositions;
};

}  // namespace platform
