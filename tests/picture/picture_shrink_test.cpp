// Pictures shown smaller than they are, shrunk while they are decoded: the
// averaging itself, and large PNG and HEIF pictures that come out upright,
// in their colours, and within the memory their decode is said to cost.
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTransform>

#include <gtest/gtest.h>

#include <vector>

#include "picture/picture.h"
#include "picture/picture_shrink.h"
#include "support/test_pictures.h"

using platform::RowShrinker;
using namespace testing_support;

namespace {

// Shrinks rows of 8-bit pixels given as one value list per row.
QImage Shrink(QSize source, QSize target, RowShrinker::Layout layout, const std::vector<std::vector<uchar>>& rows) {
    RowShrinker shrinker(source, target, layout);
    for (const auto& row : rows) shrinker.addRow(row.data());
    return shrinker.result();
}

std::vector<std::vector<uchar>> Uniform(QSize size, std::vector<uchar> pixel) {
    std::vector<uchar> row;
    for (int x = 0; x < size.width(); ++x) row.insert(row.end(), pixel.begin(), pixel.end());
    return std::vector<std::vector<uchar>>(size_t(size.height()), row);
}

}  // namespace

TEST(RowShrinker, EachTargetPixelIsTheMeanOfTheAreaItCovers) {
    // One colour stays exactly that colour whatever the ratio.
    for (const auto& [from, to] : {std::pair{QSize(7, 5), QSize(3, 2)},
                                   {QSize(1000, 3), QSize(7, 1)},
                                   {QSize(5, 5), QSize(5, 5)},
                                   {QSize(9, 4), QSize(1, 1)}}) {
        const QImage image = Shrink(from, to, RowShrinker::Layout::Rgb, Uniform(from, {200, 100, 50}));
        ASSERT_EQ(image.size(), to);
        for (int y = 0; y < to.height(); ++y)
            for (int x = 0; x < to.width(); ++x) EXPECT_EQ(image.pixel(x, y), qRgb(200, 100, 50)) << x << "," << y;
    }
    // Three columns into two: the middle one is split between them.
    const QImage across =
        Shrink(QSize(3, 1), QSize(2, 1), RowShrinker::Layout::Rgb, {{0, 0, 0, 90, 90, 90, 255, 255, 255}});
    EXPECT_EQ(qRed(across.pixel(0, 0)), 30);   // (0 * 2 + 90) / 3
    EXPECT_EQ(qRed(across.pixel(1, 0)), 200);  // (90 + 255 * 2) / 3
    // And three rows into two.
    const QImage down =
        Shrink(QSize(1, 3), QSize(1, 2), RowShrinker::Layout::Rgb, {{0, 0, 0}, {90, 90, 90}, {255, 255, 255}});
    EXPECT_EQ(qGreen(down.pixel(0, 0)), 30);
    EXPECT_EQ(qGreen(down.pixel(0, 1)), 200);
    // Single-pixel stripes turn grey instead of flickering.
    std::vector<uchar> stripes;
    for (int x = 0; x < 12; ++x) stripes.insert(stripes.end(), 3, uchar(x % 2 ? 255 : 0));
    const QImage grey = Shrink(QSize(12, 2), QSize(3, 1), RowShrinker::Layout::Rgb, {stripes, stripes});
    for (int x = 0; x < 3; ++x) EXPECT_NEAR(qBlue(grey.pixel(x, 0)), 128, 1);
}

TEST(RowShrinker, TransparencyIsAveragedWithItsColours) {
    // Opaque blue beside fully transparent red: the hidden red must not show.
    const QImage image = Shrink(QSize(2, 1), QSize(1, 1), RowShrinker::Layout::Rgba, {{255, 0, 0, 0, 0, 0, 255, 255}});
    ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(image.pixel(0, 0), qRgba(0, 0, 128, 128));
    // Already premultiplied rows are taken as they are.
    const QImage half = Shrink(QSize(4, 4), QSize(2, 2), RowShrinker::Layout::RgbaPremultiplied,
                               Uniform(QSize(4, 4), {128, 0, 0, 128}));
    EXPECT_EQ(half.pixel(1, 1), qRgba(128, 0, 0, 128));
}

namespace {

// Red where the left half of the stored picture went, blue where the right went.
void ExpectHalves(const QImage& image, bool redOnTop, const std::string& trace) {
    SCOPED_TRACE(trace);
    const QPoint red =
        redOnTop ? QPoint(image.width() / 2, image.height() / 8) : QPoint(image.width() / 8, image.height() / 2);
    const QPoint blue = redOnTop ? QPoint(image.width() / 2, image.height() * 7 / 8)
                                 : QPoint(image.width() * 7 / 8, image.height() / 2);
    EXPECT_GT(qRed(image.pixel(red)), 180);
    EXPECT_LT(qBlue(image.pixel(red)), 90);
    EXPECT_GT(qBlue(image.pixel(blue)), 180);
    EXPECT_LT(qRed(image.pixel(blue)), 90);
}

}  // namespace

// A TIFF red on top and blue below (the rows' order shows), compressed as
// scans usually are, half-transparent when `alpha` is set.
bool WriteTiff(const QString& path, int width, int height, bool alpha) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, alpha ? 128 : 255));
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(0, 0, width, height / 2, QColor(255, 0, 0, alpha ? 128 : 255));
    }
    QImageWriter writer(path, "tiff");
    writer.setCompression(1);
    return writer.write(alpha ? image : image.convertToFormat(QImage::Format_RGB32));
}

TEST(LargePictures, ShrunkWhileDecodedUprightAndWithinTheirStatedCost) {
    QTemporaryDir dir;
    const QString png = dir.filePath("camera.png");
    ASSERT_TRUE(WriteLargePng(png, 12000, 9000));
    // Half-transparent and stored on its side.
    const QString turned = dir.filePath("turned.png");
    ASSERT_TRUE(WriteLargePng(turned, 3000, 2000, true));
    ASSERT_TRUE(SetOrientation(turned, 6));
    // A sixth of a 48-megapixel phone photo, shown at a sixth of the area
    // too: encoding the whole would take most of a minute here, and the
    // decoder's memory grows with the area.
    const QString heic = dir.filePath("phone.heic");
    const QString source = dir.filePath("phone.png");
    ASSERT_TRUE(WriteLargePng(source, 3264, 2448));
    ASSERT_TRUE(RunTool("heif-enc", {"-q", "50", "-p", "preset=ultrafast", source, "-o", heic}));
    const double heicShare = 3264.0 * 2448 / (8000.0 * 6000);
    const QString scan = dir.filePath("scan.tif");
    ASSERT_TRUE(WriteTiff(scan, 2400, 1800, false));
    // Stored turned a quarter the other way: its top goes to the left.
    const QString turnedScan = dir.filePath("turned.tif");
    ASSERT_TRUE(QFile::copy(scan, turnedScan));
    ASSERT_TRUE(SetOrientation(turnedScan, 8));
    const QString clearScan = dir.filePath("clear.tif");
    ASSERT_TRUE(WriteTiff(clearScan, 400, 300, true));

    struct Case {
        QString file;
        QSize shownAt;
        bool redOnTop;
        bool transparent;
        qint64 budget;
    };
    const Case cases[] = {
        {png, QSize(1440, 1080), false, false, platform::kDecodeBudget},
        {turned, QSize(400, 600), true, true, platform::kDecodeBudget},
        {heic, QSize(588, 441), false, false, qint64(platform::kDecodeBudget * heicShare)},
        {scan, QSize(400, 300), true, false, platform::kDecodeBudget},
        {turnedScan, QSize(300, 400), false, false, platform::kDecodeBudget},
        {clearScan, QSize(200, 150), true, true, platform::kDecodeBudget},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const platform::EncodedPicture picture = platform::EncodedPicture::Open(c.file);
        const qint64 cost = picture.decodeCost(c.shownAt);
        EXPECT_LE(cost, c.budget);
        const QImage image = picture.decode(c.shownAt);
        ASSERT_EQ(image.size(), c.shownAt);
        ExpectHalves(image.convertToFormat(QImage::Format_ARGB32), c.redOnTop, "shrunk");
        EXPECT_EQ(image.hasAlphaChannel(), c.transparent);
        if (c.transparent) {
            EXPECT_NEAR(qAlpha(image.pixel(10, 10)), 128, 1);
        }
        // What the decode really takes, measured in a process of its own.
        if (testing_support::kUnderSanitizer) continue;
        const long grown = PeakKilobytesOf(
            "PictureShrinkChild.*",
            {"GLIDORAMA_SHRINK_FILE=" + c.file,
             QStringLiteral("GLIDORAMA_SHRINK_SIZE=%1x%2").arg(c.shownAt.width()).arg(c.shownAt.height())});
        ASSERT_GT(grown, 0);
        EXPECT_LE(grown * 1024, cost) << "grew " << grown << " KB, said " << cost / 1024 << " KB";
    }
    // At its natural size the camera picture is still too large to show.
    try {
        platform::EncodedPicture::Open(png).decode();
        ADD_FAILURE() << "decoded 12000 x 9000 whole";
    } catch (const platform::PictureRefused& e) {
        EXPECT_EQ(e.reason(), "12000 x 9000 is too large to show");
    }
}

// Run alone by the test above, in a process of its own: shrinks one file
// and reports how far its peak memory grew meanwhile.
TEST(PictureShrinkChild, ShrinksTheFileNamedInTheEnvironment) {
    const QString file = qEnvironmentVariable("GLIDORAMA_SHRINK_FILE");
    if (file.isEmpty()) GTEST_SKIP() << "run by ShrunkWhileDecodedUprightAndWithinTheirStatedCost";
    const QStringList size = qEnvironmentVariable("GLIDORAMA_SHRINK_SIZE").split(u'x');
    const long base = ResetPeakMemory();
    const QImage image =
        platform::EncodedPicture::Open(file).decode(QSize(size.value(0).toInt(), size.value(1).toInt()));
    ReportPeakGrowth(base);
}
