// What the password prompt asks of whoever shows it: the X11 saver
// (Module1) or the Wayland session lock.
#pragma once

namespace startup {

class PasswordPromptHost {
public:
    virtual ~PasswordPromptHost() = default;
    // Enter in the password box with something typed: the host compares it
    // with the run's password and either ends the lock or flags it wrong.
    virtual void CheckPassword() = 0;
    // Enter in an empty password box or in the notes: back to the saver.
    virtual void ResumeSaver() = 0;
};

}  // namespace startup
