#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <set>

#include "display/effect_table.h"
#include "display/float_animation.h"
#include "display/headless_surface.h"
#include "display_fixture.h"
#include "settings/values.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

constexpr int kFloat = 1;

// Float's three pictures, each a different size with every pixel different,
// in `f`'s folder; their [images] section.
QByteArray MakeFloatPictures(DisplayFixture& f) {
    QByteArray section = "[images]\n";
    for (int n = 0; n < 3; ++n) {
        QImage image(30 + 10 * n, 24 + 6 * n, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 6, y * 8, 80 * n));
        const QString path = f.t.folder.file(QStringLiteral("float%1.png").arg(n));
        image.save(path);
        section += QStringLiteral("%1=%2\n").arg(n).arg(path).toUtf8();
    }
    return section;
}

QByteArray EffectIni(int mode, const QByteArray& more = QByteArray()) {
    return Ini(mode, 3, 6,
               QStringLiteral("NextImageTime=1\nIntroImageAmount=2\nChangeNextImage=3\nPsychGradient=9\n"
                              "DeckGradient=7\nSpeedofSplat=11\nSpeedofJump=8\nrandomEffect=1\n"
                              "floatImageSpeed=4\n")) +
           more;
}

// Float decodes its next picture in a worker; the fake clock runs far ahead
// of it, so both sides wait for it and take the same steps.
void AwaitFloatWorker(display::Animation& animation) {
    auto* floating = dynamic_cast<display::FloatAnimation*>(&animation);
    while (floating && !floating->show().prefetch().ready()) QThread::msleep(1);
}

// The effect of `ini` started headless on `f`'s files, as the display starts it.
std::unique_ptr<display::Animation> StartHeadless(DisplayFixture& f, const QByteArray& ini, QSize size) {
    f.t.folder.writeSettings(ini);
    f.values = settings::ReadValues(f.t.env.settingsFolder(), f.t.env.samplesHome());
    const display::AnimationStart start{size, f.values.effect, f.values, f.t.env};
    return display::FindEffect(start.effect)->make(start);
}

// Seconds of every effect, picture changes and Float's transitions included, come out the same
// in the window (as the window system shows it) and in a headless frame. It runs offscreen and,
// as display.frames_on_x11, on an X server.
TEST(HeadlessSurface, EveryEffectRendersTheSameFramesAsTheWindow) {
    const QSize size(160, 120);
    for (const display::EffectInfo& effect : display::Effects()) {
        const int mode = int(effect.kind);
        DisplayFixture windowed, headless;
        for (DisplayFixture* f : {&windowed, &headless}) {
            f->makePictures(3);
            f->t.random = platform::SequenceRandom{0.13f, 0.71f, 0.37f, 0.93f, 0.52f, 0.05f, 0.66f};
        }
        // Both read the same picture files.
        const QByteArray ini = EffectIni(mode, mode == kFloat ? MakeFloatPictures(windowed) : QByteArray());
        display::Form1& form = windowed.load(ini, size);
        form.show();
        // On X11 an effect that keeps its frame is shown straight from it.
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            EXPECT_EQ(form.showsFrameDirectly(), form.animation()->frame() != nullptr) << "mode " << mode;
        }
        display::HeadlessSurface surface(StartHeadless(headless, ini, size));
        const double start = windowed.t.clock.elapsed * 1000;
        surface.advanceTo(start);
        int compared = 0, changed = 0;
        std::set<int> floatPictures;
        QImage last;
        // 16 ms frames for 7 s, compared every 32 frames.
        for (int frame = 0; frame < 448; ++frame) {
            const double t = start + 16 * frame;
            AwaitFloatWorker(*form.animation());
            AwaitFloatWorker(surface.animation());
            form.advanceTo(t);
            surface.advanceTo(t);
            if (mode == kFloat) floatPictures.insert(windowed.floating().show().floatImageIndex());
            if (frame % 32 != 0) continue;
            QCoreApplication::processEvents();
            const QImage shown =
                form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(shown, surface.frame()) << "mode " << mode << " at frame " << frame;
            ++compared;
            changed += shown != last;
            last = shown;
        }
        EXPECT_EQ(compared, 14);
        EXPECT_GT(changed, 3) << "mode " << mode;  // it animates
        if (mode == kFloat) {
            EXPECT_GE(floatPictures.size(), 3u);  // and changes pictures
        }
        EXPECT_TRUE(windowed.host.failures.isEmpty());
        form.hide();
    }
}

}  // namespace
