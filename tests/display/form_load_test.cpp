#include <gtest/gtest.h>

#include <QFile>

#include "display/float_show.h"
#include "display/form1.h"
#include "display_fixture.h"
#include "imagestore/cache_paths.h"
#include "support/no_effect.h"

using display_test::DisplayFixture;
using display_test::Ini;
using testing_support::kNoEffect;

namespace {

const QString kTail = QStringLiteral(
    "\r\nwas not processed correctly! Glidorama will\r\nnot function unless a different image is reloaded."
    "\r\nPlease go into settings and choose a different image.");

TEST(FormLoad, CloneEffectLoadsBothSetsAndStartsTheAnimator) {
    DisplayFixture f;
    f.makePictures(2);
    auto& formForm = f.load(Ini(0, 2, 3));
    auto& form = f.clones();
    EXPECT_EQ(f.host.exitRequests, 0);
    EXPECT_FALSE(f.t.end.ended);
    EXPECT_EQ(form.cacheNumber(), 1);
    EXPECT_EQ(form.clones().secondSetReady, 1);
    EXPECT_EQ(form.clones().cloneX.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(form.clones().cloneX[i], -1);
        EXPECT_EQ(form.clones().cloneStage[i], 12);
    }
    EXPECT_EQ(form.clones().cloneIndex, 3);
    EXPECT_EQ(DisplayFixture::pictureNumber(form.FirstPicture()), 0);
    EXPECT_EQ(DisplayFixture::pictureNumber(form.SecondPicture()), 1);
    EXPECT_EQ(form.clones().firstSet[0].Image().size(), QSize(40, 32));
    EXPECT_EQ(formForm.ScaleMode(), platform::ScaleMode::Pixels);
    EXPECT_EQ(formForm.ScaleWidth(), 200);
    EXPECT_TRUE(form.firstSetTick().Enabled());
    EXPECT_EQ(form.firstSetTick().Interval(), 20);
    EXPECT_EQ(form.secondSetTick().Interval(), 20);
    EXPECT_FALSE(form.secondSetTick().Enabled());
    // Rule A: the scheduler runs every NextImageTime seconds (default 30).
    EXPECT_TRUE(form.changeScheduler().Enabled());
    EXPECT_EQ(form.changeScheduler().Interval(), 30000);
    EXPECT_EQ(form.clones().stageStep[5], 4);
    EXPECT_EQ(form.clones().stageStep[11], 48);
    EXPECT_EQ(form.clones().keepTrails, 0);
}

TEST(FormLoad, OnePictureLeavesTheSecondSetEmptyAndNoScheduler) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 1, 5));
    auto& form = f.clones();
    EXPECT_EQ(form.cacheNumber(), 0);
    EXPECT_EQ(form.clones().secondSetReady, 0);
    EXPECT_FALSE(form.changeScheduler().Enabled());
    EXPECT_TRUE(form.SecondPicture().Picture().isNull());
}

TEST(FormLoad, RuleBAndEffectProfiles) {
    DisplayFixture f;
    f.makePictures(2);
    f.load(Ini(3, 2, 2, "PsychGradient=7\nNeverChange=True\n"));
    auto& form = f.clones();
    EXPECT_EQ(form.changeScheduler().Interval(), 5000);
    EXPECT_TRUE(form.changeScheduler().Enabled());
    EXPECT_EQ(form.clones().keepTrails, -1);
    EXPECT_EQ(form.clones().stageStep[11], 7);
    EXPECT_EQ(form.clones().stageStep[0], 0);

    DisplayFixture g;
    g.makePictures(2);
    g.load(Ini(7, 2, 2, "ChangeNextImage=0\nSpeedofSplat=13\n"));
    auto& splat = g.clones();
    EXPECT_FALSE(splat.changeScheduler().Enabled());
    EXPECT_EQ(splat.clones().pacingCounter, 1);
    EXPECT_EQ(splat.clones().stageStep[11], 13);

    DisplayFixture h;
    h.makePictures(2);
    h.load(Ini(2, 2, 2, "NeverChange=True\n"));
    auto& warp = h.clones();
    EXPECT_FALSE(warp.changeScheduler().Enabled());
    EXPECT_EQ(warp.clones().stageStep[0], 81);
    EXPECT_EQ(warp.clones().stageStep[3], 3);
}

TEST(FormLoad, ModeOutsideTheEffectsShowsOnlyTheBackground) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form =
        f.load(QStringLiteral("[saver]\nmode=%1\nnewBackColor=255\n[total]\nnewTotal=2\n").arg(kNoEffect).toUtf8());
    EXPECT_EQ(form.animation(), nullptr);
    QImage expected(200, 150, QImage::Format_RGB32);
    expected.fill(QColor(255, 0, 0));
    EXPECT_EQ(form.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

TEST(FormLoad, FloatUsesTwipsAndTheMotionSpeedTable) {
    const std::pair<const char*, int> table[] = {{"1", 200}, {"2", 150}, {"3", 100}, {"4", 50},
                                                 {"5", 1},   {"0", 100}, {"6", 100}};
    for (const auto& [speed, interval] : table) {
        DisplayFixture f;
        auto& form = f.load(Ini(1, 2, 2, QStringLiteral("floatImageSpeed=%1\n").arg(speed)));
        EXPECT_TRUE(f.host.failures.isEmpty());
        auto& show = f.floating().show();
        EXPECT_EQ(show.floatMotion().Interval(), interval) << speed;
        EXPECT_FALSE(show.floatMotion().Enabled());
        EXPECT_TRUE(show.changeScheduler().Enabled());
        EXPECT_EQ(show.changeScheduler().Interval(), 250);
        EXPECT_EQ(form.ScaleMode(), platform::ScaleMode::Twips);
        EXPECT_EQ(form.ScaleWidth(), 3000);
    }
}

// A picture that cannot be used at start is the host's to decide: the
// display asks once, naming the file built last, and stands still.
TEST(FormLoad, MissingOrGarbageFirstPictureIsReportedWithItsPath) {
    for (bool garbage : {false, true}) {
        DisplayFixture f;
        f.t.folder.makeCacheFolder();
        const QString path = imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("0"));
        if (garbage) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write("this is not a picture");
        }
        auto& form = f.load(Ini(0, 2, 2));
        EXPECT_EQ(f.host.failures, QStringList{path + kTail});
        EXPECT_EQ(form.animation(), nullptr);
    }
}

TEST(FormLoad, MissingSecondPictureAndBadGradientNameTheLastPath) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 3, 2));
    EXPECT_EQ(f.host.failures, QStringList{imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("1")) + kTail});

    DisplayFixture g;
    g.makePictures(1);
    g.load(Ini(4, 1, 2, QStringLiteral("DeckGradient=lots\n")));
    EXPECT_EQ(g.host.failures, QStringList{imagestore::CachedPicturePath(g.t.folder.path(), QStringLiteral("0")) + kTail});
}

TEST(FormLoad, CloneCountOutOfRangeIsReportedNotAllocated) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 1, 100000));
    EXPECT_EQ(f.host.failures.size(), 1);
    f.load(Ini(0, 1, 1));
    EXPECT_TRUE(f.clones().clones().cloneX.size() == 1u);
}

}  // namespace
