// The seven animated transitions as sequences of rectangle copies: each copy
// takes one rectangle of the incoming picture and puts it at the same place
// in the picture on show. Kept apart from any drawing so the sequences can
// be checked on their own.
#pragma once

#include <QString>

#include <vector>

#include "runtime/clock.h"

namespace display {

// One copy, in pixels of the picture, with the values as computed (they may
// have a half-pixel part and may reach past the picture's edge).
struct TransitionCopy {
    double x, y, width, height;
    bool operator==(const TransitionCopy&) const = default;
};

// Transition numbers as the settings dialog lists them.
constexpr int kStandard = 0;
constexpr int kLeftWipe = 1;
constexpr int kRightWipe = 2;
constexpr int kRightLeftWipe = 3;
constexpr int kUpDownWipe = 4;
constexpr int kCenterWipe = 5;
constexpr int kHorizontalBlinds = 6;
constexpr int kVerticalBlinds = 7;

// Every copy of transition `t` over a picture `width` x `height` pixels, in
// drawing order. Any number other than 1 to 7 draws nothing.
std::vector<TransitionCopy> TransitionCopies(double t, float width, float height);

// With random transitions on, reseeds and picks one of the animated
// transitions, 1 to 7, for the caller to keep. Otherwise returns
// `transition` unchanged.
double PickTransition(double transition, bool randomTransitions, platform::RandomSource& random);

}  // namespace display
