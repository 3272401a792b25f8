// A fixed random sequence: returns the values in order, then repeats.
#pragma once

#include <initializer_list>
#include <vector>

#include "runtime/clock.h"

namespace platform {

class SequenceRandom final : public RandomSource {
public:
    explicit SequenceRandom(std::initializer_list<float> values) : values_(values) {
        if (values_.empty()) values_.push_back(0.0f);
    }
    float Rnd() override {
        const float v = values_[next_];
        next_ = (next_ + 1) % values_.size();
        return v;
    }
    void Randomize() override { ++randomizeCalls; }
    int randomizeCalls = 0;

private:
    std::vector<float> values_;
    size_t next_ = 0;
};

}  // namespace platform
