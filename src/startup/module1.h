// Module1: the program's entry routine and the routines the forms share:
// mode dispatch, the full-screen start, the preview, and the exit routines
// of the display and the password prompt.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/display_host.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "settings/values.h"
#include "startup/password_prompt_host.h"

class QScreen;
namespace display {
class Form1;
}
namespace dialog {
class Form2;
}
namespace platform {
class SignalWatch;
}

namespace startup {

class PasswordForm;
class PreviewPicture;
class ScreenGuard;
struct WaylandSession;
struct WaylandSessionEnd {
    void operator()(WaylandSession* session) const;
};

class Module1 : public QObject, public display::DisplayHost, public PasswordPromptHost {
public:
    explicit Module1(platform::Environment& env);
    ~Module1() override;

    // Chooses the mode from the first two characters of the command line
    // (the text after the program name). Returns whether a form is now shown,
    // so the caller runs the event loop.
    bool Main(const QString& commandLine, bool previousInstance);

    void StartFullScreen();
    // "/s" runs on the Wayland compositor instead of X11 (the program sets
    // it before Main, with Qt on its offscreen platform).
    bool onWayland = false;
    // Draws the preview picture into the window named on the command line
    // and ends the program.
    void ShowPreview();

    // DisplayHost
    // Ends the saver, or with password protection steps the display back
    // and shows the password prompt.
    void RequestExit() override;
    // Counts one mouse move that passed the display's move filter; enough
    // of them within about two seconds request the exit.
    void CountMouseMove() override;
    // A failure with the screen locked and a password that can lift it is
    // held behind the lock; any other ends the run with the message.
    display::FailureOutcome DisplayFailed(const QString& message) override;

    // The password prompt's outcomes: the right password ends the program,
    // ResumeSaver brings the display back.
    void CheckPassword() override;
    void ResumeSaver() override;

    // The run's settings, read once when the saver starts and shared by
    // every monitor's display.
    settings::Values values;
    // The display of the first monitor (the primary one at start).
    display::Form1* form1() const { return monitors_.empty() ? nullptr : monitors_.front().display.get(); }
    // One display per monitor, in the order they were added.
    std::vector<display::Form1*> displays() const;
    // Whether a failure is being shown on the locked screen.
    bool failedLocked() const { return !lockedFailure_.isEmpty(); }
    dialog::Form2* form2() const { return form2_.get(); }
    PasswordForm* passwordForm() const { return passwordForm_.get(); }
    PreviewPicture* previewPicture() const { return previewPicture_.get(); }
    int16_t mouseMoveCount() const { return mouseMoveCount_; }
    int32_t moveWindowStart() const { return moveWindowStart_; }

private:
    platform::Environment& env_;
    QString commandLine_;
    int16_t mouseMoveCount_ = 0;
    int32_t moveWindowStart_ = 0;  // the rounded clock at the start of the move window; 0 = none open
    struct Monitor {
        QPointer<QScreen> screen;  // null: the primary screen as the display found it
        std::unique_ptr<display::Form1> display;
    };
    // Covers `screen` (null: the primary screen) with a display of its own.
    void addDisplay(QScreen* screen);
    void removeDisplay(QScreen* screen);
    // A new display for `screen` in place of its old one, which may be
    // inside its own call: it goes once the event loop is back.
    void replaceDisplay(QScreen* screen);
    // While "/s" runs: close requests are refused, SIGHUP is ignored, SIGTERM
    // and SIGINT end with the grabs released, and our windows are raised
    // again over any other program's window (and mapped again if another
    // program unmapped them).
    void guardFullScreen();
    // Whether input must stop at the prompt: protection on with a password
    // that can be typed there. The run's values are read once, so no later
    // change to the settings file changes what unlocks.
    bool locks() const;
    // With password protection: the grabs, a window under ours over the
    // whole screen, and the prompt ready, before any display shows. Ends
    // the program with a message when any of them cannot be had.
    void setUpLock();
    [[noreturn]] void failLockSetUp(const QString& why);
    // Makes the prompt, whole or not at all; throws when it cannot be made.
    void makePasswordForm();
    // Once locked: makes the prompt if it is missing, or says on standard
    // error why it cannot be made now (no memory) and returns false. The
    // screen then stays covered and locked, and the next key tries again.
    bool promptMade();
    void reportLockedFault(const char* what, const char* why);
    // Tells the guard where our windows stand now.
    void keepDisplay(display::Form1* form);
    void keepPrompt();
    // Another program destroyed `window`: it is made again with its
    // contents. Never throws (it runs outside Qt's event handling).
    void remakeDestroyed(QWidget* window);
    // Shows the prompt again on top, so it holds the grabs.
    void bringPromptToFront();
    // Shows `message` on the locked screen and stands the displays still;
    // false (and nothing done) when nothing is locked or no password could
    // lift the lock.
    bool holdBehindLock(const QString& message);
    // Every display stops and steps aside for a message that ends the run.
    void standDown();
    // The only places the key lock is taken and released.
    void takeKeyLock();
    void releaseKeyLock();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // "/s" on a Wayland session (module1_wayland.cpp): covers every output,
    // refuses password protection where the compositor cannot lock, and
    // otherwise calls LockOnWayland().
    void StartOnWayland();
    // Password protection on a compositor that offers a session lock
    // (module1_wayland_lock.cpp): the connection is up in wayland_, the
    // run's values read, nothing shown yet.
    void LockOnWayland();
    // With the session locked on Wayland, brings up the prompt there;
    // false when the saver runs on X11.
    bool PromptOnWayland();

    std::vector<Monitor> monitors_;
    std::unique_ptr<WaylandSession, WaylandSessionEnd> wayland_;
    std::unique_ptr<platform::SignalWatch> signalWatch_;
    std::unique_ptr<ScreenGuard> screenGuard_;
    QString lockedFailure_;  // the failure shown on the locked screen; empty while none
    // The settings dialog's text, which it shows and writes back.
    settings::Settings dialogSettings_;
    std::unique_ptr<dialog::Form2> form2_;
    std::unique_ptr<PreviewPicture> previewPicture_;
    std::unique_ptr<PasswordForm> passwordForm_;
};

}  // namespace startup
