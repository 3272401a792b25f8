#include <gtest/gtest.h>

#include "display/form1.h"
#include "display_fixture.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

// Horizontal moves of clone 0 over `ticks` ticks, and its stage after each.
struct Track {
    std::vector<int> dx, dy, stage;
};
Track track(display::Form1& form, int ticks) {
    Track t;
    for (int n = 0; n < ticks; ++n) {
        const int x = form.clones().cloneX[0], y = form.clones().cloneY[0];
        form.Timer1_Timer();
        t.dx.push_back(n == 0 ? 0 : int(form.clones().cloneX[0]) - x);
        t.dy.push_back(n == 0 ? 0 : int(form.clones().cloneY[0]) - y);
        t.stage.push_back(form.clones().cloneStage[0]);
    }
    return t;
}

TEST(CloneTick, EveryCloneEntersOnTheFirstTick) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.5f, 0.25f};
    auto& form = f.load(Ini(0, 1, 4));
    form.Timer1_Timer();
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(form.clones().cloneX[i], 100);
        EXPECT_EQ(form.clones().cloneY[i], 37);
        EXPECT_EQ(form.clones().cloneStage[i], 11);
    }
    // Drawn at stage 12 (5 x 4) over the black background.
    EXPECT_EQ(form.backBuffer().pixelColor(102, 39), display_test::PictureColor(0));
    EXPECT_EQ(form.backBuffer().pixelColor(105, 39), QColor(Qt::black));
}

TEST(CloneTick, TheScreenEdgeIsOnScreenOnePixelPastIsNot) {
    DisplayFixture f;
    f.makePictures(1);
    auto& form = f.load(Ini(0, 1, 1));
    for (int x : {200, 201}) {
        form.clones().cloneX[0] = x;
        form.clones().cloneY[0] = 150;
        form.clones().cloneDX[0] = form.clones().cloneDY[0] = 0;
        form.clones().cloneStage[0] = 12;
        form.Timer1_Timer();
        if (x == 200) {
            EXPECT_EQ(form.clones().cloneX[0], 200);
            EXPECT_EQ(form.clones().cloneY[0], 150);
        } else {
            EXPECT_EQ(form.clones().cloneX[0], 100);  // re-entered at Rnd 0.5
        }
    }
}

TEST(CloneTick, GlidoramaStandsStillThroughStageSevenThenFliesAway) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.1f};
    auto& form = f.load(Ini(0, 1, 1), QSize(2000, 1500));
    const Track t = track(form, 11);
    // Upper left quarter: away from the centre is up and left.
    EXPECT_EQ(t.dx, (std::vector<int>{0, 0, 0, 0, 0, 0, -4, -12, -48, -48, -48}));
    EXPECT_EQ(t.dy, t.dx);
    EXPECT_EQ(t.stage, (std::vector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(CloneTick, WarpShrinksAndFirstMovesAfterStageNine) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.6f};
    auto& form = f.load(Ini(2, 1, 1), QSize(2000, 1500));
    const Track t = track(form, 14);
    EXPECT_EQ(t.dx, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 9, 27, 81, 81}));
    EXPECT_EQ(t.stage, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12, 12}));
}

TEST(CloneTick, DeckOfCardsMovesOnceEveryTwelveTicksAndKeepsItsTrail) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.6f};
    auto& form = f.load(Ini(4, 1, 1, QStringLiteral("DeckGradient=11\n")), QSize(400, 300));
    const Track t = track(form, 26);
    for (int n = 0; n < 26; ++n) EXPECT_EQ(t.dx[size_t(n)], (n == 12 || n == 24) ? 11 : 0) << n;
    EXPECT_EQ(t.stage[11], 12);
    // The first stack (entered at 240, 180) is still on screen after the move.
    EXPECT_EQ(form.backBuffer().pixelColor(241, 181), display_test::PictureColor(0));
}

TEST(CloneTick, VortexChangesStageEveryThirdTickAndCirclesClockwise) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.5f};
    auto& form = f.load(Ini(6, 1, 1), QSize(400, 300));
    form.Timer1_Timer();
    // Entered inside the central box, in the upper left quarter: up and right.
    EXPECT_EQ(form.clones().cloneX[0], 170 + 15);
    EXPECT_EQ(form.clones().cloneY[0], 127 - 20);
    const Track t = track(form, 8);
    EXPECT_EQ(t.stage, (std::vector<int>{12, 11, 11, 11, 10, 10, 10, 9}));
    EXPECT_EQ(t.dx[1], 15);
    // Past the half lines it turns right and down, then down and left.
    EXPECT_EQ(t.dx[2], 20);
    EXPECT_EQ(t.dy[2], 15);
    EXPECT_EQ(form.clones().cloneY[0], 157);
    EXPECT_EQ(form.clones().cloneDX[0], -15);
    EXPECT_EQ(form.clones().cloneDY[0], 20);
}

TEST(CloneTick, JumpingBeansAtSpeedFiveAlwaysStepFiveLeft) {
    DisplayFixture f;
    f.makePictures(1);
    f.t.random = platform::SequenceRandom{0.1f, 0.9f, 0.4f, 0.7f, 0.0f, 0.55f};
    auto& form = f.load(Ini(5, 1, 3, QStringLiteral("SpeedofJump=5\n")), QSize(400, 300));
    for (int n = 0; n < 30; ++n) {
        form.Timer1_Timer();
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(form.clones().cloneDX[i], -5);
            EXPECT_GE(form.clones().cloneDY[i], -5);
            EXPECT_LE(form.clones().cloneDY[i], 4);
        }
    }
}

TEST(CloneTick, ClonesBelowIntroCountPassToTheSecondSetAtStageTwelve) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(Ini(0, 2, 3), QSize(400, 300));
    form.clones().introCount = 2;
    form.Timer1_Timer();
    EXPECT_EQ(form.clones().cloneSet[0], 1);
    EXPECT_EQ(form.clones().cloneSet[1], 1);
    EXPECT_EQ(form.clones().cloneSet[2], 0);  // index not admitted, even at stage 12
    // Clones 0 and 1 drew last and sit at the same place (Rnd 0.5): the second
    // clone's copy is from the second set, clone 2's from the first on top.
    EXPECT_EQ(form.backBuffer().pixelColor(201, 151), display_test::PictureColor(0));
    form.clones().cloneStage[2] = 5;
    form.clones().cloneX[2] = 10;
    form.clones().cloneY[2] = 10;
    form.Timer1_Timer();
    EXPECT_EQ(form.backBuffer().pixelColor(201, 151), display_test::PictureColor(1));
}

// Clone 0 forced to re-enter on each tick, already passed: how often does
// the hand-over advance?
int advances(int mode, int changeNextImage, bool underTimer5, int ticks, int counter = 1) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(
        Ini(mode, 2, 40, QStringLiteral("ChangeNextImage=%1\nSpeedofSplat=3\n").arg(changeNextImage)),
        QSize(400, 300));
    form.clones().introCount = 1;
    form.clones().pacingCounter = counter;
    form.clones().secondSetReady = underTimer5 ? 0 : 1;
    for (auto& s : form.clones().cloneSet) s = underTimer5 ? 1 : 0;
    form.clones().cloneSet[0] = underTimer5 ? 0 : 1;
    for (int n = 0; n < ticks; ++n) {
        form.clones().cloneX[0] = -5;
        if (underTimer5) form.Timer5_Timer();
        else form.Timer1_Timer();
    }
    return form.clones().introCount - 1;
}

TEST(CloneTick, HandOverPacesDifferUnderTheTwoTimers) {
    for (int mode : {3, 5, 7}) {
        EXPECT_EQ(advances(mode, 3, false, 10), 10) << mode;
        EXPECT_EQ(advances(mode, 2, false, 10), 10) << mode;
        EXPECT_EQ(advances(mode, 1, false, 9), 3) << mode;
        EXPECT_EQ(advances(mode, 3, true, 10), 5) << mode;
        EXPECT_EQ(advances(mode, 2, true, 10), 2) << mode;
        EXPECT_EQ(advances(mode, 1, true, 16), 2) << mode;
        EXPECT_EQ(advances(mode, 0, false, 10), 0) << mode;
    }
    // A counter left past the threshold by the other timer does not stall the
    // hand-over: it counts as having reached it.
    EXPECT_EQ(advances(3, 2, false, 3, 5), 3);
    EXPECT_EQ(advances(3, 1, false, 3, 7), 1);
    // Effects that do not pace themselves never advance from the tick.
    EXPECT_EQ(advances(0, 3, false, 10), 0);
}

TEST(CloneTick, PacingAsksForTheNextPictureOnceEnoughClonesPassed) {
    for (bool underTimer5 : {false, true}) {
        DisplayFixture f;
        f.makePictures(2);
        auto& form = f.load(Ini(7, 2, 2), QSize(400, 300));
        form.clones().introCount = underTimer5 ? 10 : 5;  // ClonesOfImage (1) + 5 would be 6
        form.clones().cloneSet[0] = underTimer5 ? 0 : 1;
        form.clones().secondSetReady = underTimer5 ? 0 : 1;
        if (underTimer5) form.Timer5_Timer();
        else form.Timer1_Timer();
        EXPECT_FALSE(form.nextPictureLoader().Enabled());
        form.clones().introCount = underTimer5 ? 11 : 6;
        if (underTimer5) form.Timer5_Timer();
        else form.Timer1_Timer();
        EXPECT_TRUE(form.nextPictureLoader().Enabled());
        EXPECT_EQ(form.clones().loadTarget, underTimer5 ? 0 : 1);
    }
}

}  // namespace

namespace {

// Steps far past anything the dialog offers keep the saver running: a
// clone carried past the 16-bit range stays at its end, off screen, and
// re-enters on the next tick.
TEST(CloneTick, HugeStepSettingsNeverOverflow) {
    const std::pair<int, const char*> cases[] = {
        {5, "SpeedofJump=1e9\n"},         {5, "SpeedofJump=-1e9\n"},     {5, "SpeedofJump=1e308\n"},
        {7, "SpeedofSplat=32767\n"},      {3, "PsychGradient=-32768\n"}};
    for (const auto& [mode, line] : cases) {
        DisplayFixture f;
        f.makePictures(1);
        f.t.random = platform::SequenceRandom{0.9f, 0.3f, 0.0f, 0.6f, 0.1f};
        auto& form = f.load(Ini(mode, 1, 3, QString::fromLatin1(line)), QSize(400, 300));
        ASSERT_FALSE(f.t.end.ended) << line;
        bool farOff = false;
        for (int n = 0; n < 40; ++n) {
            ASSERT_NO_THROW(form.Timer1_Timer()) << line << " tick " << n;
            for (size_t i = 0; i < 3; ++i)
                farOff = farOff || std::abs(int(form.clones().cloneX[i])) > 10000;
        }
        EXPECT_TRUE(farOff) << line;
    }
}

}  // namespace

namespace {

// The heading away from the centre: a clone exactly on a half line belongs
// to the right or lower side; on an odd screen the half lies between pixels.
TEST(CloneTick, HalfLinesBelongToTheRightAndLowerSides) {
    struct Case {
        QSize screen;
        int x, y, dx, dy;
    };
    const Case cases[] = {{{200, 150}, 100, 75, 7, 7},   {{200, 150}, 99, 74, -7, -7}, {{200, 150}, 100, 74, 7, -7},
                          {{200, 150}, 99, 75, -7, 7},   {{201, 151}, 100, 75, -7, -7}, {{201, 151}, 101, 76, 7, 7},
                          {{200, 150}, 200, 10, 7, -7},  {{200, 150}, 201, 10, 7, 7}};
    for (const Case& c : cases) {
        DisplayFixture f;
        f.makePictures(1);
        auto& form = f.load(Ini(0, 1, 1), c.screen);
        form.clones().cloneIndex = 0;
        form.clones().cloneX[0] = vb::Integer(int16_t(c.x));
        form.clones().cloneY[0] = vb::Integer(int16_t(c.y));
        form.clones().AimClone(vb::Integer(7));
        EXPECT_EQ(form.clones().cloneDX[0], c.dx) << c.screen.width() << " " << c.x << "," << c.y;
        EXPECT_EQ(form.clones().cloneDY[0], c.dy) << c.screen.width() << " " << c.x << "," << c.y;
    }
}

}  // namespace
