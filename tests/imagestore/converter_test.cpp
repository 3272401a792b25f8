#include "imagestore/converter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "picture/decode_budget.h"

#include "imagestore/cache_paths.h"
#include "picture/picture.h"
#include "runtime/vb.h"
#include "support/error_number.h"
#include "support/temp_app_folder.h"

using imagestore::BatchResult;
using imagestore::ConvertPicture;
using imagestore::ConvertPictures;
using imagestore::FitImageSize;

using testing_support::ErrorNumberOf;

namespace {

// Scales a width x height (twips) pair and returns it.
std::pair<float, float> Fit(float width, float height) {
    FitImageSize(width, height);
    return {width, height};
}

TEST(FitImageSize, BandEdgesIncludeTheirLowerBound) {
    EXPECT_EQ(Fit(4499, 100), std::make_pair(4499.f, 100.f));
    EXPECT_EQ(Fit(4500, 3000), std::make_pair(4500 * 0.82f, 3000 * 0.82f));
    EXPECT_EQ(Fit(100, 4999), std::make_pair(100 * 0.82f, 4999 * 0.82f));
    EXPECT_EQ(Fit(5000, 5000), std::make_pair(5000 * 0.74f, 5000 * 0.74f));
    EXPECT_EQ(Fit(17999, 20), std::make_pair(17999 * 0.219f, 20 * 0.219f));
    EXPECT_EQ(Fit(20, 18000), std::make_pair(20 * 0.2f, 18000 * 0.2f));
    EXPECT_EQ(Fit(23999, 1), std::make_pair(23999 * 0.16f, 0.16f));
    EXPECT_EQ(Fit(24000, 1), std::make_pair(24000 * 0.16f, 0.16f));
    EXPECT_EQ(Fit(31499, 1), std::make_pair(31499 * 0.13f, 0.13f));
    EXPECT_EQ(Fit(31500, 31500), std::make_pair(31500 * 0.13f, 31500 * 0.13f));
    EXPECT_EQ(Fit(200000, 1), std::make_pair(200000 * 0.13f, 0.13f));
}

// A picture whose left half is red and right half blue, with a green band
// along its top, so a cached copy shows it was neither flipped nor cropped.
QImage Marked(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(0, 0, width, std::max(1, height / 8), Qt::green);
    return image;
}

class ConverterTest : public ::testing::Test {
protected:
    ConverterTest() { app.makeCacheFolder(); }
    QString picture(const QString& name, const QImage& image, const char* format = "PNG") const {
        const QString path = app.file(name);
        image.save(path, format, 90);
        return path;
    }
    QString raw(const QString& name, const QByteArray& bytes) const {
        QFile f(app.file(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return app.file(name);
    }
    QString cached(int n) const { return imagestore::CachedPicturePath(app.path(), vb::CStr(int32_t(n))); }
    QByteArray cachedBytes(int n) const {
        QFile f(cached(n));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    testing_support::TempAppFolder app;
};

TEST_F(ConverterTest, CachedCopiesTakeTheBandSizes) {
    struct Case {
        QSize pixels;
        float shrinkWidth, shrinkHeight;
        QSize saved;
    };
    const Case cases[] = {
        {{300, 200}, 3690, 2460, {246, 164}},
        {{299, 299}, 4485, 4485, {299, 299}},
        {{200, 800}, 957, 3828, {64, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels.width());
        const QString source = picture("p.jpg", Marked(c.pixels.width(), c.pixels.height()), "JPEG");
        const imagestore::ShrinkSizes sizes = ConvertPicture(source, app.path(), "3");
        EXPECT_EQ(sizes.sourceWidth, c.pixels.width() * 15.f);
        EXPECT_EQ(sizes.sourceHeight, c.pixels.height() * 15.f);
        EXPECT_EQ(sizes.shrinkWidth, c.shrinkWidth);
        EXPECT_EQ(sizes.shrinkHeight, c.shrinkHeight);
        const QImage copy = platform::LoadPicture(app.file("Glidorama/Glidorama3.dib"));
        ASSERT_EQ(copy.size(), c.saved);
        const int y = copy.height() * 3 / 4;
        EXPECT_GT(qRed(copy.pixel(copy.width() / 8, y)), 200);
        EXPECT_GT(qBlue(copy.pixel(copy.width() * 7 / 8, y)), 200);
        EXPECT_GT(qGreen(copy.pixel(copy.width() / 2, 0)), 200);
    }
}

TEST_F(ConverterTest, EveryFormatConverts) {
    const QString sources[] = {picture("a.png", Marked(40, 30)), picture("a.bmp", Marked(40, 30), "BMP"),
                               picture("a.dib", Marked(40, 30), "BMP"), picture("a.jpeg", Marked(40, 30), "JPEG")};
    for (const QString& source : sources) {
        ConvertPicture(source, app.path(), "0");
        EXPECT_EQ(platform::PictureSize(cached(0)), QSize(40, 30)) << source.toStdString();
    }
}

TEST_F(ConverterTest, AThinStripKeepsAtLeastOnePixel) {
    const imagestore::ShrinkSizes sizes = ConvertPicture(picture("strip.png", Marked(5000, 1)), app.path(), "0");
    EXPECT_EQ(sizes.shrinkHeight, 2.f);  // 15 twips x 0.13, rounded
    EXPECT_EQ(platform::PictureSize(cached(0)), QSize(650, 1));
}

TEST_F(ConverterTest, FailuresRaiseTheirNumberAndLeaveTheOldCopy) {
    ConvertPicture(picture("good.png", Marked(50, 50)), app.path(), "0");
    const QByteArray before = cachedBytes(0);
    const QByteArray jpeg = [] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        Marked(300, 200).save(&buffer, "JPEG", 90);
        return bytes;
    }();
    const std::pair<QString, int> failures[] = {
        {app.file("missing.jpg"), vb::kFileNotFound},
        {raw("empty.jpg", {}), vb::kInvalidPicture},
        {raw("cut.jpg", jpeg.left(jpeg.size() / 2)), vb::kInvalidPicture},
        {raw("letter.jpg", "Dear Sir,\nthis is text.\n"), vb::kInvalidPicture},
    };
    for (const auto& [path, number] : failures) {
        EXPECT_EQ(ErrorNumberOf([&] { ConvertPicture(path, app.path(), "0"); }), number) << path.toStdString();
        EXPECT_EQ(cachedBytes(0), before);
    }
}

TEST_F(ConverterTest, PanoramasOfAnyWidthConvert) {
    // 30000 pixels: 450000 twips, 58500 once shrunk, far past a 16-bit side.
    const imagestore::ShrinkSizes sizes = ConvertPicture(picture("wide.png", Marked(30000, 1000)), app.path(), "0");
    EXPECT_EQ(sizes.shrinkWidth, 58500.f);
    EXPECT_EQ(sizes.shrinkHeight, 1950.f);
    const QImage copy = platform::LoadPicture(cached(0));
    EXPECT_EQ(copy.size(), QSize(3900, 130));
    EXPECT_GT(qRed(copy.pixel(copy.width() / 8, 100)), 200);
    EXPECT_GT(qBlue(copy.pixel(copy.width() * 7 / 8, 100)), 200);
}

TEST_F(ConverterTest, TransparentPartsTakeTheBackgroundColour) {
    QImage half(40, 30, QImage::Format_ARGB32);
    half.fill(qRgba(255, 0, 0, 128));
    const QString source = picture("half.png", half);
    ConvertPicture(source, app.path(), "0", QColor(0, 0, 255));
    const QRgb single = platform::LoadPicture(cached(0)).pixel(10, 10);
    EXPECT_NEAR(qRed(single), 128, 3);
    EXPECT_NEAR(qBlue(single), 127, 3);
    ASSERT_EQ(ConvertPictures({source}, app.path(), {}, QColor(0, 255, 0)).failedIndex, -1);
    const QRgb batch = platform::LoadPicture(cached(0)).pixel(10, 10);
    EXPECT_NEAR(qGreen(batch), 127, 3);
    EXPECT_EQ(qBlue(batch), 0);
}

TEST(DecodeBudget, SharesTogetherNeverPassTheTotal) {
    imagestore::DecodeBudget budget(100);
    std::atomic<int> held{0};
    std::atomic<int> most{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < 8; ++i) {
        workers.emplace_back([&, i] {
            // 40 each: at most two at once. One share larger than the whole goes alone.
            const qint64 bytes = i == 3 ? 500 : 40;
            imagestore::DecodeBudget::Share share(&budget, bytes);
            const int now = held += int(std::min<qint64>(bytes, 100));
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {}
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            held -= int(std::min<qint64>(bytes, 100));
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_LE(most.load(), 100);
    EXPECT_GE(most.load(), 80);
}

TEST_F(ConverterTest, MissingCacheFolderFailsTheSave) {
    testing_support::TempAppFolder bare;
    EXPECT_EQ(ErrorNumberOf([&] { ConvertPicture(picture("p.png", Marked(10, 10)), bare.path(), "0"); }),
              vb::kPathNotFound);
    const BatchResult result = ConvertPictures({picture("p.png", Marked(10, 10))}, bare.path());
    EXPECT_EQ(result.failedIndex, 0);
    EXPECT_EQ(result.errorNumber, vb::kPathNotFound);
}

TEST_F(ConverterTest, BatchCachesPictureIAsFileIAndReportsProgressInOrder) {
    QStringList list;
    for (int i = 0; i < 12; ++i) list << picture(QString("p%1.png").arg(i), Marked(20 + i, 10));
    std::vector<int> progress;
    bool onCallingThread = true;
    const BatchResult result = ConvertPictures(list, app.path(), [&](int i) {
        progress.push_back(i);
        onCallingThread = onCallingThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    EXPECT_EQ(result.failedIndex, -1);
    EXPECT_EQ(result.errorNumber, 0);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_TRUE(onCallingThread);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(platform::PictureSize(cached(i)), QSize(20 + i, 10)) << i;
    EXPECT_EQ(ConvertPictures({}, app.path()).failedIndex, -1);
}

TEST_F(ConverterTest, BatchReportsTheFirstFailureInListOrder) {
    for (int i = 0; i < 6; ++i) raw(QString("Glidorama/Glidorama%1.dib").arg(i), "old");
    // A large first picture makes the later, failing ones finish first.
    const QStringList list = {picture("big.jpg", Marked(3000, 2000), "JPEG"),
                              app.file("gone.jpg"),
                              picture("p2.png", Marked(30, 10)),
                              raw("bad.gif", "GIF89a garbage"),
                              picture("p4.png", Marked(40, 10)),
                              picture("p5.png", Marked(50, 10))};
    std::vector<int> progress;
    const BatchResult result = ConvertPictures(list, app.path(), [&](int i) { progress.push_back(i); });
    EXPECT_EQ(result.failedIndex, 1);
    EXPECT_EQ(result.errorNumber, vb::kFileNotFound);
    EXPECT_TRUE(result.error.contains("gone.jpg")) << result.error.toStdString();
    EXPECT_EQ(progress, (std::vector<int>{0, 1}));
    EXPECT_EQ(platform::PictureSize(cached(0)), QSize(390, 260));
    // The failing picture and those after it keep their old files.
    for (int i = 1; i < 6; ++i) EXPECT_EQ(cachedBytes(i), QByteArray("old")) << i;
    EXPECT_EQ(QDir(app.file("Glidorama")).entryList(QDir::Files | QDir::Hidden).size(), 6)
        << "copies made ahead are dropped";
}

}  // namespace
