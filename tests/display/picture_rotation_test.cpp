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
    auto& form = *f.form;
    std::vector<int> loaded;
    for (int n = 1; n <= ticks && !f.t.end.ended; ++n) {
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
        auto& form = f.load(Ini(0, 3, 2, QStringLiteral("IntroImageAmount=1\n"))
                                .replace("newTotal=3", QByteArray("newTotal=") + count));
        EXPECT_EQ(form.clones().loadTarget, 0);
        std::vector<int> targets;
        std::vector<int> loaded;
        for (int change = 0; change < 4; ++change) {
            form.clones().introCount = 2;  // every clone introduced
            form.Timer2_Timer();
            ASSERT_TRUE(form.nextPictureLoader().Enabled());
            targets.push_back(form.clones().loadTarget);
            form.Timer4_Timer();
            loaded.push_back(std::stoi(form.cacheNumber.toStdString()));
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
        EXPECT_EQ(DisplayFixture::pictureNumber(form.SecDisplayPicture(12)), -1);  // members hold no Picture
        EXPECT_EQ(form.SecDisplayPicture(12).Image().pixelColor(0, 0), display_test::PictureColor(2));
    }
}

TEST(PictureRotation, SchedulerRaisesIntroCountUntilAllClonesAreIn) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(Ini(2, 2, 5, QStringLiteral("IntroImageAmount=2\n")));
    form.Timer2_Timer();
    form.Timer2_Timer();
    EXPECT_EQ(form.clones().introCount, 4);
    EXPECT_FALSE(form.nextPictureLoader().Enabled());
    form.Timer2_Timer();
    form.Timer2_Timer();
    EXPECT_TRUE(form.nextPictureLoader().Enabled());

    DisplayFixture g;
    g.makePictures(2);
    auto& psych = g.load(Ini(3, 2, 5));
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
        EXPECT_FALSE(f.form->changeScheduler().Enabled());
        EXPECT_TRUE(run(f, 500).empty());
        EXPECT_EQ(f.form->clones().introCount, 0);
        for (auto s : f.form->clones().cloneSet) EXPECT_EQ(s, 0);
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
            EXPECT_FALSE(f.t.end.ended);
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

TEST(PictureRotation, MissingLaterPictureEndsTheRunWithItsPath) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(Ini(0, 3, 2, QString(), QStringLiteral("saverEnabled=1\n")));
    ASSERT_FALSE(f.t.end.ended);
    form.clones().introCount = 2;
    form.Timer2_Timer();
    form.Timer4_Timer();
    ASSERT_EQ(f.t.messages.shown.size(), 1u);
    EXPECT_EQ(f.t.messages.shown[0].text,
              imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("2")) +
                  QStringLiteral("\r\nwas not processed correctly! Glidorama will\r\nnot function unless a "
                                 "different image is reloaded.\r\nPlease go into settings and choose a "
                                 "different image."));
    EXPECT_EQ(f.t.messages.shown[0].style, 48);
    EXPECT_FALSE(f.t.desktop.keyLock);
    EXPECT_TRUE(f.t.end.ended);
    EXPECT_FALSE(form.firstSetTick().Enabled());
    EXPECT_FALSE(form.changeScheduler().Enabled());
    EXPECT_FALSE(form.isVisible());
}

}  // namespace

namespace {

// An amount past the 16-bit range neither stops the saver nor stalls it: the
// count stays at the end of the range, so a huge amount admits every clone
// at once and a negative one never admits any.
TEST(PictureRotation, IntroCountStaysWithinSixteenBitsWhateverTheAmount) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(Ini(0, 2, 3, QStringLiteral("IntroImageAmount=1e9\n")));
    form.Timer2_Timer();
    EXPECT_EQ(form.clones().introCount, 32767);
    form.Timer2_Timer();
    EXPECT_TRUE(form.nextPictureLoader().Enabled());

    DisplayFixture g;
    g.makePictures(2);
    auto& down = g.load(Ini(0, 2, 3, QStringLiteral("IntroImageAmount=-20000\n")));
    for (int n = 0; n < 3; ++n) down.Timer2_Timer();
    EXPECT_EQ(down.clones().introCount, -32768);
    EXPECT_FALSE(down.nextPictureLoader().Enabled());

    // The self-paced effects add the same amount from the clone tick.
    DisplayFixture h;
    h.makePictures(2);
    auto& psych = h.load(Ini(3, 2, 3, QStringLiteral("IntroImageAmount=1e9\nChangeNextImage=3\n")), QSize(400, 300));
    psych.clones().introCount = 1;
    psych.clones().cloneSet[0] = 1;
    psych.clones().cloneX[0] = -5;  // re-enters at stage 12 on this tick
    psych.Timer1_Timer();
    EXPECT_EQ(psych.clones().introCount, 32767);
    psych.Timer1_Timer();
    EXPECT_TRUE(psych.nextPictureLoader().Enabled());
    EXPECT_FALSE(h.t.end.ended);
}

}  // namespace
