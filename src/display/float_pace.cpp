#include "display/float_pace.h"

#include <algorithm>

#include "runtime/form_timer.h"

namespace display {

double TickPace::period() const { return platform::EffectivePeriodMs(interval_) / 1000; }

void TickPace::setInterval(int32_t ms) {
    interval_ = ms;
    if (enabled_) restart();
}

void TickPace::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) restart();
}

void TickPace::restart() { next_ = now_ + period(); }

double TickPace::due() const { return enabled_ && interval_ > 0 ? next_ : kNever; }

void TickPace::advance() { next_ = std::max(next_ + period(), now_); }

}  // namespace display
