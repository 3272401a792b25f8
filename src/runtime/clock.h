// The clock (`Timer`: seconds since midnight) and the random source
// (`Rnd`, `Randomize`), replaceable so tests can fix them.
#pragma once

#include <cstdint>
#include <random>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with a fractional part.
    virtual double Timer() = 0;
    // Seconds elapsed on a clock that never goes back (for pauses).
    virtual double monotonicSeconds() = 0;
};

class SystemClock final : public Clock {
public:
    double Timer() override;
    double monotonicSeconds() override;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform on [0, 1).
    virtual float Rnd() = 0;
    // Reseeds from the clock.
    virtual void Randomize() = 0;
};

// One generator seeded once; Randomize keeps the stream going, so clones
// reseeded many times within one clock tick still get different numbers.
class SystemRandom final : public RandomSource {
public:
    SystemRandom();
    float Rnd() override;
    void Randomize() override {}

private:
    std::mt19937 engine_;
};

}  // namespace platform
