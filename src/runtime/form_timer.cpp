#include "runtime/form_timer.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace platform {

namespace {
double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

double EffectivePeriodMs(int32_t intervalMs) {
    if (intervalMs <= 0) return 0;
    return std::ceil(intervalMs / kTimerResolutionMs) * kTimerResolutionMs;
}

FormTimer::FormTimer(std::function<void()> onTick, int32_t intervalMs, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)), interval_(intervalMs) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FormTimer::fire);
}

void FormTimer::setInterval(int32_t ms) {
    interval_ = ms;
    if (enabled_) restart();
}

void FormTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_)
        restart();
    else
        timer_.stop();
}

void FormTimer::restart() {
    timer_.stop();
    if (interval_ <= 0) return;
    nextDeadlineMs_ = nowMs() + EffectivePeriodMs(interval_);
    scheduleNext();
}

void FormTimer::scheduleNext() {
    // A wait longer than the Qt timer can hold is taken in several steps.
    const double wait = std::clamp(nextDeadlineMs_ - nowMs(), 0.0, double(std::numeric_limits<int>::max()));
    timer_.start(int(std::lround(wait)));
}

void FormTimer::fire() {
    if (!enabled_ || interval_ <= 0) return;
    if (nowMs() + 1.0 < nextDeadlineMs_) {  // only a step of a very long wait
        scheduleNext();
        return;
    }
    // Keep a steady average pace; after a long stall do not try to catch up.
    const double period = EffectivePeriodMs(interval_);
    nextDeadlineMs_ = std::max(nextDeadlineMs_ + period, nowMs());
    scheduleNext();
    onTick_();
}

}  // namespace platform
