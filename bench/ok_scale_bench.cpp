// What "&OK" costs for a 4K screen against a 1080p one: the same 200
// photographs of 12 megapixels converted into cached copies for picture
// scale 1 and for picture scale 2, in one run, with the ratio of the two.
//
//     QT_QPA_PLATFORM=offscreen build/bench/ok_scale_bench
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include <sys/resource.h>

#include "imagestore/converter.h"

namespace {

constexpr int kPictures = 200;
const QSize kPhotoSize(4000, 3000);

// Light and colour that change broadly and finely, with sensor noise: a
// decoder has about the work of a real photograph.
QImage Photo() {
    QImage image(kPhotoSize, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double l =
                0.5 + 0.3 * std::sin(x * 0.0015 + y * 0.0023) + 0.08 * std::sin(x * 0.2) * std::sin(y * 0.17);
            const int v = std::clamp(int(255 * l) + int(random.bounded(13)) - 6, 0, 255);
            line[x] = qRgb(v, std::clamp(v + x / 200 - 10, 0, 255), std::clamp(v - y / 150 + 10, 0, 255));
        }
    }
    return image;
}

struct Album {
    QTemporaryDir dir;
    QStringList pictures;
    Album() {
        const QString first = dir.filePath(QStringLiteral("photo0.jpg"));
        Photo().save(first, "JPEG", 90);
        pictures << first;
        for (int i = 1; i < kPictures; ++i) {
            const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            QFile::copy(first, path);
            pictures << path;
        }
    }
};

// CPU seconds of every thread of the process so far.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Spent {
    double seconds = 0;
    double cpuSeconds = 0;
};

// Converts the album into fresh copies (none to replace) for `scale`.
bool Convert(const Album& album, double scale, Spent& spent) {
    QTemporaryDir copies;
    QStringList targets;
    for (int i = 0; i < kPictures; ++i) targets << copies.filePath(QStringLiteral("copy%1.bmp").arg(i));
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const imagestore::BatchResult result =
        imagestore::ConvertPicturesTo(album.pictures, targets, {}, Qt::black, {}, scale);
    spent.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    spent.cpuSeconds += CpuSeconds() - cpu;
    return result.failedIndex < 0;
}

// Both screens in each iteration, one after the other, so the load of the
// machine weighs on both alike.
void BM_OkFor4kAgainst1080p(benchmark::State& state) {
    static const Album album;
    Spent at1080, at4k;
    for (auto _ : state) {
        if (!Convert(album, 1, at1080) || !Convert(album, 2, at4k)) state.SkipWithError("conversion failed");
    }
    const double n = double(state.iterations());
    state.counters["s_1080p"] = at1080.seconds / n;
    state.counters["s_4k"] = at4k.seconds / n;
    state.counters["ratio"] = at4k.seconds / at1080.seconds;
    state.counters["cpu_s_1080p"] = at1080.cpuSeconds / n;
    state.counters["cpu_s_4k"] = at4k.cpuSeconds / n;
    state.counters["photo_MB"] = double(QFileInfo(album.pictures[0]).size()) / 1e6;
    state.counters["cpu_ratio"] = at4k.cpuSeconds / at1080.cpuSeconds;
}

}  // namespace

BENCHMARK(BM_OkFor4kAgainst1080p)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
