// Float changes to a 24-megapixel JPEG: how long the display can freeze
// while the picture is decoded, staged and brought on by each transition.
// A real event loop wakes the show whenever it is due; a host paints a
// screen-sized back buffer whenever the boxes changed, at most once per
// 60 Hz frame, as the display form does. Reported: the longest gap between
// motion ticks and between painted frames from start to the end of the
// second change (the one to the huge picture).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

#include "display/display_host.h"
#include "display/float_animation.h"
#include "display/float_show.h"
#include "display/form1.h"
#include "display/transition_player.h"
#include "runtime/clock.h"
#include "platform/environment.h"
#include "runtime/form_timer.h"
#include "runtime/messages.h"
#include "picture/picture.h"
#include "platform/qt_desktop.h"
#include "support/recorders.h"
#include "settings/settings.h"
#include "settings/values.h"
#include "widget_bench_main.h"

namespace {

constexpr int kScreenW = 1280;
constexpr int kScreenH = 800;

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// A JPEG with enough detail to cost a real decode.
QString DetailedJpeg(int width, int height) {
    const QString path = Folder().filePath(QStringLiteral("detailed-%1x%2.jpg").arg(width).arg(height));
    if (QFile::exists(path)) return path;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = qRgb((x * 7) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255);
    }
    image.save(path, "JPEG", 90);
    return path;
}

// 24 megapixels.
QString HugeJpeg() { return DetailedJpeg(6000, 4000); }

QString SmallPng() {
    const QString path = Folder().filePath("small.png");
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(qRgb(30, 120, 200));
    image.save(path);
    return path;
}

// CPU time of the whole process, every thread counted.
double processNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

class QuietDisplayHost final : public display::DisplayHost {
public:
    void RequestExit() override {}
    void CountMouseMove() override {}
    display::FailureOutcome DisplayFailed(const QString&) override { return display::FailureOutcome::End; }
};

class BenchHost final : public display::FloatHost {
public:
    BenchHost() : screen_(kScreenW, kScreenH, QImage::Format_RGB32) {
        for (platform::PictureBox* box : {&first_, &second_}) {
            box->setOwnerScale(platform::ScaleMode::Twips);
            box->setBackColor(0);
        }
        frame_.setTimerType(Qt::PreciseTimer);
        frame_.setInterval(16);
        QObject::connect(&frame_, &QTimer::timeout, [this] { paint(); });
        frame_.start();
        clock_.start();
    }
    platform::PictureBox& FirstPicture() override { return first_; }
    platform::PictureBox& SecondPicture() override { return second_; }
    double ScreenWidth() const override { return kScreenW * 15.0; }
    double ScreenHeight() const override { return kScreenH * 15.0; }
    void presentPictures() override { dirty_ = true; }
    void failAndEnd(const QString& message) override { failure = message; }

    void paint() {
        note(lastPaint_, maxPaintGap);
        if (!dirty_) return;
        dirty_ = false;
        QPainter painter(&screen_);
        painter.fillRect(screen_.rect(), Qt::black);
        if (first_.Visible()) painter.drawImage(first_.pixelPosition(), first_.Image());
    }
    void motionTick() { note(lastMotion_, maxMotionGap); }
    void note(qint64& last, double& maxGap) {
        const qint64 now = clock_.nsecsElapsed();
        if (last >= 0) maxGap = std::max(maxGap, (now - last) / 1e6);
        last = now;
    }
    double maxPaintGap = 0, maxMotionGap = 0;
    QString failure;

private:
    platform::PictureBox first_, second_;
    QImage screen_;
    QTimer frame_;
    QElapsedTimer clock_;
    bool dirty_ = false;
    qint64 lastPaint_ = -1, lastMotion_ = -1;
};

// The change to the big picture: range(0) is the transition, range(1) the
// picture's megapixels (24 or 48).
void BM_ChangeToHugeJpeg(benchmark::State& state) {
    const QString huge = state.range(1) == 48 ? DetailedJpeg(8000, 6000) : HugeJpeg();
    const QString small = SmallPng();
    for (auto _ : state) {
        settings::Values s;
        s.pictureCount = 2;
        s.changeInterval = 1.5;
        s.floatStill = 0;
        s.floatTransition = double(state.range(0));
        s.floatSpeed = 5;  // a motion step every 15.625 ms
        platform::SystemClock clock;
        platform::SystemRandom random;
        platform::QtMessageBox messages;
        platform::QtDesktop desktop;
        platform::RecordingEnd end;
        platform::Environment env{Folder().path(), &clock, &random, &messages, &desktop, &end};
        BenchHost host;
        display::FloatShow show(s, env, host, {small, huge, QString()});
        show.start(clock.monotonicSeconds());
        int changes = 0;
        QEventLoop loop;
        // Wakes the show whenever its next tick is due, as the display does.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        const auto tick = [&] {
            const double now = clock.monotonicSeconds();
            const double motionDue = show.floatMotion().due();
            const bool wasChanging = show.changing();
            const double next = show.tick(now);
            if (motionDue <= now) host.motionTick();
            if (wasChanging && !show.changing() && ++changes == 2) QTimer::singleShot(300, &loop, &QEventLoop::quit);
            wake.start(int(std::ceil(std::clamp(next - clock.monotonicSeconds(), 0.0, 1.0) * 1000)));
        };
        QObject::connect(&wake, &QTimer::timeout, tick);
        tick();
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        loop.exec();
        if (!host.failure.isEmpty() || changes < 2) state.SkipWithError("the change did not happen");
        state.counters["max_motion_gap_ms"] = host.maxMotionGap;
        state.counters["max_frame_gap_ms"] = host.maxPaintGap;
        state.counters["prefetch_used"] = show.prefetch().used();
    }
}
BENCHMARK(BM_ChangeToHugeJpeg)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {24}})
    ->Args({0, 48})
    ->Args({5, 48})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The drawing alone: one transition over a 6000 x 4000 picture, and the
// longest time spent on the copies of one frame.
void BM_TransitionDrawing(benchmark::State& state) {
    QImage source(6000, 4000, QImage::Format_RGB32);
    source.fill(qRgb(200, 100, 50));
    const auto copies = display::TransitionCopies(double(state.range(0)), 6000, 4000);
    for (auto _ : state) {
        QImage target(source.size(), QImage::Format_RGB32);
        target.fill(Qt::black);
        QElapsedTimer frameClock;
        double longest = 0;
        frameClock.start();
        display::TransitionPlayer player(copies);
        while (!player.done()) {
            player.drawFrame(source, target, nullptr);
            longest = std::max(longest, frameClock.nsecsElapsed() / 1e6);
            frameClock.restart();
        }
        state.counters["longest_frame_ms"] = longest;
        state.counters["copies"] = double(copies.size());
    }
}
BENCHMARK(BM_TransitionDrawing)->DenseRange(1, 7)->Iterations(1)->Unit(benchmark::kMillisecond);

// One step of the float motion on a full-HD display: a picture shrunk to fit
// (1403 x 935, as a 6000 x 4000 photo is shown) moves one pixel and the form
// paints and presents the frame. Reported: the process's CPU time per frame,
// every thread counted. Run it on the real window system for figures that
// include the presenting (DISPLAY=:N QT_QPA_PLATFORM=xcb).
void BM_FloatMotionFrame(benchmark::State& state) {
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("z909ssaver.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[saver]\nmode=1\nnewBackColor=0\n[total]\nnewTotal=1\n");
    ini.close();
    platform::SystemClock clock;
    platform::SystemRandom random;
    platform::RecordingMessages messages;
    platform::RecordingDesktop desktop;
    platform::RecordingEnd end;
    platform::Environment env{dir.path(), &clock, &random, &messages, &desktop, &end};
    QuietDisplayHost host;
    const settings::Values values = settings::ReadValues(env.settingsFolder(), env.samplesHome());
    display::Form1 form(values, env, host, QSize(1920, 1080));
    form.Form_Load();
    form.show();
    QImage picture(1403, 935, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) line[x] = qRgb(x & 255, y & 255, (x + y) & 255);
    }
    auto& show = dynamic_cast<display::FloatAnimation&>(*form.animation());
    // Only the motion is measured: no picture changes (the bench has no
    // pictures to change to, and a failed change stops the show).
    show.show().changeScheduler().setEnabled(false);
    platform::PictureBox& box = show.FirstPicture();
    box.setPicture(picture);
    QPoint at(200, 60);
    QPoint step(1, 1);
    // Paints until the form has shown one more frame (at most 100 ms).
    int missed = 0;
    const auto present = [&] {
        const int before = form.paintCount();
        show.presentPictures();
        form.presentChanges();
        QElapsedTimer waited;
        waited.start();
        while (form.paintCount() == before && waited.elapsed() < 100) QCoreApplication::processEvents();
        if (form.paintCount() == before) ++missed;
    };
    box.setLeft(at.x() * 15);
    box.setTop(at.y() * 15);
    present();
    const double start = processNanoseconds();
    int64_t frames = 0;
    for (auto _ : state) {
        if (at.x() + step.x() < 0 || at.x() + step.x() + picture.width() > 1920) step.rx() = -step.x();
        if (at.y() + step.y() < 41 || at.y() + step.y() + picture.height() > 1080) step.ry() = -step.y();
        at += step;
        box.setLeft(at.x() * 15);
        box.setTop(at.y() * 15);
        present();
        ++frames;
    }
    if (missed > 0) state.SkipWithError("frames were not painted");
    state.counters["cpu_us_per_frame"] = (processNanoseconds() - start) / 1000 / double(std::max<int64_t>(frames, 1));
    form.hide();
}
BENCHMARK(BM_FloatMotionFrame)->Iterations(600)->Unit(benchmark::kMicrosecond);

// For comparison: decoding the huge picture on the spot.
void BM_DecodeHugeJpeg(benchmark::State& state) {
    const QString huge = HugeJpeg();
    for (auto _ : state) benchmark::DoNotOptimize(platform::LoadPicture(huge));
}
BENCHMARK(BM_DecodeHugeJpeg)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithWidgets(argc, argv); }
