// One pace of an animation: a step repeated every interval, switched on and
// off, as the animation's own schedule rather than a timer of the event
// loop, so an animation can keep several and say when the earliest is due.
// The animation reads the due times and runs the steps from its tick.
// Intervals behave as the display's timers always have: rounded up to a
// whole number of 15.625 ms, never caught up after a stall, restarted when
// the interval changes or the pace is switched on, and an interval of 0
// never falls due.
#pragma once

#include <cstdint>
#include <limits>

namespace display {

class Pace {
public:
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    // `now` is the animation's clock, read whenever the pace is started;
    // `clockUnitMs` is how many milliseconds one unit of it holds (1 for a
    // clock in milliseconds, 1000 for one in seconds).
    Pace(const double& now, int32_t intervalMs, double clockUnitMs = 1)
        : now_(now), interval_(intervalMs), clockUnitMs_(clockUnitMs) {}

    int32_t Interval() const { return interval_; }
    // Changing the interval of a running pace starts its count afresh.
    void setInterval(int32_t ms);
    bool Enabled() const { return enabled_; }
    // Enabling an enabled pace changes nothing; disabling stops it at once.
    void setEnabled(bool enabled);

    // When the step next falls due, kNever while off.
    double due() const { return enabled_ && interval_ > 0 ? due_ : kNever; }
    // The step is being run at `now`: the next one falls due a period after
    // this one, or a period from now after a stall.
    void stepTaken();

private:
    double period() const;
    void restart();

    const double& now_;
    int32_t interval_;
    double clockUnitMs_;
    bool enabled_ = false;
    double due_ = kNever;
};

}  // namespace display
