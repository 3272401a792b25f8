// Many pictures: "&OK" with 200 photos of 12 megapixels the first time,
// again with nothing changed, and with one of them changed; reading the
// settings at start-up with a list of 20,000 pictures and from a 50 MB file;
// listing a folder of 1,000 pictures.
//
//     build/bench/album_bench
#include <QCoreApplication>
#include <QDir>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include "dialog/picture_gathering.h"
#include "imagestore/cache_update.h"
#include "settings/profile.h"
#include "settings/values.h"

namespace {

constexpr int kPhotos = 200;

// A 12 megapixel photo-like JPEG (4243 x 2828), made once.
QByteArray PhotoBytes(int shade) {
    QImage image(4243, 2828, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor(20 + shade % 200, 60, 140));
    gradient.setColorAt(1, QColor(240, 200 - shade % 150, 40));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 400; ++i)
        painter.fillRect((i * 7919) % image.width(), (i * 104729) % image.height(), 60, 40,
                         QColor((i * 37) % 256, (i * 91) % 256, (i * 53) % 256));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// One album and its program folder for the three "&OK" cases, in one run.
struct Album {
    QTemporaryDir dir;
    QStringList photos;
    Album() {
        QDir(dir.path()).mkpath(QStringLiteral("app/Glidorama"));
        QDir(dir.path()).mkpath(QStringLiteral("photos"));
        const QString first = dir.filePath(QStringLiteral("photos/IMG_0000.jpg"));
        Write(first, PhotoBytes(0));
        photos << first;
        // The others share the first one's bytes through hard links (each a
        // file of its own to the cache), so the set-up stays quick and small.
        for (int i = 1; i < kPhotos; ++i) {
            const QString path = dir.filePath(QStringLiteral("photos/IMG_%1.jpg").arg(i, 4, 10, QChar(u'0')));
            if (::link(QFile::encodeName(first).constData(), QFile::encodeName(path).constData()) != 0)
                QFile::copy(first, path);
            photos << path;
        }
    }
    QString app() const { return dir.filePath(QStringLiteral("app")); }
};

Album& TheAlbum() {
    static Album album;
    return album;
}

double UpdateSeconds(imagestore::UpdateCounts& counts, double scale = 1) {
    QElapsedTimer timer;
    timer.start();
    const imagestore::BatchResult result =
        imagestore::UpdateCache(TheAlbum().photos, TheAlbum().app(), QStringLiteral("0"), {}, &counts, {}, scale);
    if (result.failedIndex >= 0) qFatal("conversion failed: %s", qPrintable(result.error));
    return timer.nsecsElapsed() / 1e9;
}

// The argument is the picture scale in per cent: 100 for a 1920 x 1080
// screen, 200 for a 3840 x 2160 one. Each converts every photo (a copy for
// the other scale does not serve).
void BM_FirstOk(benchmark::State& state) {
    for (auto _ : state) {
        imagestore::UpdateCounts counts;
        state.SetIterationTime(UpdateSeconds(counts, state.range(0) / 100.0));
        state.counters["converted"] = counts.converted;
    }
}

void BM_UnchangedOk(benchmark::State& state) {
    // Run on its own, the list has not been confirmed yet: do that untimed.
    imagestore::UpdateCounts first;
    UpdateSeconds(first);
    for (auto _ : state) {
        imagestore::UpdateCounts counts;
        state.SetIterationTime(UpdateSeconds(counts));
        state.counters["converted"] = counts.converted;
    }
}

void BM_OneChangedOk(benchmark::State& state) {
    static int shade = 1;
    const QString changed = TheAlbum().photos[100];
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(changed);  // breaks the hard link
        Write(changed, PhotoBytes(shade++));
        state.ResumeTiming();
        imagestore::UpdateCounts counts;
        state.SetIterationTime(UpdateSeconds(counts));
        state.counters["converted"] = counts.converted;
    }
}

// Converting that one photo alone, the floor of the case above.
void BM_ConvertOne(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        imagestore::ConvertPicture(TheAlbum().photos[100], TheAlbum().app(), QStringLiteral("900"));
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}

// What the saver reads at start: every key and the whole picture list.
void ReadAtStartUp(const QString& path) {
    benchmark::DoNotOptimize(
        settings::ReadValues(platform::ProfileFile::ReadOnce(path), QStringLiteral("/nowhere")).pictures);
}

void BM_StartUpSettings(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("z909ssaver.ini"));
    const int pictures = int(state.range(0));
    QByteArray text = "[total]\nnewTotal=" + QByteArray::number(pictures) + "\nClonesOfImage=10\n[saver]\nmode=1\n";
    text += "[images]\n";
    for (int i = 0; i < pictures; ++i)
        text += QByteArray::number(i) + "=/home/someone/Pictures/Holidays 2025/IMG_" + QByteArray::number(i) + ".jpg\n";
    // The large cases: padded to 50 MB with notes in a section of their own
    // (1), or with keys inside the picture list itself (2).
    if (state.range(1)) {
        if (state.range(1) == 1) text += "[notes]\n";
        int line = 0;
        while (text.size() < 50 * 1024 * 1024) {
            ++line;
            text += "; note " + QByteArray::number(line) + " " + QByteArray(60, 'x') + "\nkey" +
                    QByteArray::number(line) + "=value\n";
        }
    }
    text += "[password]\nsaverEnabled=0\n";
    Write(path, text);
    for (auto _ : state) ReadAtStartUp(path);
    state.counters["MB"] = double(text.size()) / (1024 * 1024);
}

void BM_ListFolder(benchmark::State& state) {
    QTemporaryDir dir;
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    for (int i = 0; i < 1000; ++i) {
        const QString sub = dir.filePath(QStringLiteral("day%1").arg(i / 100));
        QDir().mkpath(sub);
        Write(sub + QStringLiteral("/IMG_%1.jpg").arg(i), jpeg);
    }
    Write(dir.filePath(QStringLiteral("notes.txt")), "not a picture");
    for (auto _ : state) {
        const dialog::FolderPictures found = dialog::PicturesInFolder(dir.path());
        if (found.pictures.size() != 1000) state.SkipWithError("not every picture was found");
    }
}

}  // namespace

// In this order, in one run: the first OK, then the same list unchanged.
BENCHMARK(BM_FirstOk)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_UnchangedOk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_OneChangedOk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ConvertOne)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_StartUpSettings)->Args({20000, 0})->Args({20000, 1})->Args({20000, 2})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
