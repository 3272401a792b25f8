// What the display asks of the program's start-up module: the exit
// routines that its input handlers call, and what to do with a failure.
#pragma once

#include <QString>

namespace display {

// What becomes of a failure of the display (a picture that cannot be loaded
// or used), as the host decides it:
enum class FailureOutcome {
    // The display goes on with what it can show and passes over the picture
    // that failed (inside a screen-saver host's window: the host would only
    // start the saver again).
    PassOver,
    // The screen stays covered and locked, the display stands still behind
    // the host's message, and the program ends only through the password.
    HoldBehindLock,
    // The run ends: the host has shown the message and ended the program.
    End,
};

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
