// A form timer's schedule kept on the display's clock rather than a system
// timer, so an effect can keep several of them and say when the earliest is
// due: the same interval rounded up to a whole number of 15.625 ms, the
// same steady pace that does not catch up after a stall, the same restart
// when the interval changes or the timer is switched on.
#pragma once

#include <cstdint>
#include <limits>

namespace display {

class TickPace {
public:
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    // `now` is the owner's clock, in seconds, read whenever the pace restarts.
    TickPace(const double& now, int32_t intervalMs) : now_(now), interval_(intervalMs) {}

    int32_t Interval() const { return interval_; }
    // Changing the interval of a running timer starts its count afresh.
    void setInterval(int32_t ms);
    bool Enabled() const { return enabled_; }
    // Enabling an enabled timer changes nothing; disabling stops it at once.
    void setEnabled(bool enabled);

    // When the next tick is due, or kNever.
    double due() const;
    // Moves past the tick due now: the next comes a period later, or at
    // once after a stall, without making up the ticks missed.
    void advance();

private:
    void restart();
    double period() const;

    const double& now_;
    int32_t interval_;
    bool enabled_ = false;
    double next_ = 0;
};

}  // namespace display
