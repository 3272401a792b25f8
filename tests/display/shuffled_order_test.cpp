// Shuffle: each picture once a round, a new order each round, for the clone
// effects and Float alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "display/form1.h"
#include "display/shuffled_order.h"
#include "display_fixture.h"

namespace {

// A fixed stream of varied numbers, the same on every run.
class FixedStream final : public platform::RandomSource {
public:
    float Rnd() override {
        state_ = state_ * 1103515245u + 12345u;
        return float((state_ >> 8) & 0xFFFF) / 65536.0f;
    }
    void Randomize() override {}

private:
    uint32_t state_ = 7;
};

// Splits a sequence into rounds of `count` and checks each is a whole round.
std::vector<std::vector<int>> Rounds(const std::vector<int>& shown, int count) {
    std::vector<std::vector<int>> rounds;
    for (size_t i = 0; i + size_t(count) <= shown.size(); i += size_t(count)) {
        std::vector<int> round(shown.begin() + long(i), shown.begin() + long(i) + count);
        std::vector<int> sorted = round;
        std::sort(sorted.begin(), sorted.end());
        std::vector<int> all(static_cast<size_t>(count));
        for (int n = 0; n < count; ++n) all[size_t(n)] = n;
        EXPECT_EQ(sorted, all) << "a round shows every picture once";
        rounds.push_back(round);
    }
    return rounds;
}

TEST(ShuffledOrder, EveryPictureOnceARoundAndRoundsDiffer) {
    FixedStream random;
    display::ShuffledOrder order(7, true, &random);
    std::vector<int> shown;
    int previous = -1;
    for (int round = 0; round < 6; ++round) {
        EXPECT_EQ(order.nextRoundPictureAt(0), order.nextRoundPictureAt(0));
        for (int step = 0; step < 7; ++step) {
            const int picture = order.pictureAt(step);
            EXPECT_NE(picture, previous) << "no picture twice in a row, even across rounds";
            previous = picture;
            shown.push_back(picture);
        }
        const int announced = order.nextRoundPictureAt(0);
        order.newRound();
        EXPECT_EQ(order.pictureAt(0), announced);
    }
    const auto rounds = Rounds(shown, 7);
    ASSERT_EQ(rounds.size(), 6u);
    EXPECT_GE(std::set<std::vector<int>>(rounds.begin(), rounds.end()).size(), 5u);
}

TEST(ShuffledOrder, OffOrTooFewPicturesKeepListOrderAndDrawNothing) {
    platform::SequenceRandom random{0.9f, 0.1f};
    for (auto [count, on] : {std::pair{5, false}, std::pair{1, true}, std::pair{0, true}}) {
        display::ShuffledOrder order(count, on, &random);
        for (int step = -1; step <= count; ++step) EXPECT_EQ(order.pictureAt(step), step);
        order.newRound();
        EXPECT_EQ(order.pictureAt(0), 0);
    }
}

TEST(ShuffledOrder, TheCloneEffectsShowEveryCachedPictureOnceARound) {
    display_test::DisplayFixture f;
    FixedStream random;
    f.t.env.random = &random;
    f.makePictures(5);
    f.load(display_test::Ini(0, 5, 2, QStringLiteral("IntroImageAmount=1\nshuffle=1\n")));
    auto& form = f.clones();
    std::vector<int> shown{display_test::DisplayFixture::pictureNumber(form.FirstPicture()),
                           display_test::DisplayFixture::pictureNumber(form.SecondPicture())};
    for (int change = 0; change < 18; ++change) {
        form.clones().introCount = 3;  // every clone introduced
        form.Timer2_Timer();
        ASSERT_TRUE(form.nextPictureLoader().Enabled());
        const bool fillsFirst = form.clones().loadTarget == 1;
        form.Timer4_Timer();
        shown.push_back(
            display_test::DisplayFixture::pictureNumber(fillsFirst ? form.FirstPicture() : form.SecondPicture()));
    }
    ASSERT_TRUE(f.host.failures.isEmpty());
    const auto rounds = Rounds(shown, 5);
    ASSERT_EQ(rounds.size(), 4u);
    EXPECT_GE(std::set<std::vector<int>>(rounds.begin(), rounds.end()).size(), 3u);
}

}  // namespace
