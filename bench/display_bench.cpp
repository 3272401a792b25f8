// The display's hot paths: building a picture set, one clone tick of
// "Glidorama" in steady state at full HD and 4K (against a memcpy of the
// bytes the tick writes, timed in the same run), a picture change, and one
// full-HD frame shown in the window against the same frame rendered headless.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QTemporaryDir>

#include <ctime>
#include <cstring>
#include <memory>
#include <vector>

#include "display/clone_animation.h"
#include "display/display_host.h"
#include "display/headless_surface.h"
#include "display/effect_table.h"
#include "display/form1.h"
#include "display/picture_set.h"
#include "runtime/clock.h"
#include "platform/environment.h"
#include "runtime/messages.h"
#include "support/recorders.h"
#include "settings/values.h"
#include "widget_bench_main.h"

namespace {

constexpr QSize kPictureSize(273, 182);

QImage testPicture(int seed) {
    QImage image(kPictureSize, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb((x + seed) & 255, (y * 3) & 255, seed * 40));
    return image;
}

class QuietHost final : public display::DisplayHost {
public:
    void RequestExit() override {}
    void CountMouseMove() override {}
    display::FailureOutcome DisplayFailed(const QString&) override { return display::FailureOutcome::End; }
};

// A program folder with three cached pictures and settings for "Glidorama",
// at the picture size `pictureSize` ("PictureSize": "Automatic" or a percentage).
struct Display {
    explicit Display(QSize screen, int clones, const QString& pictureSize = QStringLiteral("Automatic")) {
        QDir(dir.path()).mkpath(QStringLiteral("Glidorama"));
        for (int n = 0; n < 3; ++n)
            testPicture(n).save(dir.path() + QStringLiteral("/Glidorama/Glidorama%1.dib").arg(n), "BMP");
        QFile ini(dir.path() + QStringLiteral("/z909ssaver.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[saver]\nmode=0\nPictureSize=%2\n[total]\nnewTotal=3\nClonesOfImage=%1\n")
                      .arg(clones)
                      .arg(pictureSize)
                      .toUtf8());
        ini.close();
        env = platform::Environment{dir.path(), &clock, &random, &messages, &desktop, &end};
        values = settings::ReadValues(env.settingsFolder(), env.samplesHome());
        form = std::make_unique<display::Form1>(values, env, host, screen);
        form->Form_Load();
    }
    QTemporaryDir dir;
    platform::SystemClock clock;
    platform::SystemRandom random;
    platform::RecordingMessages messages;
    platform::RecordingDesktop desktop;
    platform::RecordingEnd end;
    platform::Environment env;
    QuietHost host;
    settings::Values values;
    std::unique_ptr<display::Form1> form;
    display::CloneAnimation& show() { return dynamic_cast<display::CloneAnimation&>(*form->animation()); }
};

void BM_BuildPictureSet(benchmark::State& state) {
    platform::PictureBox source;
    source.setAutoSize(true);
    source.setPicture(testPicture(1));
    display::DisplayArray members;
    for (auto _ : state) {
        display::BuildPictureSet(source, members);
        benchmark::DoNotOptimize(members[0].Image().constBits());
    }
}
BENCHMARK(BM_BuildPictureSet)->Unit(benchmark::kMicrosecond);

// CPU time of this thread: the machine may be shared, so wall time would
// count other programs' work.
double threadNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double memcpyNanoseconds(size_t bytes) {
    std::vector<char> from(bytes, 1), to(bytes, 0);
    const int rounds = 200;
    const double start = threadNanoseconds();
    for (int r = 0; r < rounds; ++r) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    return (threadNanoseconds() - start) / rounds;
}

void BM_CloneTick(benchmark::State& state) {
    // The third argument is the picture size in per cent, 0 for "Automatic"
    // (twice the size on a 3840 x 2160 screen: four times the pixels).
    const int percent = int(state.range(2));
    Display display(QSize(int(state.range(0)), int(state.range(1))), 21,
                    percent ? QString::number(percent) : QStringLiteral("Automatic"));
    auto& form = *display.form;
    auto& show = display.show();
    // Steady state: every clone has entered and is on its way out.
    for (int n = 0; n < 300; ++n) show.Timer1_Timer();
    const uint64_t pixelsBefore = show.backBufferPixelsWritten();
    const double start = threadNanoseconds();
    int64_t ticks = 0;
    for (auto _ : state) {
        show.Timer1_Timer();
        form.presentChanges();
        ++ticks;
    }
    const double tickNs = (threadNanoseconds() - start) / double(ticks);
    const size_t bytesPerTick = size_t((show.backBufferPixelsWritten() - pixelsBefore) * 4 / uint64_t(ticks));
    const double copyNs = memcpyNanoseconds(bytesPerTick);
    state.counters["bytes_per_tick"] = double(bytesPerTick);
    state.counters["tick_cpu_us"] = tickNs / 1000;
    state.counters["memcpy_cpu_us"] = copyNs / 1000;
    state.counters["ratio_to_memcpy"] = tickNs / copyNs;
}
BENCHMARK(BM_CloneTick)
    ->Args({1920, 1080, 0})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 100})
    ->Unit(benchmark::kMicrosecond);

void BM_PictureChange(benchmark::State& state) {
    Display display(QSize(1920, 1080), 21);
    auto& show = display.show();
    for (auto _ : state) {
        show.clones().loadTarget = show.clones().loadTarget == 0 ? 1 : 0;
        show.Timer4_Timer();
    }
}
BENCHMARK(BM_PictureChange)->Unit(benchmark::kMillisecond);

double processNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

// One 16 ms frame of "Glidorama" at full HD, ticked and shown in the window
// until painted (or only sent, where it goes straight from its frame to an
// X window). Reported: the process's CPU time per frame, every thread counted.
void BM_FrameInWindow(benchmark::State& state) {
    Display display(QSize(1920, 1080), 21);
    auto& form = *display.form;
    form.show();
    double now = display.clock.monotonicSeconds() * 1000;
    int missed = 0;
    const auto frame = [&] {
        const int before = form.paintCount();
        now += 16;
        form.advanceTo(now);
        // Shown straight from the frame (X11): sent by the time it returns.
        if (form.showsFrameDirectly()) return;
        QElapsedTimer waited;
        waited.start();
        while (form.paintCount() == before && waited.elapsed() < 100) QCoreApplication::processEvents();
        missed += form.paintCount() == before;
    };
    for (int n = 0; n < 300; ++n) frame();
    missed = 0;
    const double start = processNanoseconds();
    int64_t frames = 0;
    for (auto _ : state) {
        frame();
        ++frames;
    }
    if (missed > 0) state.SkipWithError("frames were not painted");
    state.counters["cpu_us_per_frame"] = (processNanoseconds() - start) / 1000 / double(frames);
    form.hide();
}
BENCHMARK(BM_FrameInWindow)->Iterations(600)->Unit(benchmark::kMicrosecond);

// The same frames rendered headless into a QImage.
void BM_FrameHeadless(benchmark::State& state) {
    Display display(QSize(1920, 1080), 21);
    // Started as the display starts it, on the same files.
    const display::AnimationStart glidorama{QSize(1920, 1080), settings::Effect::Glidorama, display.values,
                                            display.env};
    display::HeadlessSurface surface(display::FindEffect(glidorama.effect)->make(glidorama));
    double now = display.clock.monotonicSeconds() * 1000;
    for (int n = 0; n < 300; ++n) surface.advanceTo(now += 16);
    const double start = processNanoseconds();
    int64_t frames = 0;
    for (auto _ : state) {
        surface.advanceTo(now += 16);
        benchmark::DoNotOptimize(surface.frame().constBits());
        ++frames;
    }
    state.counters["cpu_us_per_frame"] = (processNanoseconds() - start) / 1000 / double(frames);
}
BENCHMARK(BM_FrameHeadless)->Iterations(600)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithWidgets(argc, argv); }
