#include <gtest/gtest.h>

#include "display/clone_field.h"
#include "display_fixture.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "settings/values.h"

using display::CloneField;

namespace {

// A clone field on its own, set up as the display sets it up at start: the
// built-in settings with the given effect, number of pictures and of clones
// and any further "key=value" lines, picture sets built from one-colour pictures (picture
// N in display_test::PictureColor(N)), and a back buffer of `screen` pixels.
struct FieldFixture {
    testing_support::TempAppFolder folder;
    settings::Values values;
    platform::SequenceRandom random{0.5f};
    display::BackBuffer buffer;
    CloneField field{values, random, buffer};
    platform::PictureBox firstSource, secondSource;

    CloneField& start(int mode, int pictures, int clones, const QString& lines = QString(),
                      QSize screen = QSize(200, 150)) {
        folder.writeSettings(display_test::Ini(mode, pictures, clones));
        const platform::ProfileFile file(settings::SettingsPath(folder.path()));
        for (const QString& line : lines.split(u'\n', Qt::SkipEmptyParts)) {
            const QString name = line.section(u'=', 0, 0);
            for (const settings::KeyInfo& key : settings::CommitOrder())
                if (name == QLatin1String(key.key))
                    file.write(QLatin1String(key.section), name, line.section(u'=', 1));
        }
        values = settings::ReadValues(folder.path(), folder.path());
        buffer.resize(screen);
        field.setEffect(values.effect);
        field.placeClones();
        fill(firstSource, field.firstSet, 0);
        if (pictures > 1) {
            fill(secondSource, field.secondSet, 1);
            field.secondSetReady = 1;
        }
        field.setUpProfile();
        return field;
    }

private:
    static void fill(platform::PictureBox& source, display::DisplayArray& set, int n) {
        QImage picture(40, 32, QImage::Format_RGB32);
        picture.fill(display_test::PictureColor(n));
        source.setAutoSize(true);
        source.setPicture(picture);
        display::BuildPictureSet(source, set);
    }
};

// Horizontal moves of clone 0 over `ticks` ticks, and its stage after each.
struct Track {
    std::vector<int> dx, dy, stage;
};
Track track(CloneField& field, int ticks) {
    Track t;
    for (int n = 0; n < ticks; ++n) {
        const int x = field.cloneX[0], y = field.cloneY[0];
        field.tick(false);
        t.dx.push_back(n == 0 ? 0 : int(field.cloneX[0]) - x);
        t.dy.push_back(n == 0 ? 0 : int(field.cloneY[0]) - y);
        t.stage.push_back(field.cloneStage[0]);
    }
    return t;
}

TEST(CloneTick, EveryCloneEntersOnTheFirstTick) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.5f, 0.25f};
    auto& field = f.start(0, 1, 4);
    field.tick(false);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(field.cloneX[i], 100);
        EXPECT_EQ(field.cloneY[i], 37);
        EXPECT_EQ(field.cloneStage[i], 11);
    }
    // Drawn at stage 12 (5 x 4) over the black background.
    EXPECT_EQ(f.buffer.image().pixelColor(102, 39), display_test::PictureColor(0));
    EXPECT_EQ(f.buffer.image().pixelColor(105, 39), QColor(Qt::black));
}

TEST(CloneTick, TheScreenEdgeIsOnScreenOnePixelPastIsNot) {
    FieldFixture f;
    auto& field = f.start(0, 1, 1);
    for (int x : {200, 201}) {
        field.cloneX[0] = x;
        field.cloneY[0] = 150;
        field.cloneDX[0] = field.cloneDY[0] = 0;
        field.cloneStage[0] = 12;
        field.tick(false);
        if (x == 200) {
            EXPECT_EQ(field.cloneX[0], 200);
            EXPECT_EQ(field.cloneY[0], 150);
        } else {
            EXPECT_EQ(field.cloneX[0], 100);  // re-entered at Rnd 0.5
        }
    }
}

TEST(CloneTick, GlidoramaStandsStillThroughStageSevenThenFliesAway) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.1f};
    auto& field = f.start(0, 1, 1, QString(), QSize(2000, 1500));
    const Track t = track(field, 11);
    // Upper left quarter: away from the centre is up and left.
    EXPECT_EQ(t.dx, (std::vector<int>{0, 0, 0, 0, 0, 0, -4, -12, -48, -48, -48}));
    EXPECT_EQ(t.dy, t.dx);
    EXPECT_EQ(t.stage, (std::vector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(CloneTick, WarpShrinksAndFirstMovesAfterStageNine) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.6f};
    auto& field = f.start(2, 1, 1, QString(), QSize(2000, 1500));
    const Track t = track(field, 14);
    EXPECT_EQ(t.dx, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 9, 27, 81, 81}));
    EXPECT_EQ(t.stage, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12, 12}));
}

TEST(CloneTick, DeckOfCardsMovesOnceEveryTwelveTicksAndKeepsItsTrail) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.6f};
    auto& field = f.start(4, 1, 1, QStringLiteral("DeckGradient=11\n"), QSize(400, 300));
    const Track t = track(field, 26);
    for (int n = 0; n < 26; ++n) EXPECT_EQ(t.dx[size_t(n)], (n == 12 || n == 24) ? 11 : 0) << n;
    EXPECT_EQ(t.stage[11], 12);
    // The first stack (entered at 240, 180) is still on screen after the move.
    EXPECT_EQ(f.buffer.image().pixelColor(241, 181), display_test::PictureColor(0));
}

TEST(CloneTick, VortexChangesStageEveryThirdTickAndCirclesClockwise) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.5f};
    auto& field = f.start(6, 1, 1, QString(), QSize(400, 300));
    field.tick(false);
    // Entered inside the central box, in the upper left quarter: up and right.
    EXPECT_EQ(field.cloneX[0], 170 + 15);
    EXPECT_EQ(field.cloneY[0], 127 - 20);
    const Track t = track(field, 8);
    EXPECT_EQ(t.stage, (std::vector<int>{12, 11, 11, 11, 10, 10, 10, 9}));
    EXPECT_EQ(t.dx[1], 15);
    // Past the half lines it turns right and down, then down and left.
    EXPECT_EQ(t.dx[2], 20);
    EXPECT_EQ(t.dy[2], 15);
    EXPECT_EQ(field.cloneY[0], 157);
    EXPECT_EQ(field.cloneDX[0], -15);
    EXPECT_EQ(field.cloneDY[0], 20);
}

TEST(CloneTick, JumpingBeansAtSpeedFiveAlwaysStepFiveLeft) {
    FieldFixture f;
    f.random = platform::SequenceRandom{0.1f, 0.9f, 0.4f, 0.7f, 0.0f, 0.55f};
    auto& field = f.start(5, 1, 3, QStringLiteral("SpeedofJump=5\n"), QSize(400, 300));
    for (int n = 0; n < 30; ++n) {
        field.tick(false);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(field.cloneDX[i], -5);
            EXPECT_GE(field.cloneDY[i], -5);
            EXPECT_LE(field.cloneDY[i], 4);
        }
    }
}

TEST(CloneTick, ClonesBelowIntroCountPassToTheSecondSetAtStageTwelve) {
    FieldFixture f;
    auto& field = f.start(0, 2, 3, QString(), QSize(400, 300));
    field.introCount = 2;
    field.tick(false);
    EXPECT_EQ(field.cloneSet[0], 1);
    EXPECT_EQ(field.cloneSet[1], 1);
    EXPECT_EQ(field.cloneSet[2], 0);  // index not admitted, even at stage 12
    // Clones 0 and 1 drew last and sit at the same place (Rnd 0.5): the second
    // clone's copy is from the second set, clone 2's from the first on top.
    EXPECT_EQ(f.buffer.image().pixelColor(201, 151), display_test::PictureColor(0));
    field.cloneStage[2] = 5;
    field.cloneX[2] = 10;
    field.cloneY[2] = 10;
    field.tick(false);
    EXPECT_EQ(f.buffer.image().pixelColor(201, 151), display_test::PictureColor(1));
}

// Clone 0 forced to re-enter on each tick, already passed: how often does
// the hand-over advance?
int advances(int mode, int changeNextImage, bool secondSetOnShow, int ticks, int counter = 1) {
    FieldFixture f;
    auto& field = f.start(mode, 2, 40, QStringLiteral("ChangeNextImage=%1\nSpeedofSplat=3\n").arg(changeNextImage),
                          QSize(400, 300));
    field.introCount = 1;
    field.pacingCounter = counter;
    field.secondSetReady = secondSetOnShow ? 0 : 1;
    for (auto& s : field.cloneSet) s = secondSetOnShow ? 1 : 0;
    field.cloneSet[0] = secondSetOnShow ? 0 : 1;
    for (int n = 0; n < ticks; ++n) {
        field.cloneX[0] = -5;
        field.tick(secondSetOnShow);
    }
    return field.introCount - 1;
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
    for (bool secondSetOnShow : {false, true}) {
        FieldFixture f;
        auto& field = f.start(7, 2, 2, QString(), QSize(400, 300));
        field.introCount = secondSetOnShow ? 10 : 5;  // ClonesOfImage (1) + 5 would be 6
        field.cloneSet[0] = secondSetOnShow ? 0 : 1;
        field.secondSetReady = secondSetOnShow ? 0 : 1;
        EXPECT_FALSE(field.tick(secondSetOnShow));
        field.introCount = secondSetOnShow ? 11 : 6;
        EXPECT_TRUE(field.tick(secondSetOnShow));
        EXPECT_EQ(field.loadTarget, secondSetOnShow ? 0 : 1);
    }
}

}  // namespace

namespace {

// Steps far past anything the dialog offers keep the saver running: a
// clone carried past the 16-bit range stays at its end, off screen, and
// re-enters on the next tick.
TEST(CloneTick, HugeStepSettingsNeverOverflow) {
    const std::pair<int, const char*> cases[] = {{5, "SpeedofJump=1e9\n"},
                                                 {5, "SpeedofJump=-1e9\n"},
                                                 {5, "SpeedofJump=1e308\n"},
                                                 {7, "SpeedofSplat=32767\n"},
                                                 {3, "PsychGradient=-32768\n"}};
    for (const auto& [mode, line] : cases) {
        FieldFixture f;
        f.random = platform::SequenceRandom{0.9f, 0.3f, 0.0f, 0.6f, 0.1f};
        CloneField* started = nullptr;
        ASSERT_NO_THROW(started = &f.start(mode, 1, 3, QString::fromLatin1(line), QSize(400, 300))) << line;
        CloneField& field = *started;
        bool farOff = false;
        for (int n = 0; n < 40; ++n) {
            ASSERT_NO_THROW(field.tick(false)) << line << " tick " << n;
            for (size_t i = 0; i < 3; ++i) farOff = farOff || std::abs(int(field.cloneX[i])) > 10000;
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
    const Case cases[] = {{{200, 150}, 100, 75, 7, 7},  {{200, 150}, 99, 74, -7, -7},  {{200, 150}, 100, 74, 7, -7},
                          {{200, 150}, 99, 75, -7, 7},  {{201, 151}, 100, 75, -7, -7}, {{201, 151}, 101, 76, 7, 7},
                          {{200, 150}, 200, 10, 7, -7}, {{200, 150}, 201, 10, 7, 7}};
    for (const Case& c : cases) {
        FieldFixture f;
        auto& field = f.start(0, 1, 1, QString(), c.screen);
        field.cloneIndex = 0;
        field.cloneX[0] = vb::Integer(int16_t(c.x));
        field.cloneY[0] = vb::Integer(int16_t(c.y));
        field.AimClone(vb::Integer(7));
        EXPECT_EQ(field.cloneDX[0], c.dx) << c.screen.width() << " " << c.x << "," << c.y;
        EXPECT_EQ(field.cloneDY[0], c.dy) << c.screen.width() << " " << c.x << "," << c.y;
    }
}

}  // namespace
