#include <gtest/gtest.h>

#include "display/form1.h"
#include "display_fixture.h"
#include "imagestore/cache_paths.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

// Runs the timers by hand as the event loop would: the loader first when it
// is armed, the scheduler every `schedulerEvery` ticks, else the clone timer
// that is on. Returns the cached pictures loaded, in order.
std::vector<int> run(DisplayFixture& f, int ticks, int schedulerEvery = 40) {
    auto& form = f.clones();
    std::vector<int> loaded;
    for (int n = 1; n <= ticks; ++n) {
        EXPECT_FALSE(form.firstSetTick().Enabled() && form.secondSetTick().Enabled());
        if (form.nextPictureLoader().Enabled()) {
            const bool fillsFirst = form.clones().loadTarget == 1;
            form.Timer4_Timer();
            loaded.push_back(DisplayFixture::pictureNumber(fillsFirst ? form.FirstPicture() : form.SecondPicture()));
        } else if (form.changeScheduler().Enabled() && n % schedulerEvery == 0) {
            form.Timer2_Timer();
        } else if (form.firstSetTick().Enabled()) {
            form.Timer1_Timer();
        } else if (form.secondSetTick().Enabled()) {
            form.Timer5_Timer();
        }
    }
    return loaded;
}

// The count wraps the round however the file writes it ("03" once ran
// past the last picture and ended the run).
TEST(PictureRotation, SchedulerAlternatesSetsAndPicturesWrapAtNewTotal) {
    for (const char* count : {"3", "03", "3.0"}) {
        SCOPED_TRACE(count);
        DisplayFixture f;
        f.makePictures(3);
        f.load(Ini(0, 3, 2, QStringLiteral("IntroImageAmount=1\n")).replace("newTotal=3", QByteArray("newTotal=") + count));
        auto& form = f.clones();
        EXPECT_EQ(form.clones().loadTarget, 0);
        std::vector<int> targets;
        std::vector<int> loaded;
        for (int change = 0; change < 4; ++change) {
            form.clones().introCount = 2;  // every clone introduced
            form.Timer2_Timer();
            ASSERT_TRUE(form.nextPictureLoader().Enabled());
            targets.push_back(form.clones().loadTarget);
            form.Timer4_Timer();
            loaded.push_back(form.cacheNumber());
            EXPECT_EQ(form.clones().introCount, 0);
            EXPECT_FALSE(form.nextPictureLoader().Enabled());
            EXPECT_EQ(form.firstSetTick().Enabled(), form.clones().loadTarget == 0);
            EXPECT_EQ(form.secondSetTick().Enabled(), form.clones().loadTarget == 1);
            EXPECT_EQ(form.clones().secondSetReady, form.clones().loadTarget == 0 ? 1 : 0);
        }
        EXPECT_EQ(targets, (std::vector<int>{1, 0, 1, 0}));
        // 0 and 1 came with start-up: the order on screen is 0, 1, 2, 0, 1, 2.
        EXPECT_EQ(loaded, (std::vector<int>{2, 0, 1, 2}));
        EXPECT_EQ(DisplayFixture::pictureNumber(form.SecondPicture()), 2);
        EXPECT_EQ(DisplayFixture::pictureNumber(form.FirstPicture()), 1);
        EXPECT_EQ(DisplayFixture::pictureNumber(form.clones().secondSet[11]), -1);  // members hold no Picture
        EXPECT_EQ(form.clones().secondSet[11].Image().pixelColor(0, 0), display_test::PictureColor(2));
    }
}

TEST(PictureRotation, SchedulerRaisesIntroCountUntilAllClonesAreIn) {
    DisplayFixture f;
    f.makePictures(2);
    f.load(Ini(2, 2, 5, QStringLiteral("IntroImageAmount=2\n")));
    auto& form = f.clones();
    form.Timer2_Timer();
    form.Timer2_Timer();
    EXPECT_EQ(form.clones().introCount, 4);
    EXPECT_FALSE(form.nextPictureLoader().Enabled());
    form.Timer2_Timer();
    form.Timer2_Timer();
    EXPECT_TRUE(form.nextPictureLoader().Enabled());

    DisplayFixture g;
    g.makePictures(2);
    g.load(Ini(3, 2, 5));
    auto& psych = g.clones();
    psych.Timer2_Timer();
    EXPECT_EQ(psych.clones().introCount, 1);
    EXPECT_FALSE(psych.changeScheduler().Enabled());
}

TEST(PictureRotation, OnePictureNeverChanges) {
    for (int mode : {0, 3}) {
        DisplayFixture f;
        f.makePictures(1);
        f.t.random = platform::SequenceRandom{0.3f, 0.8f, 0.55f};
        f.load(Ini(mode, 1, 3, QStringLiteral("PsychGradient=60\n")));
        EXPECT_FALSE(f.clones().changeScheduler().Enabled());
        EXPECT_TRUE(run(f, 500).empty());
        EXPECT_EQ(f.clones().clones().introCount, 0);
        for (auto s : f.clones().clones().cloneSet) EXPECT_EQ(s, 0);
    }
}

// The self-paced effects must keep changing pictures under both clone
// timers whatever the pace: a pacing counter left high by one timer must
// not stall the other.
TEST(PictureRotation, SelfPacedEffectsKeepChangingUnderBothTimers) {
    for (int mode : {3, 5, 7}) {
        for (int changeNext : {1, 2, 3}) {
            DisplayFixture f;
            f.makePictures(3);
            f.t.random = platform::SequenceRandom{0.13f, 0.71f, 0.37f, 0.93f, 0.52f, 0.05f, 0.66f, 0.28f, 0.84f};
            f.load(Ini(mode, 3, 3,
                       QStringLiteral("ChangeNextImage=%1\nPsychGradient=60\nSpeedofSplat=60\nSpeedofJump=40\n")
                           .arg(changeNext)),
                   QSize(120, 90));
            const std::vector<int> loaded = run(f, 12000, 1000);
            EXPECT_GE(loaded.size(), 8u) << "mode " << mode << " ChangeNextImage " << changeNext;
            for (size_t k = 0; k < loaded.size(); ++k) EXPECT_EQ(loaded[k], int(k + 2) % 3);
            EXPECT_TRUE(f.host.failures.isEmpty());
        }
    }
}

TEST(PictureRotation, SchedulerEffectsKeepChangingToo) {
    for (int mode : {0, 2, 4, 6}) {
        DisplayFixture f;
        f.makePictures(2);
        f.t.random = platform::SequenceRandom{0.13f, 0.71f, 0.37f, 0.93f, 0.52f, 0.05f};
        f.load(Ini(mode, 2, 3, QStringLiteral("DeckGradient=30\n")), QSize(120, 90));
        const std::vector<int> loaded = run(f, 6000, 50);
        EXPECT_GE(loaded.size(), 4u) << mode;
        for (size_t k = 0; k < loaded.size(); ++k) EXPECT_EQ(loaded[k], int(k) % 2) << mode;
    }
}

// A picture that fails to load is the host's to decide: the display asks
// once, naming the file, and stands still unless told to go on.
TEST(PictureRotation, MissingLaterPictureIsReportedWithItsPath) {
    for (auto outcome : {display::FailureOutcome::End, display::FailureOutcome::PassOver}) {
        DisplayFixture f;
        f.makePictures(2);
        f.host.outcome = outcome;
        auto& form = f.load(Ini(0, 3, 2));
        auto& show = f.clones();
        const double start = f.t.clock.elapsed * 1000;
        show.clones().introCount = 2;
        show.Timer2_Timer();
        form.advanceTo(start + 16);
        ASSERT_EQ(f.host.failures.size(), 1);
        EXPECT_EQ(f.host.failures[0],
                  imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("2")) +
                      QStringLiteral("\r\nwas not processed correctly! Glidorama will\r\nnot function unless a "
                                     "different image is reloaded.\r\nPlease go into settings and choose a "
                                     "different image."));
        // Standing still, the clones stay where they are; going on, they move.
        const int x = show.clones().cloneX[0];
        form.advanceTo(start + 100);
        EXPECT_EQ(show.clones().cloneX[0] == x, outcome == display::FailureOutcome::End);
    }
}

}  // namespace

namespace {

// An amount past the 16-bit range neither stops the saver nor stalls it: the
// count stays at the end of the range, so a huge amount admits every clone
// at once and a negative one never admits any.
TEST(PictureRotation, IntroCountStaysWithinSixteenBitsWhateverTheAmount) {
    DisplayFixture f;
    f.makePictures(2);
    f.load(Ini(0, 2, 3, QStringLiteral("IntroImageAmount=1e9\n")));
    auto& form = f.clones();
    form.Timer2_Timer();
    EXPECT_EQ(form.clones().introCount, 32767);
    form.Timer2_Timer();
    EXPECT_TRUE(form.nextPictureLoader().Enabled());

    DisplayFixture g;
    g.makePictures(2);
    g.load(Ini(0, 2, 3, QStringLiteral("IntroImageAmount=-20000\n")));
    auto& down = g.clones();
    for (int n = 0; n < 3; ++n) down.Timer2_Timer();
    EXPECT_EQ(down.clones().introCount, -32768);
    EXPECT_FALSE(down.nextPictureLoader().Enabled());

    // The self-paced effects add the same amount from the clone tick.
    DisplayFixture h;
    h.makePictures(2);
    h.load(Ini(3, 2, 3, QStringLiteral("IntroImageAmount=1e9\nChangeNextImage=3\n")), QSize(400, 300));
    auto& psych = h.clones();
    psych.clones().introCount = 1;
    psych.clones().cloneSet[0] = 1;
    psych.clones().cloneX[0] = -5;  // re-enters at stage 12 on this tick
    psych.Timer1_Timer();
    EXPECT_EQ(psych.clones().introCount, 32767);
    psych.Timer1_Timer();
    EXPECT_TRUE(psych.nextPictureLoader().Enabled());
    EXPECT_TRUE(h.host.failures.isEmpty());
}

}  // namespace
