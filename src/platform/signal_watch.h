// POSIX signals delivered to the user-interface thread. The handler only
// writes the signal's number into a pipe and raises a flag; the event loop
// reads the pipe and calls the program's own routine, where anything
// (releasing grabs, ending the run) is safe to do. A flood of window-system
// events (keys typed without pause) keeps the loop from polling the pipe for
// seconds, so the flag is also checked before each window-system event is
// read and before each event is delivered.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace platform {

class SignalWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    // Watches `watchedSignals` for as long as the object lives; `onSignal` runs on
    // this thread, once per signal received. One watch per program.
    SignalWatch(std::initializer_list<int> watchedSignals, std::function<void(int signal)> onSignal);
    ~SignalWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
