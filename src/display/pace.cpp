#include "display/pace.h"

#include <algorithm>

#include "runtime/form_timer.h"

namespace display {

double Pace::period() const { return platform::EffectivePeriodMs(interval_) / clockUnitMs_; }

void Pace::setInterval(int32_t ms) {
    interval_ = ms;
    if (enabled_) restart();
}

void Pace::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) restart();
}

void Pace::restart() { due_ = now_ + period(); }

void Pace::stepTaken() {
    // Keep a steady average pace; after a long stall do not try to catch up.
    due_ = std::max(due_ + period(), now_);
}

}  // namespace display
