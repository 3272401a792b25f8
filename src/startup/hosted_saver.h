// Hosted mode: the saver inside a window that a desktop screen-saver host
// (XScreenSaver, xsecurelock, MATE, Xfce) hands over. The host owns input,
// locking and the screen: this display opens no window of its own, grabs
// nothing, moves no pointer, takes no single-instance lock, never ends on
// input or on a failure, and ends with status 0 on a signal or when the
// host's window goes away.
#pragma once

#include <QSet>
#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>

#include "display/display_host.h"
#include "platform/environment.h"
#include "runtime/messages.h"
#include "settings/values.h"
#include "startup/hosted_options.h"

class QWindow;
namespace display {
class Form1;
}
namespace platform {
class SignalWatch;
}

namespace startup {

class HostWindow;

// Until the event loop watches them, SIGTERM, SIGINT and SIGHUP end the
// program at once with status 0: a host may stop its saver while it is
// still starting, and a hosted saver holds nothing that needs releasing.
void EndAtOnceOnHostSignals();

// Messages as lines on standard error only: a hosted saver opens no window.
class StandardErrorMessages final : public platform::MessageSink {
public:
    int MsgBox(const QString& text, int style, const QString& title = platform::kAppTitle) override;
};

// The size the display works in for a window of `window` pixels on a screen
// of `screen`: the window's own size, or for a window under half the
// screen's width (a preview) the screen's width at the window's shape, so
// the preview shows the full-screen saver in miniature.
QSize HostedDisplaySize(QSize window, QSize screen);

class HostedSaver final : public display::DisplayHost {
public:
    HostedSaver(platform::Environment& env, const HostedOptions& options);
    ~HostedSaver() override;

    // Shows the display in the host's window. False when that window does not
    // exist: there is nothing to draw into and the program ends with status 0.
    bool Start();

    display::Form1* form1() const { return form1_.get(); }
    const settings::Values& values() const { return values_; }
    // Every distinct failure message reported so far.
    const QSet<QString>& reportedFailures() const { return reported_; }

    // DisplayHost
    void RequestExit() override {}
    void CountMouseMove() override {}
    bool embedded() const override { return true; }
    // Writes the message to standard error, once per distinct message, and
    // lets the display go on: a host only starts a saver that ends all over again.
    display::FailureOutcome DisplayFailed(const QString& message) override;

private:
    void buildDisplay(QSize windowSize);
    void end();

    platform::Environment& env_;
    HostedOptions options_;
    std::unique_ptr<HostWindow> hostWindow_;
    std::unique_ptr<QWindow> hostWindowHandle_;
    // The settings file as read at start, with the command line's choices
    // over it; every display made for the host's window shows them.
    settings::Values values_;
    std::unique_ptr<display::Form1> form1_;
    std::unique_ptr<platform::SignalWatch> signalWatch_;
    // A resize by dragging sends many sizes; the display is rebuilt once
    // they settle.
    QTimer rebuildTimer_;
    QSet<QString> reported_;
};

}  // namespace startup
