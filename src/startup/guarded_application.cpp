#include "startup/guarded_application.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace startup {

namespace {
// Set once the program is failing: from then on no timer of the display runs,
// so a repeating error cannot cut the message short.
bool failing = false;
}  // namespace

QString UnexpectedErrorText(const QString& what) {
    return QStringLiteral("Glidorama stopped because of an unexpected error:\n") + what;
}

void FailUnexpectedly(platform::Environment* env, const QString& what) {
    const QString text = UnexpectedErrorText(what);
    if (env && env->desktop && env->desktop->keyLockOn()) env->desktop->setKeyLock(false);
    // A second failure while the message is up just ends the program.
    const bool firstFailure = !failing;
    failing = true;
    // The full-screen windows go first, so nothing covers the message.
    if (firstFailure && qApp)
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    if (firstFailure && env && env->messages)
        env->messages->MsgBox(text, platform::kExclamation);
    else
        std::fprintf(stderr, "%s\n", qPrintable(platform::OneLine(text)));
    std::fflush(nullptr);
    std::_Exit(kUnexpectedErrorStatus);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (failing && event->type() == QEvent::Timer) return false;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (keptLocked(QString::fromLocal8Bit(e.what()))) return false;
        FailUnexpectedly(env_, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        if (keptLocked(QStringLiteral("unknown error"))) return false;
        FailUnexpectedly(env_, QStringLiteral("unknown error"));
    }
}

bool GuardedApplication::keptLocked(const QString& what) {
    if (failing || !lockedFailure_) return false;
    try {
        return lockedFailure_(UnexpectedErrorText(what));
    } catch (...) {
        return false;  // the last-resort handler takes over
    }
}

}  // namespace startup
