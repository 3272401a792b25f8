// The order in which the saver shows the pictures: list order, or, with
// shuffle on, a random order in which each picture comes once a round and
// each round has an order of its own.
#pragma once

#include <vector>

#include "runtime/clock.h"

namespace display {

// The number of pictures to order for a list of `pictureCount` (newTotal), 0
// when it is not a count.
int ShuffleCount(double pictureCount);

class ShuffledOrder {
public:
    // `count` pictures; drawn from `random` only when `shuffled`.
    ShuffledOrder(int count, bool shuffled, platform::RandomSource* random);

    bool shuffled() const { return shuffled_; }
    // The list position of the picture shown at `step` of this round (a
    // step outside the round is returned unchanged).
    int pictureAt(int step) const { return lookUp(current_, step); }
    // The same for the round after this one, to prepare its first picture.
    int nextRoundPictureAt(int step) const { return lookUp(next_, step); }
    // Moves on to the next round.
    void newRound();

private:
    int lookUp(const std::vector<int>& order, int step) const;
    // A fresh order; its first picture is never `previousLast`, so no
    // picture shows twice in a row across rounds.
    std::vector<int> draw(int previousLast);

    bool shuffled_ = false;
    int count_ = 0;
    platform::RandomSource* random_ = nullptr;
    std::vector<int> current_;
    std::vector<int> next_;
};

}  // namespace display
