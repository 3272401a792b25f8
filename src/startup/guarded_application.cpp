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

void FailUnexpectedly(platform::Environment* env, const QString& what) {
    const QString text = QStringLiteral("Glidorama stopped because of an unexpected error:\n") + what;
    if (env && env->system && env->system->keyLockOn())
        env->system->SystemParametersInfoA(platform::kSpiScreenSaverRunning, 0);
    // A second failure while the message is up just ends the program.
    const bool firstFailure = !failing;
    failing = true;
    // The full-screen windows go first, so nothing covers the message.
    if (firstFailure && qApp)
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    if (firstFailure && env && env->messages) env->messages->MsgBox(text, platform::kExclamation);
    else std::fprintf(stderr, "%s\n", qPrintable(platform::OneLine(text)));
    std::fflush(nullptr);
    std::_Exit(kUnexpectedErrorStatus);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (failing && event->type() == QEvent::Timer) return false;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        FailUnexpectedly(env_, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        FailUnexpectedly(env_, QStringLiteral("unknown error"));
    }
}

}  // namespace startup
