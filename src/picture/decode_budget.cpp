#include "picture/decode_budget.h"

#include <algorithm>

namespace imagestore {

DecodeBudget::Share::Share(DecodeBudget* budget, qint64 bytes) : budget_(budget), bytes_(0) {
    if (!budget_) return;
    std::unique_lock lock(budget_->mutex_);
    bytes_ = std::clamp<qint64>(bytes, 0, budget_->total_);
    budget_->released_.wait(lock, [this] { return budget_->free_ >= bytes_; });
    budget_->free_ -= bytes_;
}

DecodeBudget::Share::~Share() {
    if (!budget_) return;
    {
        std::lock_guard lock(budget_->mutex_);
        budget_->free_ += bytes_;
    }
    budget_->released_.notify_all();
}

}  // namespace imagestore
