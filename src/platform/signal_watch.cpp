#include "platform/signal_watch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void writeSignalNumber(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
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
}

SignalWatch::~SignalWatch() {
    for (const int signal : watched_) std::signal(signal, SIG_DFL);
}

void SignalWatch::readPending() {
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        if (onSignal_) onSignal_(number);
}

void IgnoreSignal(int signal) { std::signal(signal, SIG_IGN); }

}  // namespace platform
