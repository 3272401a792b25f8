// What the display asks of the program's start-up module: the platform
// family, the stored results of system calls, and the exit routines that
// its input handlers call.
#pragma once

#include <QString>

#include <cstdint>

namespace display {

class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    virtual void ReadPlatform() = 0;
    virtual int32_t platformId() const = 0;
    virtual void setApiResult(int32_t result) = 0;
    virtual void setWindowResult(int32_t result) = 0;
    virtual void RequestExit() = 0;
    virtual void CountMouseMove() = 0;
    // A failure that would end the display while the screen is locked: the
    // host shows `message` on the still covered, still locked screen and the
    // program ends only through the password. False when nothing is locked,
    // and the display ends as before.
    virtual bool ShowFailureLocked(const QString& message) { (void)message; return false; }
};

}  // namespace display
