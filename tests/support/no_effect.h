// The stored number the tests use for "no effect": one past the last effect,
// so an effect added under the next number moves it on instead of turning
// the tests that rely on a bare background into tests of the new effect.
#pragma once

#include "settings/effect.h"

namespace testing_support {

inline constexpr int kNoEffect = settings::Effect::kCount;

}  // namespace testing_support
