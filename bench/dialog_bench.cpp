// Confirming the settings dialog with 20 photos of 24 megapixels: the
// dialog's commit path (conversion through the image cache's batch, then
// the settings write) against converting the same pictures one at a time.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

#include <cstdio>

#include "dialog/form2.h"
#include "imagestore/converter.h"
#include "runtime/clock.h"
#include "platform/environment.h"
#include "support/recorders.h"
#include "settings/profile.h"
#include "widget_bench_main.h"

namespace {

constexpr int kPictures = 20;
constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

struct Workbench {
    QTemporaryDir dir;
    QStringList pictures;

    Workbench() {
        QDir(dir.path()).mkpath(QStringLiteral("Glidorama"));
        // A photo-like picture: gradients, shapes and sensor noise, so the
        // file is about as large and as slow to decode as a real photo.
        QImage photo(kWidth, kHeight, QImage::Format_RGB32);
        uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n = int(noise >> 27);  // 0..31
                line[x] = qRgb((x * 223) / kWidth + n, (y * 223) / kHeight + n, ((x ^ y) & 0xDF) + n);
            }
        }
        QPainter painter(&photo);
        for (int i = 0; i < 40; ++i)
            painter.fillRect(i * 140, i * 90, 400, 300, QColor::fromHsv(i * 9 % 360, 200, 220));
        painter.end();
        const QString first = dir.filePath(QStringLiteral("photo0.jpg"));
        photo.save(first, "JPEG", 90);
        pictures << first;
        for (int i = 1; i < kPictures; ++i) {
            const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            QFile::copy(first, path);
            pictures << path;
        }
        std::fprintf(stderr, "%d pictures of %dx%d, %lld bytes each, in %s\n", kPictures, kWidth, kHeight,
                     QFileInfo(first).size(), qPrintable(dir.path()));
        QByteArray ini = "[saver]\nmode=0\n[total]\nnewTotal=" + QByteArray::number(kPictures) + "\n[images]\n";
        for (int i = 0; i < kPictures; ++i) ini += QByteArray::number(i) + "=" + pictures[i].toUtf8() + "\n";
        QFile settings(dir.filePath(QStringLiteral("z909ssaver.ini")));
        settings.open(QIODevice::WriteOnly);
        settings.write(ini);
    }
};

Workbench* bench = nullptr;

void BM_DialogCommit(benchmark::State& state) {
    platform::SystemClock clock;
    platform::RecordingMessages messages;
    platform::Environment env{bench->dir.path(), &clock, nullptr, &messages, nullptr, nullptr};
    for (auto _ : state) {
        state.PauseTiming();
        settings::Settings s;
        dialog::Form2 form(s, env);
        form.Form_Load();
        form.show();
        QApplication::processEvents();
        state.ResumeTiming();
        form.OK_Click();
        state.PauseTiming();
        if (!messages.shown.empty()) state.SkipWithError(qPrintable(messages.shown.back().text));
        state.ResumeTiming();
    }
    state.counters["pictures/s"] = benchmark::Counter(kPictures, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OneAtATime(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kPictures; ++i)
            imagestore::ConvertPicture(bench->pictures[i], bench->dir.path(), QString::number(i));
    }
    state.counters["pictures/s"] = benchmark::Counter(kPictures, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_DialogCommit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_OneAtATime)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<Workbench> workbench;
    return RunBenchmarksWithWidgets(argc, argv, [&] {
        workbench = std::make_unique<Workbench>();
        bench = workbench.get();
    });
}
