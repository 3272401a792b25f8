// What the display asks of the program's start-up module: the platform
// family, the stored results of system calls, and the exit routines that
// its input handlers call.
#pragma once

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
};

}  // namespace display
