// The cost of converting one picture into its cached copy, beside the plain
// decodes it replaces, for JPEGs of 0.3, 2, 12 and 24 megapixels; djpeg's
// 1/8 decode of the 24 megapixel file as the floor; and batches of twenty
// JPEGs (24 and 0.3 megapixels) converted on every core against one at a time.
//
//     build/bench/imagestore_bench
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include <sys/resource.h>

#include "imagestore/converter.h"
#include "picture/picture.h"

namespace {

// Megapixels (tenths) -> pixel size, landscape 3:2 (4:3 for the smallest).
// 241 is the 24 megapixel picture without its sensor noise: half the bytes,
// as from a camera at a low sensitivity.
constexpr int kQuiet = 241;
const std::map<int, QSize> kSizes = {{3, QSize(640, 480)},
                                     {20, QSize(1732, 1155)},
                                     {120, QSize(4243, 2828)},
                                     {240, QSize(6000, 4000)},
                                     {kQuiet, QSize(6000, 4000)}};
constexpr int kBatchSize = 20;

// A picture with the texture of a photograph: broad light and colour
// changes, edges, fine detail and sensor noise, so the decoder has the
// work a real photo gives it.
QImage Photographic(QSize size, bool noisy) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(42);
    const double w = size.width(), h = size.height();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = y / h;
        for (int x = 0; x < size.width(); ++x) {
            const double u = x / w;
            const double broad = 0.5 + 0.3 * std::sin(u * 5.1 + v * 2.3) * std::cos(v * 4.7 - u);
            const double edge = (std::sin(u * 37 + std::sin(v * 9) * 3) > 0.6) ? 0.18 : 0.0;
            const double detail = 0.06 * std::sin(x * 0.21 + std::sin(y * 0.05) * 4) * std::sin(y * 0.17);
            const double noise = noisy ? (int(random.bounded(13)) - 6) / 255.0 : 0.0;
            const double l = std::clamp(broad + edge + detail + noise, 0.0, 1.0);
            line[x] = qRgb(int(255 * l), int(255 * std::clamp(l * (0.8 + 0.2 * u), 0.0, 1.0)),
                           int(255 * std::clamp(l * (1.1 - 0.4 * v), 0.0, 1.0)));
        }
    }
    return image;
}

// The test files, made once: one JPEG per size and the batch's copies.
struct Files {
    Files() {
        QDir(dir.path()).mkdir(QStringLiteral("Glidorama"));
        for (const auto& [tenths, size] : kSizes) {
            const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(tenths));
            Photographic(size, tenths != kQuiet).save(path, "JPEG", 90);
            jpeg[tenths] = path;
        }
        for (const int tenths : {3, 240}) {
            for (int i = 0; i < kBatchSize; ++i) {
                const QString copy = dir.filePath(QStringLiteral("batch%1-%2.jpg").arg(tenths).arg(i));
                QFile::copy(jpeg[tenths], copy);
                batch[tenths] << copy;
            }
        }
    }
    QTemporaryDir dir;
    std::map<int, QString> jpeg;
    std::map<int, QStringList> batch;  // kBatchSize copies of a size's JPEG
};

Files& TestFiles() {
    static Files files;
    return files;
}

void SetLabel(benchmark::State& state) {
    if (state.range(0) == kQuiet) {
        state.SetLabel("24 MP, no noise");
        return;
    }
    state.SetLabel(QStringLiteral("%1 MP").arg(state.range(0) / 10.0).toStdString());
}

void BM_Convert(benchmark::State& state) {
    Files& files = TestFiles();
    const QString path = files.jpeg[int(state.range(0))];
    for (auto _ : state) benchmark::DoNotOptimize(imagestore::ConvertPicture(path, files.dir.path(), "0"));
    SetLabel(state);
}

void BM_FullDecode(benchmark::State& state) {
    const QString path = TestFiles().jpeg[int(state.range(0))];
    for (auto _ : state) {
        QImageReader reader(path);
        benchmark::DoNotOptimize(reader.read());
    }
    SetLabel(state);
}

void BM_FullDecodeAndScale(benchmark::State& state) {
    const QString path = TestFiles().jpeg[int(state.range(0))];
    const QSize natural = kSizes.at(int(state.range(0)));
    // The cached size the converter gives this picture.
    float width = natural.width() * 15.f, height = natural.height() * 15.f;
    imagestore::FitImageSize(width, height);
    const QSize target(int(std::lround(width / 15)), int(std::lround(height / 15)));
    for (auto _ : state) {
        QImageReader reader(path);
        benchmark::DoNotOptimize(reader.read().scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    SetLabel(state);
}

// The two halves of a conversion: reading, checking and decoding the file
// straight at the cached size; then saving the copy (atomic replace, synced).
void BM_OpenAndDecodeScaled(benchmark::State& state) {
    const QString path = TestFiles().jpeg[int(state.range(0))];
    for (auto _ : state) {
        const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
        float width = picture.size().width() * 15.f, height = picture.size().height() * 15.f;
        imagestore::FitImageSize(width, height);
        benchmark::DoNotOptimize(picture.decode(QSize(int(std::lround(width / 15)), int(std::lround(height / 15)))));
    }
    SetLabel(state);
}

void BM_SaveCachedCopy(benchmark::State& state) {
    Files& files = TestFiles();
    const QImage copy = platform::LoadPicture(files.jpeg[3]).scaled(492, 328);
    for (auto _ : state) platform::SavePicture(copy, files.dir.filePath(QStringLiteral("Glidorama/Glidorama0.dib")));
}

double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
           usage.ru_stime.tv_usec / 1e3;
}

// The wall time includes starting the process (about a millisecond); the
// counter djpeg_cpu_ms is djpeg's own processor time per run, to set beside
// the CPU column of BM_Convert.
void BM_DjpegEighth(benchmark::State& state) {
    const QString command =
        QStringLiteral("djpeg -scale 1/8 '%1' > /dev/null").arg(TestFiles().jpeg[int(state.range(0))]);
    const double before = ChildrenCpuMs();
    for (auto _ : state) {
        if (std::system(command.toLocal8Bit().constData()) != 0) state.SkipWithError("djpeg failed");
    }
    state.counters["djpeg_cpu_ms"] = (ChildrenCpuMs() - before) / double(state.iterations());
    SetLabel(state);
}

void BM_BatchParallel(benchmark::State& state) {
    Files& files = TestFiles();
    const QStringList& batch = files.batch[int(state.range(0))];
    for (auto _ : state) {
        const imagestore::BatchResult result = imagestore::ConvertPictures(batch, files.dir.path());
        if (result.failedIndex >= 0) state.SkipWithError("conversion failed");
    }
    state.SetItemsProcessed(state.iterations() * kBatchSize);
    SetLabel(state);
}

void BM_BatchOneAtATime(benchmark::State& state) {
    Files& files = TestFiles();
    const QStringList& batch = files.batch[int(state.range(0))];
    for (auto _ : state) {
        for (int i = 0; i < kBatchSize; ++i) imagestore::ConvertPicture(batch[i], files.dir.path(), QString::number(i));
    }
    state.SetItemsProcessed(state.iterations() * kBatchSize);
    SetLabel(state);
}

}  // namespace

BENCHMARK(BM_Convert)->Arg(3)->Arg(20)->Arg(120)->Arg(240)->Arg(kQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullDecode)->Arg(3)->Arg(20)->Arg(120)->Arg(240)->Arg(kQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullDecodeAndScale)->Arg(3)->Arg(20)->Arg(120)->Arg(240)->Arg(kQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndDecodeScaled)->Arg(240)->Arg(kQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveCachedCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DjpegEighth)->Arg(240)->Arg(kQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchParallel)->Arg(240)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BatchOneAtATime)->Arg(240)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TestFiles();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
