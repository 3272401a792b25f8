#include "display/shuffled_order.h"

#include <algorithm>
#include <utility>

namespace display {

int ShuffleCount(double pictureCount) { return pictureCount >= 1 && pictureCount <= 1e6 ? int(pictureCount) : 0; }

ShuffledOrder::ShuffledOrder(int count, bool shuffled, platform::RandomSource* random)
    : shuffled_(shuffled && count > 1 && random), count_(std::max(0, count)), random_(random) {
    if (!shuffled_) return;
    current_ = draw(-1);
    next_ = draw(current_.back());
}

int ShuffledOrder::lookUp(const std::vector<int>& order, int step) const {
    if (!shuffled_ || step < 0 || step >= count_) return step;
    return order[size_t(step)];
}

void ShuffledOrder::newRound() {
    if (!shuffled_) return;
    current_ = std::move(next_);
    next_ = draw(current_.back());
}

std::vector<int> ShuffledOrder::draw(int previousLast) {
    std::vector<int> order(static_cast<size_t>(count_));
    for (int i = 0; i < count_; ++i) order[size_t(i)] = i;
    // Fisher-Yates: every order equally likely.
    for (int i = count_ - 1; i > 0; --i) {
        const int j = std::min(i, int(random_->Rnd() * float(i + 1)));
        std::swap(order[size_t(i)], order[size_t(j)]);
    }
    if (order.front() == previousLast) std::swap(order.front(), order.back());
    return order;
}

}  // namespace display
