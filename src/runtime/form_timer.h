// A form timer: an interval in milliseconds and an Enabled switch, calling
// one tick routine on the UI thread. Ticks come at most 64 times a second:
// every interval is rounded up to a whole number of 15.625 ms, the pace the
// speed settings were tuned for. An interval of 0 never ticks.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace platform {

constexpr double kTimerResolutionMs = 15.625;

// The period a timer really ticks at for a given interval.
double EffectivePeriodMs(int32_t intervalMs);

class FormTimer : public QObject {
    Q_OBJECT
public:
    explicit FormTimer(std::function<void()> onTick, int32_t intervalMs = 0, QObject* parent = nullptr);

    int32_t Interval() const { return interval_; }
    // Changing the interval of a running timer starts its count afresh.
    void setInterval(int32_t ms);
    bool Enabled() const { return enabled_; }
    // Enabling an enabled timer changes nothing; disabling stops it at once.
    void setEnabled(bool enabled);

private:
    void restart();
    void scheduleNext();
    void fire();

    std::function<void()> onTick_;
    int32_t interval_;
    bool enabled_ = false;
    QTimer timer_;
    double nextDeadlineMs_ = 0;  // on the monotonic clock
};

}  // namespace platform
