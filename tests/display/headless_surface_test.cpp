#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>

#include "display/effect_table.h"
#include "display/headless_surface.h"
#include "display_fixture.h"
#include "settings/values.h"

using display_test::DisplayFixture;
using display_test::Ini;

namespace {

QByteArray EffectIni(int mode) {
    return Ini(mode, 3, 6,
               QStringLiteral("NextImageTime=1\nIntroImageAmount=2\nChangeNextImage=3\nPsychGradient=9\n"
                              "DeckGradient=7\nSpeedofSplat=11\nSpeedofJump=8\n"));
}

// The effect of `ini` started headless on `f`'s files, as the display starts it.
std::unique_ptr<display::Animation> StartHeadless(DisplayFixture& f, const QByteArray& ini, QSize size,
                                                  settings::Settings& text) {
    f.t.folder.writeSettings(ini);
    f.values = settings::ReadValues(f.t.env.settingsFolder(), f.t.env.samplesHome());
    text = display::SettingsText(f.values);
    const display::AnimationStart start{size, f.values.effect, f.values, text, f.t.env, {}, {}, {}};
    return display::FindEffect(start.effect)->make(start);
}

// Seconds of every clone effect, picture changes included, come out the same
// in the window (as the window system shows it) and in a headless frame.
TEST(HeadlessSurface, EveryEffectRendersTheSameFramesAsTheWindow) {
    const QSize size(160, 120);
    for (int mode : {0, 2, 3, 4, 5, 6, 7}) {
        DisplayFixture windowed, headless;
        for (DisplayFixture* f : {&windowed, &headless}) {
            f->makePictures(3);
            f->t.random = platform::SequenceRandom{0.13f, 0.71f, 0.37f, 0.93f, 0.52f, 0.05f, 0.66f};
        }
        display::Form1& form = windowed.load(EffectIni(mode), size);
        form.show();
        settings::Settings text;
        display::HeadlessSurface surface(StartHeadless(headless, EffectIni(mode), size, text));
        const double start = windowed.t.clock.elapsed * 1000;
        surface.advanceTo(start);
        int compared = 0, changed = 0;
        QImage last;
        // 16 ms frames for 7 s, compared every 32 frames.
        for (int frame = 0; frame < 448; ++frame) {
            const double t = start + 16 * frame;
            form.advanceTo(t);
            surface.advanceTo(t);
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
        EXPECT_TRUE(windowed.host.failures.isEmpty());
        form.hide();
    }
}

}  // namespace
