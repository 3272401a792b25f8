// Decoding a large photo straight at the size it is shown (1728 x 972, a
// 1920 x 1080 screen less a margin): a 12000 x 9000 PNG and a 48-megapixel
// HEIC. Reported: the time, and how far the process's peak memory rose
// above what was resident before the decode (the kernel's high-water mark
// is reset first), beside what decodeCost promised.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "picture/picture.h"
#include "widget_bench_main.h"

namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// A PNG with enough detail to cost a real decode, written row by row.
QString DetailedPng(int width, int height) {
    const QString path = Folder().filePath(QStringLiteral("detailed-%1x%2.png").arg(width).arg(height));
    if (QFile::exists(path)) return path;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "wb"), std::fclose);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = png_byte((x * 7 + y) & 255);
            row[size_t(x) * 3 + 1] = png_byte((y * 3) & 255);
            row[size_t(x) * 3 + 2] = png_byte(((x ^ y) * 5) & 255);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return path;
}

QString DetailedHeic(int width, int height) {
    const QString path = Folder().filePath(QStringLiteral("detailed-%1x%2.heic").arg(width).arg(height));
    if (QFile::exists(path)) return path;
    const int status =
        QProcess::execute("heif-enc", {"-q", "60", "-p", "preset=ultrafast", DetailedPng(width, height), "-o", path});
    return status == 0 ? path : QString();
}

long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

void Decode(benchmark::State& state, const QString& file) {
    if (file.isEmpty()) {
        state.SkipWithError("cannot make the picture");
        return;
    }
    const QSize shown(1728, 972);
    double longest = 0;
    long growth = 0;
    for (auto _ : state) {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly)) clear.write("5");
        clear.close();
        const long before = StatusKilobytes("VmRSS:");
        QElapsedTimer timer;
        timer.start();
        const platform::EncodedPicture picture = platform::EncodedPicture::Open(file);
        benchmark::DoNotOptimize(picture.decode(shown));
        longest = std::max(longest, timer.nsecsElapsed() / 1e6);
        growth = std::max(growth, StatusKilobytes("VmHWM:") - before);
        state.counters["cost_mb"] = double(picture.decodeCost(shown)) / (1024 * 1024);
    }
    state.counters["longest_ms"] = longest;
    state.counters["peak_growth_mb"] = double(growth) / 1024;
}

void BM_DecodeShrunkPng(benchmark::State& state) { Decode(state, DetailedPng(12000, 9000)); }
BENCHMARK(BM_DecodeShrunkPng)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DecodeShrunkHeic(benchmark::State& state) { Decode(state, DetailedHeic(8000, 6000)); }
BENCHMARK(BM_DecodeShrunkHeic)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithWidgets(argc, argv); }
