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
    auto& form = f.load(Ini(0, 2, 3));
    EXPECT_EQ(f.host.exitRequests, 0);
    EXPECT_FALSE(f.t.end.ended);
    EXPECT_EQ(form.cacheNumber, "1");
    EXPECT_EQ(form.clones().secondSetReady, 1);
    EXPECT_EQ(form.clones().cloneX.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(form.clones().cloneX[i], -1);
        EXPECT_EQ(form.clones().cloneStage[i], 12);
    }
    EXPECT_EQ(form.clones().cloneIndex, 3);
    EXPECT_EQ(DisplayFixture::pictureNumber(form.FirstPicture()), 0);
    EXPECT_EQ(DisplayFixture::pictureNumber(form.SecondPicture()), 1);
    EXPECT_EQ(form.FirstDisplayPicture(1).Image().size(), QSize(40, 32));
    EXPECT_EQ(form.ScaleMode(), platform::ScaleMode::Pixels);
    EXPECT_TRUE(form.AutoRedraw());
    EXPECT_EQ(form.ScaleWidth(), 200);
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
    auto& form = f.load(Ini(0, 1, 5));
    EXPECT_EQ(form.cacheNumber, "0");
    EXPECT_EQ(form.clones().secondSetReady, 0);
    EXPECT_FALSE(form.changeScheduler().Enabled());
    EXPECT_TRUE(form.SecondPicture().Picture().isNull());
}

TEST(FormLoad, RuleBAndEffectProfiles) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form = f.load(Ini(3, 2, 2, "PsychGradient=7\nNeverChange=True\n"));
    EXPECT_EQ(form.changeScheduler().Interval(), 5000);
    EXPECT_TRUE(form.changeScheduler().Enabled());
    EXPECT_EQ(form.clones().keepTrails, -1);
    EXPECT_EQ(form.clones().stageStep[11], 7);
    EXPECT_EQ(form.clones().stageStep[0], 0);

    DisplayFixture g;
    g.makePictures(2);
    auto& splat = g.load(Ini(7, 2, 2, "ChangeNextImage=0\nSpeedofSplat=13\n"));
    EXPECT_FALSE(splat.changeScheduler().Enabled());
    EXPECT_EQ(splat.clones().pacingCounter, 1);
    EXPECT_EQ(splat.clones().stageStep[11], 13);

    DisplayFixture h;
    h.makePictures(2);
    auto& warp = h.load(Ini(2, 2, 2, "NeverChange=True\n"));
    EXPECT_FALSE(warp.changeScheduler().Enabled());
    EXPECT_EQ(warp.clones().stageStep[0], 81);
    EXPECT_EQ(warp.clones().stageStep[3], 3);
}

TEST(FormLoad, ModeOutsideTheEffectsShowsOnlyTheBackground) {
    DisplayFixture f;
    f.makePictures(2);
    auto& form =
        f.load(QStringLiteral("[saver]\nmode=%1\nnewBackColor=255\n[total]\nnewTotal=2\n").arg(kNoEffect).toUtf8());
    for (auto* t : {&form.firstSetTick(), &form.changeScheduler(), &form.nextPictureLoader(), &form.secondSetTick()})
        EXPECT_FALSE(t->Enabled());
    EXPECT_EQ(form.floatShow(), nullptr);
    EXPECT_EQ(DisplayFixture::pictureNumber(form.FirstPicture()), 0);
    QImage expected(200, 150, QImage::Format_RGB32);
    expected.fill(QColor(255, 0, 0));
    EXPECT_EQ(form.backBuffer(), expected);
}

TEST(FormLoad, FloatUsesTwipsAndTheMotionSpeedTable) {
    const std::pair<const char*, int> table[] = {{"1", 200}, {"2", 150}, {"3", 100}, {"4", 50},
                                                 {"5", 1},   {"0", 100}, {"6", 100}};
    for (const auto& [speed, interval] : table) {
        DisplayFixture f;
        auto& form = f.load(Ini(1, 2, 2, QStringLiteral("floatImageSpeed=%1\n").arg(speed)));
        EXPECT_FALSE(f.t.end.ended);
        ASSERT_NE(form.floatShow(), nullptr);
        EXPECT_EQ(form.floatShow()->floatMotion().Interval(), interval) << speed;
        EXPECT_FALSE(form.floatShow()->floatMotion().Enabled());
        EXPECT_TRUE(form.floatShow()->changeScheduler().Enabled());
        EXPECT_EQ(form.floatShow()->changeScheduler().Interval(), 250);
        EXPECT_FALSE(form.changeScheduler().Enabled());
        EXPECT_FALSE(form.firstSetTick().Enabled());
        EXPECT_EQ(form.ScaleMode(), platform::ScaleMode::Twips);
        EXPECT_EQ(form.ScaleWidth(), 3000);
        EXPECT_FALSE(form.AutoRedraw());
        EXPECT_TRUE(form.clones().cloneX.empty());
    }
}

TEST(FormLoad, KeyLockWithPasswordProtection) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 1, 2, QString(), QStringLiteral("saverEnabled=1\n")));
    EXPECT_TRUE(f.t.desktop.keyLock);
}

TEST(FormLoad, MissingOrGarbageFirstPictureEndsWithTheMessage) {
    for (bool garbage : {false, true}) {
        DisplayFixture f;
        f.t.folder.makeCacheFolder();
        const QString path = imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("0"));
        if (garbage) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write("this is not a picture");
        }
        auto& form = f.load(Ini(0, 2, 2, QString(), QStringLiteral("saverEnabled=1\n")));
        ASSERT_EQ(f.t.messages.shown.size(), 1u);
        EXPECT_EQ(f.t.messages.shown[0].text, path + kTail);
        EXPECT_EQ(f.t.messages.shown[0].style, 48);
        EXPECT_EQ(f.t.desktop.unlockCalls, 1);
        EXPECT_FALSE(f.t.desktop.keyLock);
        EXPECT_TRUE(f.t.end.ended);
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.firstSetTick().Enabled());
    }
}

TEST(FormLoad, MissingSecondPictureAndBadGradientNameTheLastPath) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 3, 2));
    ASSERT_EQ(f.t.messages.shown.size(), 1u);
    EXPECT_EQ(f.t.messages.shown[0].text,
              imagestore::CachedPicturePath(f.t.folder.path(), QStringLiteral("1")) + kTail);
    EXPECT_EQ(f.t.desktop.unlockCalls, 0);  // no password: nothing to undo

    DisplayFixture g;
    g.makePictures(1);
    g.load(Ini(4, 1, 2, QStringLiteral("DeckGradient=lots\n")));
    ASSERT_EQ(g.t.messages.shown.size(), 1u);
    EXPECT_EQ(g.t.messages.shown[0].text,
              imagestore::CachedPicturePath(g.t.folder.path(), QStringLiteral("0")) + kTail);
    EXPECT_TRUE(g.t.end.ended);
}

TEST(FormLoad, CloneCountOutOfRangeIsReportedNotAllocated) {
    DisplayFixture f;
    f.makePictures(1);
    f.load(Ini(0, 1, 100000));
    EXPECT_TRUE(f.t.end.ended);
    EXPECT_TRUE(f.load(Ini(0, 1, 1)).clones().cloneX.size() == 1u);
}

}  // namespace
