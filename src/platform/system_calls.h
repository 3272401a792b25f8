// The system calls the program makes, with the values the original passed.
// Results are returned for the caller to store; nothing examines them.
#pragma once

#include <cstdint>

class QWidget;

namespace platform {

constexpr int kSpiScreenSaverRunning = 97;
constexpr intptr_t kHwndTopmost = -1;
constexpr intptr_t kHwndNoTopmost = -2;
constexpr uint32_t kSwpShowWindowNoActivate = 0x50;

class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    // Action 97 (screen saver running) with 1 turns the key lock on, with 0 off.
    virtual int32_t SystemParametersInfoA(int action, int param) = 0;
    virtual int32_t SetCursorPos(int32_t x, int32_t y) = 0;
    virtual int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                                 int32_t cy, uint32_t flags) = 0;
    // Whether the key lock is on now.
    virtual bool keyLockOn() const = 0;
};

}  // namespace platform
