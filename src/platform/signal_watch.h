// POSIX signals delivered to the user-interface thread. The handler only
// writes the signal's number into a pipe; the event loop reads it and calls
// the program's own routine, where anything (releasing grabs, ending the
// run) is safe to do.
#pragma once

#include <QObject>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace platform {

class SignalWatch final : public QObject {
public:
    // Watches `watchedSignals` for as long as the object lives; `onSignal` runs on
    // this thread, once per signal received. One watch per program.
    SignalWatch(std::initializer_list<int> watchedSignals, std::function<void(int signal)> onSignal);
    ~SignalWatch() override;

private:
    void readPending();

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> watched_;
};

// The signal is dropped for the rest of the run (SIGHUP when the terminal
// that started the program closes).
void IgnoreSignal(int signal);

}  // namespace platform
