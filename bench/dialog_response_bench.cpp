// How long the settings dialog stops answering: while the user selects
// pictures one after another (thumbnails of 12 and 48 megapixel JPEGs, HEIC
// and AVIF), and from a Cancel during "&OK" of 200 photos to the dialog
// being live again. A timer due every 5 ms records how late it runs: the
// longest lateness is the longest the event loop was blocked.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "dialog/form2.h"
#include "dialog/picture_list.h"
#include "runtime/clock.h"
#include "platform/environment.h"
#include "support/recorders.h"
#include "widget_bench_main.h"

namespace {

// A photo-like picture: gradients and sensor noise, as slow to decode as a photo.
QImage Photo(int width, int height) {
    QImage photo(width, height, QImage::Format_RGB32);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 27);
            line[x] = qRgb((x * 223) / width + n, (y * 223) / height + n, ((x ^ y) & 0xDF) + n);
        }
    }
    return photo;
}

struct Pictures {
    QTemporaryDir dir;
    QStringList selection;  // 20: five each of four kinds
    QStringList album;      // 200 photos of 12 megapixels

    Pictures() {
        const QImage twelve = Photo(4000, 3000);
        const QString jpeg12 = dir.filePath(QStringLiteral("12mp.jpg"));
        twelve.save(jpeg12, "JPEG", 90);
        const QString jpeg48 = dir.filePath(QStringLiteral("48mp.jpg"));
        Photo(8000, 6000).save(jpeg48, "JPEG", 90);
        const QString png = dir.filePath(QStringLiteral("12mp.png"));
        twelve.save(png, "PNG");
        const QString heic = dir.filePath(QStringLiteral("12mp.heic"));
        const QString avif = dir.filePath(QStringLiteral("12mp.avif"));
        QProcess::execute(QStringLiteral("heif-enc"), {"-q", "60", "-p", "preset=ultrafast", png, "-o", heic});
        QProcess::execute(QStringLiteral("heif-enc"), {"-A", "-p", "chroma=422", "-q", "60", png, "-o", avif});
        const QString kinds[] = {jpeg12, jpeg48, heic, avif};
        for (int i = 0; i < 20; ++i) selection << linked(kinds[i % 4], i);
        for (int i = 0; i < 200; ++i) album << linked(jpeg12, 100 + i);
        for (const QString& kind : kinds)
            std::fprintf(stderr, "%s: %lld bytes\n", qPrintable(kind), QFile(kind).size());
    }
    // Another name for the same file: a picture of its own to the dialog.
    QString linked(const QString& file, int n) {
        const QString path = dir.filePath(QStringLiteral("%1-%2").arg(n).arg(QFileInfo(file).fileName()));
        ::link(QFile::encodeName(file).constData(), QFile::encodeName(path).constData());
        return path;
    }
};

Pictures* pictures = nullptr;

// Records the longest lateness of a 5 ms timer while it runs.
class StallMeter {
public:
    StallMeter() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_ - 5);
            last_ = now;
        });
        timer_.setTimerType(Qt::PreciseTimer);
        clock_.start();
        timer_.start(5);
    }
    qint64 longestMs() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Dialog {
    explicit Dialog(const QStringList& list) {
        QDir(dir.path()).mkpath(QStringLiteral("Glidorama"));
        QByteArray ini = "[saver]\nmode=0\n[total]\nnewTotal=" + QByteArray::number(list.size()) + "\n[images]\n";
        for (int i = 0; i < list.size(); ++i) ini += QByteArray::number(i) + "=" + list[i].toUtf8() + "\n";
        QFile file(dir.filePath(QStringLiteral("z909ssaver.ini")));
        file.open(QIODevice::WriteOnly);
        file.write(ini);
        file.close();
        form = std::make_unique<dialog::Form2>(settings, env);
        form->Form_Load();
        form->show();
        form->waitForThumbnail();
    }
    QTemporaryDir dir;
    platform::SystemClock clock;
    platform::RecordingMessages messages;
    platform::Environment env{dir.path(), &clock, nullptr, &messages, nullptr, nullptr};
    settings::Settings settings;
    std::unique_ptr<dialog::Form2> form;
};

// The user selects each picture in turn, one every 150 ms.
void BM_SelectEachPicture(benchmark::State& state) {
    qint64 longest = 0;
    for (auto _ : state) {
        Dialog d(pictures->selection);
        StallMeter meter;
        for (int row = 1; row < d.form->pictureList->count(); ++row) {
            d.form->pictureList->setCurrentRow(row);
            RunEventsFor(150);
        }
        d.form->waitForThumbnail();
        longest = std::max(longest, meter.longestMs());
    }
    state.counters["longest_stall_ms"] = double(longest);
}

// OK of 200 photos, cancelled after 20: from the click until the dialog is live again.
void BM_CancelDuringOk(benchmark::State& state) {
    qint64 slowest = 0;
    qint64 longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Dialog d(pictures->album);
        QElapsedTimer sinceCancel;
        QObject::connect(d.form->ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
            if (value == 20 && !sinceCancel.isValid()) {
                sinceCancel.start();
                d.form->Cancel->click();
            }
        });
        StallMeter meter;
        state.ResumeTiming();
        d.form->OK_Click();
        state.PauseTiming();
        if (!d.form->Ok->isEnabled() || !sinceCancel.isValid()) state.SkipWithError("not cancelled");
        slowest = std::max(slowest, sinceCancel.elapsed());
        longest = std::max(longest, meter.longestMs());
        state.ResumeTiming();
    }
    state.counters["cancel_to_live_ms"] = double(slowest);
    state.counters["longest_stall_ms"] = double(longest);
}

BENCHMARK(BM_SelectEachPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CancelDuringOk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<Pictures> made;
    return RunBenchmarksWithWidgets(argc, argv, [&] {
        made = std::make_unique<Pictures>();
        pictures = made.get();
    });
}
