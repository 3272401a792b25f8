// A 16-bit Integer that stays at the end of its range instead of
// overflowing: for counts, steps and positions that hand-edited settings
// can push past it, where stopping the saver would help nobody.
#pragma once

#include <algorithm>
#include <cmath>

#include "runtime/vb.h"

namespace display {

// The nearest Integer to `value` (halves to even), held within -32768 to
// 32767. An undefined value (an infinite speed times a zero draw) is 0.
inline vb::Integer ClampedInteger(double value) {
    if (std::isnan(value)) return 0;
    return vb::CInt(std::clamp(value, -32768.0, 32767.0));
}

}  // namespace display
