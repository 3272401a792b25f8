// The system calls the program makes, with the values the original passed.
// Results are returned for the caller to store; nothing examines them.
#pragma once

#include <cstdint>

class QWidget;

namespace platform {

// The version record: only the platform id is filled on Linux.
struct OsVersionInfo {
    int32_t size = 0;
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;
    int32_t buildNumber = 0;
    int32_t platformId = 0;
};

// Platform ids: the consumer family (1) has no desktop guard of its own.
constexpr int32_t kPlatformConsumer = 1;
constexpr int32_t kPlatformNT = 2;

constexpr int kSpiScreenSaverRunning = 97;
constexpr intptr_t kHwndTopmost = -1;
constexpr intptr_t kHwndNoTopmost = -2;
constexpr uint32_t kSwpShowWindowNoActivate = 0x50;

class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    virtual int32_t GetVersionExA(OsVersionInfo& info) = 0;
    // Action 97 (screen saver running) with 1 turns the key lock on, with 0 off.
    virtual int32_t SystemParametersInfoA(int action, int param) = 0;
    virtual int32_t SetCursorPos(int32_t x, int32_t y) = 0;
    virtual int32_t SetWindowPos(QWidget* window, intptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                                 int32_t cy, uint32_t flags) = 0;
    // Whether the key lock is on now.
    virtual bool keyLockOn() const = 0;
};

}  // namespace platform
