// What the display asks of the program's start-up module: the exit
// routines that its input handlers call, and what to do with a failure.
#pragma once

#include <QString>

namespace display {

class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    virtual void RequestExit() = 0;
    virtual void CountMouseMove() = 0;
    // A failure that would end the display while the screen is locked: the
    // host shows `message` on the still covered, still locked screen and the
    // program ends only through the password. False when nothing is locked,
    // and the display ends as before.
    virtual bool ShowFailureLocked(const QString& message) {
        (void)message;
        return false;
    }

    // A display inside another program's window (a screen-saver host's):
    // it takes no keyboard focus, never sets the key lock (the host guards
    // the desktop), and a failure is handed to ReportFailure
    // while the display goes on with what it can show, since a host only
    // starts a saver that ends all over again.
    virtual bool embedded() const { return false; }
    virtual void ReportFailure(const QString& /*message*/) {}
};

}  // namespace display
