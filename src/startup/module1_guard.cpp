// Module1's guards for "/s": what keeps the saver on the screen and the lock
// in place until the program itself ends it.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QWindow>

#include <csignal>
#include <cstdio>

#include "display/form1.h"
#include "runtime/messages.h"
#include "platform/signal_watch.h"
#include "platform/desktop.h"
#include "startup/guarded_application.h"
#include "startup/module1.h"
#include "startup/password_form.h"
#include "startup/screen_guard.h"

namespace startup {

void Module1::guardFullScreen() {
    // Closing the terminal that started the saver must not end the lock.
    platform::IgnoreSignal(SIGHUP);
    // Any program of the same user may end us; when it asks politely, the
    // grabs are released first and the run ends with the signal's status.
    signalWatch_ =
        std::make_unique<platform::SignalWatch>(std::initializer_list<int>{SIGTERM, SIGINT}, [this](int signal) {
            std::fprintf(stderr, "Glidorama: ended by signal %d.\n", signal);
            releaseKeyLock();
            env_.end->End(128 + signal);
        });
    // Close requests from outside (a window manager, xdotool, ...) reach the
    // event filter first; our own code never closes the displays or the prompt.
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    // An unexpected error while the screen is locked is shown on the locked
    // screen instead of opening the desktop.
    if (auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance()))
        app->setLockedFailureHandler([this](const QString& text) {
            if (holdBehindLock(text)) return true;
            standDown();
            return false;
        });
}

bool Module1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close) return QObject::eventFilter(watched, event);
    // Only the displays and the prompt refuse: a message box closes itself
    // through a close event of its own.
    std::vector<QWidget*> guarded;
    for (display::Form1* form : displays()) guarded.push_back(form);
    if (passwordForm_) guarded.push_back(passwordForm_.get());
    for (QWidget* window : guarded)
        if (watched == window || watched == window->windowHandle()) {
            event->ignore();
            return true;
        }
    return QObject::eventFilter(watched, event);
}

void Module1::bringPromptToFront() {
    if (!passwordForm_) return;
    // Shown again, on the monitor that now holds the pointer, in front.
    passwordForm_->hide();
    passwordForm_->ShowModeless();
    keepPrompt();
}

void Module1::takeKeyLock() {
    // Password protection locks the keyboard before any display shows.
    if (locks() && !env_.desktop->keyLockOn()) env_.desktop->setKeyLock(true);
}

void Module1::releaseKeyLock() {
    if (env_.desktop->keyLockOn()) env_.desktop->setKeyLock(false);
}

display::FailureOutcome Module1::DisplayFailed(const QString& message) {
    if (holdBehindLock(message)) return display::FailureOutcome::HoldBehindLock;
    standDown();
    releaseKeyLock();
    env_.messages->MsgBox(message, platform::kExclamation);
    // A picture that cannot be shown ends the run as a failure.
    env_.end->End(1);
    return display::FailureOutcome::End;
}

void Module1::standDown() {
    // Nothing may cover the message that ends the run.
    screenGuard_.reset();
    for (display::Form1* form : displays()) {
        form->stopTimers();
        form->hide();
    }
}

bool Module1::holdBehindLock(const QString& message) {
    // Without a lock, or with no password that could lift it, the failure
    // ends the saver.
    if (!env_.desktop->keyLockOn() || !locks()) return false;
    for (display::Form1* form : displays()) form->stopTimers();
    std::fprintf(stderr, "%s: %s\n", qPrintable(platform::kAppTitle), qPrintable(platform::OneLine(message)));
    std::fflush(stderr);
    if (!lockedFailure_.isEmpty()) return true;  // the first failure stays on the screen
    lockedFailure_ = message;
    // Without a prompt the message waits for the next key, which makes one.
    if (!promptMade()) return true;
    for (display::Form1* form : displays()) form->setEnabled(false);
    passwordForm_->setFailureMessage(message);
    passwordForm_->setVisible(true);
    passwordForm_->ShowModeless();
    keepPrompt();
    return true;
}

}  // namespace startup
