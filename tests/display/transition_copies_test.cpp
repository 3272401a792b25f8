#include "display/transition_copies.h"
#include "display/transition_player.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>

#include "support/sequence_random.h"

using display::TransitionCopies;
using display::TransitionCopy;

namespace {

QImage Gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x + y) % 256));
    return image;
}

// Every copy made one by one, the obvious way.
QImage CopyOneByOne(const std::vector<TransitionCopy>& copies, const QImage& source, size_t count) {
    QImage target(source.size(), QImage::Format_RGB32);
    target.fill(Qt::black);
    for (size_t i = 0; i < count; ++i) display::CopyPixels(source, target, display::CopyArea(copies[i]));
    return target;
}

}  // namespace

TEST(TransitionCopies, WipesFromOneSideEndWithTheWholePicture) {
    for (const int t : {display::kLeftWipe, display::kRightWipe}) {
        const auto copies = TransitionCopies(t, 37, 12);
        ASSERT_EQ(copies.size(), 37u) << t;
        EXPECT_EQ(copies.back(), (TransitionCopy{0, 0, 37, 12})) << t;
    }
    EXPECT_EQ(TransitionCopies(display::kRightWipe, 37, 12).front(), (TransitionCopy{36, 0, 1, 12}));
}

TEST(TransitionCopies, CentredWipesRunHalfTheSideAndGrowTwoPixelsAStep) {
    for (const float w : {100.0f, 101.0f}) {
        const auto copies = TransitionCopies(display::kRightLeftWipe, w, 30);
        ASSERT_EQ(copies.size(), size_t(std::floor(w / 2)));
        EXPECT_EQ(copies.front(), (TransitionCopy{(w - 1) / 2.0, 0, 1, 30}));
        EXPECT_EQ(copies.back().width, 2 * std::floor(w / 2) - 1);
    }
    const auto bands = TransitionCopies(display::kUpDownWipe, 40, 51);
    ASSERT_EQ(bands.size(), 25u);
    EXPECT_EQ(bands.front(), (TransitionCopy{0, 25, 40, 1}));
    EXPECT_EQ(bands.back(), (TransitionCopy{0, 1, 40, 49}));
}

TEST(TransitionCopies, CenterWipeStepsDependOnTheLongerSide) {
    const auto wide = TransitionCopies(display::kCenterWipe, 90, 40);
    ASSERT_EQ(wide.size(), 40u);  // H steps
    EXPECT_EQ(wide.front(), (TransitionCopy{20, 19.5, 50, 1}));
    EXPECT_EQ(wide.back(), (TransitionCopy{0.5, 0, 89, 40}));

    const auto tall = TransitionCopies(display::kCenterWipe, 40, 90);
    ASSERT_EQ(tall.size(), 39u);  // W - 1 steps
    EXPECT_EQ(tall.front(), (TransitionCopy{19.5, 20, 1, 50}));

    const auto square = TransitionCopies(display::kCenterWipe, 30, 30);
    ASSERT_EQ(square.size(), 29u);
    EXPECT_EQ(square.back(), (TransitionCopy{0.5, 0.5, 29, 29}));
}

TEST(TransitionCopies, BlindsMakeTwentyRoundsOverEveryBand) {
    // n = Fix(H / 20) for horizontal blinds, W / 20 untruncated for vertical.
    EXPECT_EQ(TransitionCopies(display::kHorizontalBlinds, 50, 45).size(), 20u * 3);
    EXPECT_EQ(TransitionCopies(display::kHorizontalBlinds, 50, 20).size(), 20u * 2);
    EXPECT_EQ(TransitionCopies(display::kHorizontalBlinds, 50, 7).size(), 20u * 1);
    EXPECT_EQ(TransitionCopies(display::kVerticalBlinds, 45, 50).size(), 20u * 3);
    EXPECT_EQ(TransitionCopies(display::kVerticalBlinds, 40, 50).size(), 20u * 3);
    const auto blinds = TransitionCopies(display::kHorizontalBlinds, 50, 45);
    EXPECT_EQ(blinds[2], (TransitionCopy{0, 40, 50, 1}));
    EXPECT_EQ(blinds.back(), (TransitionCopy{0, 40, 50, 20}));  // reaches past the edge
}

TEST(TransitionCopies, OtherNumbersDrawNothing) {
    for (const double t : {0.0, 8.0, 1.5, -1.0}) EXPECT_TRUE(TransitionCopies(t, 50, 50).empty()) << t;
}

TEST(PickTransition, RandomChoiceIsOneOfTheAnimatedSevenAndReseeds) {
    platform::SequenceRandom random{0.0f, 0.99999994f, 0.5f};
    EXPECT_EQ(display::PickTransition(0, true, random), 1);
    EXPECT_EQ(display::PickTransition(0, true, random), 7);
    EXPECT_EQ(display::PickTransition(2, true, random), 4);
    EXPECT_EQ(random.randomizeCalls, 3);
    EXPECT_EQ(display::PickTransition(5, false, random), 5);
    EXPECT_EQ(random.randomizeCalls, 3);
}

// The player draws a frame's copies as one region; after every frame the
// picture must be exactly what the copies one by one would have left.
TEST(TransitionPlayer, EveryFrameMatchesTheCopiesMadeOneByOne) {
    for (const QSize size : {QSize(83, 47), QSize(19, 7), QSize(1, 1)}) {
        const QImage source = Gradient(size.width(), size.height());
        for (int t = 1; t <= 7; ++t) {
            const auto copies = TransitionCopies(t, size.width(), size.height());
            QImage target(source.size(), QImage::Format_RGB32);
            target.fill(Qt::black);
            std::vector<TransitionCopy> seen;
            display::TransitionPlayer player(copies);
            int frames = 0;
            while (!player.done()) {
                EXPECT_EQ(player.nextFrame(), frames);
                player.drawFrame(source, target, [&](const TransitionCopy& c) { seen.push_back(c); });
                ++frames;
                EXPECT_EQ(target, CopyOneByOne(copies, source, seen.size()))
                    << "transition " << t << " frame " << frames << " size " << size.width();
            }
            EXPECT_EQ(seen, copies) << t;
            EXPECT_EQ(frames, std::min<int>(60, int(copies.size()))) << t;
            // These end with the whole picture; the centred wipes may leave a margin.
            if (t == 1 || t == 2 || t == 6 || t == 7) {
                EXPECT_EQ(target, source) << t << " size " << size.width();
            }
        }
    }
}
