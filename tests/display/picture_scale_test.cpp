// The picture scale: effects lay out in the monitor's size over the scale
// and draw their pictures at device pixels.
#include <gtest/gtest.h>

#include <QThread>

#include "display/effect_table.h"
#include "display/float_show.h"
#include "display/headless_surface.h"
#include "display_fixture.h"
#include "imagestore/picture_scale.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

TEST(PictureScale, EachMonitorLaysOutInItsSizeOverItsScale) {
    struct Case {
        QSize screen;
        const char* pictureSize;
        QSize effect;
        double scale;
    };
    const Case cases[] = {
        {{1366, 768}, "Automatic", {1366, 768}, 1},   {{1920, 1080}, "Automatic", {1920, 1080}, 1},
        {{3840, 2160}, "Automatic", {1920, 1080}, 2}, {{3840, 2160}, "150", {2560, 1440}, 1.5},
        {{1920, 1080}, "200", {960, 540}, 2},         {{2560, 1440}, "nonsense", {1925, 1083}, 1.33},
    };
    for (const Case& c : cases) {
        DisplayFixture f;
        display::Form1& form = f.load(Ini(-1, 1, 1, QStringLiteral("PictureSize=%1\n").arg(c.pictureSize)), c.screen);
        EXPECT_EQ(form.effectSize(), c.effect) << c.pictureSize;
        EXPECT_EQ(form.pictureScale(), c.scale) << c.pictureSize;
    }
    // Cached copies are made for the largest monitor's scale, never below 1.
    EXPECT_EQ(imagestore::LargestPictureScale(0, {768, 2160, 1080}), 2);
    EXPECT_EQ(imagestore::LargestPictureScale(0, {}), 1);
    EXPECT_EQ(imagestore::LargestPictureScale(150, {2160}), 1.5);
}

// The effect of `ini` started headless at picture scale 2 on `size` logical pixels.
std::unique_ptr<display::Animation> StartAtScaleTwo(DisplayFixture& f, const QByteArray& ini, QSize size) {
    f.t.folder.writeSettings(ini);
    f.values = settings::ReadValues(f.t.env.settingsFolder(), f.t.env.samplesHome());
    const display::AnimationStart start{size, f.values.effect, f.values, f.t.env, 2};
    return display::FindEffect(start.effect)->make(start);
}

TEST(PictureScale, PicturesAreDrawnAtDevicePixels) {
    // A copy made for scale 1 (no record says otherwise) is shown enlarged
    // until the next update remakes it; its clones move in logical pixels.
    {
        DisplayFixture f;
        f.makePictures(1, QSize(40, 32));
        display::HeadlessSurface surface(StartAtScaleTwo(f, Ini(0, 1, 3), QSize(200, 150)), 2);
        auto& clones = dynamic_cast<display::CloneAnimation&>(surface.animation());
        EXPECT_EQ(clones.FirstPicture().Picture().size(), QSize(80, 64));
        EXPECT_EQ(clones.backBuffer().size(), QSize(400, 300));
        surface.advanceTo(0);
        surface.advanceTo(500);
        const QImage& frame = surface.frame();
        ASSERT_EQ(frame.size(), QSize(400, 300));
        int shown = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) shown += frame.pixel(x, y) == display_test::PictureColor(0).rgb();
        EXPECT_GT(shown, 0);
    }
    // Float's picture is decoded at twice its laid-out size and shown one to one.
    DisplayFixture f;
    QImage photo(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    const QString path = f.t.folder.file(QStringLiteral("photo.png"));
    ASSERT_TRUE(photo.save(path));
    const QSize size(200, 150);
    display::HeadlessSurface surface(
        StartAtScaleTwo(f, Ini(1, 1, 1, "centerImage=1\n") + "[images]\n0=" + path.toUtf8() + "\n", size), 2);
    auto& floating = dynamic_cast<display::FloatAnimation&>(surface.animation());
    surface.advanceTo(0);
    for (double t = 0; t < 1000 && floating.pictureArea().isEmpty(); t += 16) {
        while (!floating.show().prefetch().ready()) QThread::msleep(1);
        surface.advanceTo(t);
    }
    const QRect area = floating.pictureArea();
    const display::ScaledFloatPicture expected =
        display::LoadFloatPicture(path, display::FloatRoom(size.width() * 15.0, size.height() * 15.0), Qt::black, 2);
    ASSERT_EQ(area.size(), expected.picture.size());
    ASSERT_EQ(expected.sharp.size(), area.size() * 2);
    QImage shown = surface.frame().copy(QRect(area.topLeft() * 2, area.size() * 2));
    shown.setDevicePixelRatio(1);
    EXPECT_EQ(shown, expected.sharp.convertToFormat(QImage::Format_RGB32));
}

}  // namespace
