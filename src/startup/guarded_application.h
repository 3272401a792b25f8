// The application object with the last-resort handler: an error that no
// routine of the program handles releases the key lock, says what happened
// and ends the program with a non-zero status instead of crashing.
#pragma once

#include <QApplication>

#include <functional>

#include "platform/environment.h"

namespace startup {

constexpr int kUnexpectedErrorStatus = 70;

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void setEnvironment(platform::Environment* env) { env_ = env; }
    // Asked first with the message of an unexpected error; when it returns
    // true it has shown the error on the locked screen, and the program
    // goes on until the password ends it.
    void setLockedFailureHandler(std::function<bool(const QString& text)> handler) {
        lockedFailure_ = std::move(handler);
    }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    bool keptLocked(const QString& what);

    platform::Environment* env_ = nullptr;
    std::function<bool(const QString&)> lockedFailure_;
};

// The message of an unexpected error.
QString UnexpectedErrorText(const QString& what);

// Releases the key lock, reports `what` and ends the program.
[[noreturn]] void FailUnexpectedly(platform::Environment* env, const QString& what);

}  // namespace startup
