// The number of the run-time error a call raises, 0 when it raises none.
#pragma once

#include <functional>

#include "runtime/vb.h"

namespace testing_support {

inline int ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vb::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testing_support
