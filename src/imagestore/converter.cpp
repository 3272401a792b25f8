#include "imagestore/converter.h"

#include <QFuture>
#include <QPainter>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>
#include <vector>

#include "imagestore/cache_paths.h"
#include "picture/decode_budget.h"
#include "picture/picture.h"
#include "runtime/colors.h"
#include "runtime/picture_box.h"  // kTwipsPerPixel
#include "runtime/vb.h"

namespace imagestore {

namespace {

// One picture shrunk into its conversion canvas, not yet saved.
struct ShrunkPicture {
    ShrinkSizes sizes;
    QImage image;
    bool transparent = false;
};

bool HasTransparentParts(const QImage& image) {
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255) return true;
    }
    return false;
}

ShrunkPicture ShrinkPicture(const QString& imageEntry, const QColor& background, DecodeBudget* budget,
                            double scale = 1) {
    const platform::EncodedPicture photo = platform::EncodedPicture::Open(imageEntry);
    ShrunkPicture shrunk;
    ShrinkSizes& sizes = shrunk.sizes;
    sizes.sourceWidth = sizes.shrinkWidth = float(photo.size().width() * platform::kTwipsPerPixel);
    sizes.sourceHeight = sizes.shrinkHeight = float(photo.size().height() * platform::kTwipsPerPixel);
    FitImageSize(sizes.shrinkWidth, sizes.shrinkHeight);
    // Rounded in 32 bits: a panorama's side passes 32767 twips even shrunk.
    sizes.shrinkWidth = float(vb::CLng(double(sizes.shrinkWidth)));
    sizes.shrinkHeight = float(vb::CLng(double(sizes.shrinkHeight)));

    // The conversion canvas (photoShrink): the copy's size in whole pixels,
    // `scale` times the band's size for monitors that show it that much
    // larger, a side thinner than half a pixel (a long thin strip) still one pixel.
    const QSize canvas(std::max(1, int(std::lround(sizes.shrinkWidth / platform::kTwipsPerPixel * scale))),
                       std::max(1, int(std::lround(sizes.shrinkHeight / platform::kTwipsPerPixel * scale))));
    // Decoding straight at the canvas's size costs a fraction of a full
    // decode (a JPEG scales in the DCT domain) and makes drawing a plain copy.
    // Several workers decode at once: each waits until its decode fits in
    // what the others leave of the shared budget.
    const DecodeBudget::Share share(budget, photo.decodeCost(canvas));
    // Transparent parts show the saver's background colour.
    const QImage decoded = photo.decode(canvas);
    shrunk.transparent = HasTransparentParts(decoded);
    shrunk.image = platform::OverBackground(decoded, background);
    return shrunk;
}

// What a worker hands back for one picture of a batch: its cached copy
// written under a temporary name, or the error.
struct Outcome {
    platform::StagedPicture copy;
    bool transparent = false;
    int errorNumber = 0;
    QString error;
    QString reason;
};

Outcome ShrinkForBatch(const QString& imageEntry, const QString& cachePath, const QColor& background,
                       DecodeBudget& budget, double scale) {
    Outcome outcome;
    try {
        const ShrunkPicture shrunk = ShrinkPicture(imageEntry, background, &budget, scale);
        outcome.copy = platform::StagePicture(shrunk.image, cachePath);
        outcome.transparent = shrunk.transparent;
    } catch (const platform::PictureRefused& e) {
        outcome.errorNumber = e.number();
        outcome.error = QString::fromLocal8Bit(e.what());
        outcome.reason = e.reason();
    } catch (const vb::RuntimeError& e) {
        outcome.errorNumber = e.number();
        outcome.error = QString::fromLocal8Bit(e.what());
        if (e.number() == vb::kFileNotFound) outcome.reason = QStringLiteral("the file does not exist");
    } catch (const std::bad_alloc&) {
        const vb::RuntimeError error(vb::kOutOfMemory, QStringLiteral("Out of memory: ") + imageEntry);
        outcome.errorNumber = error.number();
        outcome.error = QString::fromLocal8Bit(error.what());
        outcome.reason = QStringLiteral("there is not enough memory to show it");
    }
    return outcome;
}

void LowerTo(std::atomic<int>& value, int candidate) {
    int current = value.load();
    while (candidate < current && !value.compare_exchange_weak(current, candidate)) {}
}

}  // namespace

void FitImageSize(float& shrinkWidth, float& shrinkHeight) {
    struct Band {
        float from;
        float factor;
    };
    // Lower bound of each band (included) and its factor, largest first.
    static const Band bands[] = {
        {31500, 0.13f},  {30000, 0.13f}, {28500, 0.135f}, {27000, 0.14f},  {25500, 0.15f},  {24000, 0.16f},
        {22500, 0.16f},  {21000, 0.17f}, {19500, 0.19f},  {18000, 0.2f},   {17500, 0.219f}, {17000, 0.226f},
        {16500, 0.232f}, {16000, 0.24f}, {15500, 0.248f}, {15000, 0.256f}, {14500, 0.264f}, {14000, 0.273f},
        {13500, 0.283f}, {13000, 0.29f}, {12500, 0.305f}, {12000, 0.319f}, {11500, 0.33f},  {11000, 0.347f},
        {10500, 0.36f},  {10000, 0.38f}, {9500, 0.4f},    {9000, 0.42f},   {8500, 0.45f},   {8000, 0.47f},
        {7500, 0.5f},    {7000, 0.53f},  {6500, 0.57f},   {6000, 0.62f},   {5500, 0.67f},   {5000, 0.74f},
        {4500, 0.82f},
    };
    const float d = shrinkWidth >= shrinkHeight ? shrinkWidth : shrinkHeight;
    for (const Band& band : bands) {
        if (d >= band.from) {
            shrinkWidth = shrinkWidth * band.factor;
            shrinkHeight = shrinkHeight * band.factor;
            return;
        }
    }
}

ShrinkSizes ConvertPicture(const QString& imageEntry, const QString& appPath, const QString& cacheNumber,
                           const QColor& background) {
    const ShrunkPicture shrunk = ShrinkPicture(imageEntry, background, nullptr);
    platform::SavePicture(shrunk.image, CachedPicturePath(appPath, cacheNumber));
    return shrunk.sizes;
}

BatchResult ConvertPictures(const QStringList& pictures, const QString& appPath,
                            const std::function<void(int index)>& progress, const QColor& background) {
    // The cache number goes up by one from "0": it always equals the list position.
    QStringList cacheNumbers;
    QString cacheNumber = QStringLiteral("0");
    for (int i = 0; i < pictures.size(); ++i, cacheNumber = vb::CStr(vb::CDbl(cacheNumber) + 1))
        cacheNumbers << cacheNumber;
    return ConvertPicturesInto(pictures, cacheNumbers, appPath, progress, background);
}

BatchResult ConvertPicturesInto(const QStringList& pictures, const QStringList& cacheNumbers, const QString& appPath,
                                const std::function<void(int index)>& progress, const QColor& background) {
    QStringList targets;
    for (const QString& number : cacheNumbers) targets << CachedPicturePath(appPath, number);
    return ConvertPicturesTo(pictures.mid(0, targets.size()), targets, progress, background);
}

BatchResult ConvertPicturesTo(const QStringList& pictures, const QStringList& targets,
                              const std::function<void(int index)>& progress, const QColor& background,
                              const std::function<bool()>& keepGoing, double scale) {
    const int count = int(std::min(pictures.size(), targets.size()));
    // Pictures after the first failure known so far are not worked on.
    std::atomic<int> firstFailure{count};
    std::vector<QFuture<Outcome>> pending(static_cast<size_t>(count));
    // However many cores decode at once, together they stay within one budget.
    DecodeBudget budget(platform::kDecodeBudget);
    // Declared last so that it is destroyed first: it waits for its workers,
    // which use the variables above.
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // Workers run at most this far ahead of the pictures put in place, which
    // bounds the staged files waiting.
    const int lookAhead = 2 * pool.maxThreadCount();

    int started = 0;
    auto startUpTo = [&](int end) {
        for (; started < std::min(end, count); ++started) {
            const int i = started;
            const QString cachePath = targets[i];
            pending[size_t(i)] =
                QtConcurrent::run(&pool, [&pictures, &firstFailure, &budget, &background, scale, i, cachePath]() {
                    if (i > firstFailure.load()) return Outcome{};
                    Outcome outcome = ShrinkForBatch(pictures[i], cachePath, background, budget, scale);
                    if (outcome.errorNumber != 0) LowerTo(firstFailure, i);
                    return outcome;
                });
        }
    };
    // Whether the caller still wants picture i, answering it while it waits.
    auto wanted = [&](int i) {
        if (!keepGoing) return true;
        while (!pending[size_t(i)].isFinished()) {
            if (!keepGoing()) return false;
            QThread::msleep(5);
        }
        return keepGoing();
    };

    // Cached copies are put in place here, in list order, so the cache ends
    // up exactly as converting one picture after another would leave it:
    // every picture before a failing one cached, the failing one and those
    // after it untouched (their written copies are dropped).
    BatchResult result;
    for (int i = 0; i < count; ++i) {
        startUpTo(i + lookAhead);
        if (progress) progress(i);
        if (!wanted(i)) {
            LowerTo(firstFailure, -1);  // the workers not yet begun do nothing
            result.cancelled = true;
            break;
        }
        Outcome outcome = pending[size_t(i)].result();
        pending[size_t(i)] = QFuture<Outcome>();
        if (outcome.errorNumber == 0) {
            try {
                outcome.copy.commit();
            } catch (const vb::RuntimeError& e) {
                outcome.errorNumber = e.number();
                outcome.error = QString::fromLocal8Bit(e.what());
            }
        }
        if (outcome.errorNumber != 0) {
            LowerTo(firstFailure, i);
            const std::vector<bool> transparent = std::move(result.transparent);
            result = {i, outcome.error, outcome.errorNumber, outcome.reason, false, i, transparent};
            break;
        }
        result.transparent.push_back(outcome.transparent);
        result.completed = i + 1;
    }
    // The pictures still in flight finish unseen; a caller that answers its
    // user goes on doing so meanwhile.
    while (!pool.waitForDone(keepGoing ? 10 : -1)) keepGoing();
    return result;
}

}  // namespace imagestore
