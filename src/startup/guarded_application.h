// The application object with the last-resort handler: an error that no
// routine of the program handles releases the key lock, says what happened
// and ends the program with a non-zero status instead of crashing.
#pragma once

#include <QApplication>

#include "platform/environment.h"

namespace startup {

constexpr int kUnexpectedErrorStatus = 70;

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void setEnvironment(platform::Environment* env) { env_ = env; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    platform::Environment* env_ = nullptr;
};

// Releases the key lock, reports `what` and ends the program.
[[noreturn]] void FailUnexpectedly(platform::Environment* env, const QString& what);

}  // namespace startup
