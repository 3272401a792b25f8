#include "runtime/clock.h"

#include <QDateTime>
#include <QTime>

#include <chrono>

namespace platform {

double SystemClock::Timer() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

double SystemClock::monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

SystemRandom::SystemRandom() : engine_(std::random_device{}()) {}

float SystemRandom::Rnd() {
    // 24 random bits: every value is exact in single precision and below 1.
    return float(engine_() >> 8) / float(1 << 24);
}

}  // namespace platform
