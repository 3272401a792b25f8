#include "platform/signal_watch.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

int pipeEnds[2] = {-1, -1};
// Set after the number is in the pipe; atomic, as the handler may run on
// any of the program's threads.
std::atomic<bool> signalWaiting{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void writeSignalNumber(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    signalWaiting.store(true);
    errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(std::initializer_list<int> watchedSignals, std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)), watched_(watchedSignals) {
    if (pipeEnds[0] < 0) {
        if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
    struct sigaction action {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : watched_) ::sigaction(signal, &action, nullptr);
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installNativeEventFilter(this);
        app->installEventFilter(this);
    }
}

SignalWatch::~SignalWatch() {
    for (const int signal : watched_) std::signal(signal, SIG_DFL);
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeNativeEventFilter(this);
        app->removeEventFilter(this);
    }
}

bool SignalWatch::nativeEventFilter(const QByteArray&, void*, qintptr*) {
    if (signalWaiting.load(std::memory_order_relaxed)) readPending();
    return false;  // the event itself goes on as usual
}

bool SignalWatch::eventFilter(QObject* watched, QEvent* event) {
    if (signalWaiting.load(std::memory_order_relaxed)) readPending();
    return QObject::eventFilter(watched, event);
}

void SignalWatch::readPending() {
    signalWaiting.store(false);
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        if (onSignal_) onSignal_(number);
}

void IgnoreSignal(int signal) { std::signal(signal, SIG_IGN); }

}  // namespace platform
