// What the display asks of the program that shows it: the exit routines
// its input handlers call, and what becomes of a failure.
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
    // The display failed with `message`: the host decides what becomes of
    // it and does its part (shows the message, releases the key lock, ends
    // the program); the display then goes on, or stands still.
    virtual FailureOutcome DisplayFailed(const QString& message) = 0;
    // A display inside another program's window (a screen-saver host's): it
    // takes no keyboard focus; the host guards the desktop.
    virtual bool embedded() const { return false; }
};

}  // namespace display
