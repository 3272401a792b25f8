#include "picture/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "runtime/vb.h"
#include "support/error_number.h"

using testing_support::ErrorNumberOf;

namespace {

// A picture with a red left half and a blue right half.
QImage TwoHalves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

// A grey-level GIF written with 9-bit codes only (a clear code before the
// table would need wider ones): enough to give the reader a real GIF file.
QByteArray GreyGif(int width, int height) {
    QByteArray out("GIF89a");
    auto word = [&](int v) {
        out += char(v & 0xFF);
        out += char(v >> 8);
    };
    word(width);
    word(height);
    out += char(0xF7);  // global colour table of 256 entries
    out += char(0);
    out += char(0);
    for (int i = 0; i < 256; ++i) out += QByteArray(3, char(i));
    out += char(0x2C);
    word(0);
    word(0);
    word(width);
    word(height);
    out += char(0);
    out += char(8);  // minimum code size
    QByteArray data;
    uint32_t bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= uint32_t(c) << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8) data += char(bits & 0xFF);
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 250 == 0) code(256);
        code((i % width) * 255 / std::max(1, width - 1));
    }
    code(257);
    if (count > 0) data += char(bits & 0xFF);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out += char(block.size());
        out += block;
    }
    out += char(0);
    out += char(0x3B);
    return out;
}

QByteArray Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// A progressive JPEG: several scans, with tables between them.
QByteArray Progressive(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

class PictureTest : public ::testing::Test {
protected:
    QString put(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    // Every way of reading the picture raises the same error.
    void expectError(const QString& path, int number) const {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(ErrorNumberOf([&] { platform::LoadPicture(path); }), number);
        EXPECT_EQ(ErrorNumberOf([&] { platform::PictureSize(path); }), number);
        EXPECT_EQ(ErrorNumberOf([&] { platform::LoadPictureScaled(path, QSize(10, 10)); }), number);
    }
    QTemporaryDir dir;
};

TEST_F(PictureTest, LoadsEveryFormatAtNaturalSizeWhateverItsName) {
    const QImage halves = TwoHalves(64, 40);
    const QString files[] = {
        put("a.jpg", Encode(halves, "JPEG")),        put("a.png", Encode(halves, "PNG")),
        put("a.bmp", Encode(halves, "BMP")),         put("a.dib", Encode(halves, "BMP")),
        put("png-named.jpg", Encode(halves, "PNG")),
    };
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QImage image = platform::LoadPicture(path);
        EXPECT_EQ(image.size(), QSize(64, 40));
        EXPECT_EQ(platform::PictureSize(path), QSize(64, 40));
        EXPECT_GT(qRed(image.pixel(5, 20)), 200);
        EXPECT_GT(qBlue(image.pixel(58, 20)), 200);
    }
    const QString gif = put("grey.gif", GreyGif(50, 30));
    const QImage grey = platform::LoadPicture(gif);
    EXPECT_EQ(grey.size(), QSize(50, 30));
    EXPECT_EQ(qRed(grey.pixel(0, 10)), 0);
    EXPECT_EQ(qRed(grey.pixel(49, 10)), 255);
}

TEST_F(PictureTest, ScaledLoadGivesExactlyTheAskedSize) {
    const QString jpeg = put("big.jpg", Encode(TwoHalves(800, 600), "JPEG"));
    const QImage scaled = platform::LoadPictureScaled(jpeg, QSize(123, 77));
    EXPECT_EQ(scaled.size(), QSize(123, 77));
    EXPECT_GT(qRed(scaled.pixel(10, 40)), 200);
    EXPECT_GT(qBlue(scaled.pixel(110, 40)), 200);
    // Just above an eighth: decoded at an eighth, then scaled up the rest.
    const QImage near = platform::LoadPictureScaled(jpeg, QSize(104, 78));
    EXPECT_EQ(near.size(), QSize(104, 78));
    EXPECT_GT(qRed(near.pixel(10, 40)), 200);
    EXPECT_GT(qBlue(near.pixel(95, 40)), 200);
    const QString tall = put("tall.jpg", Encode(TwoHalves(601, 803), "JPEG"));
    EXPECT_EQ(platform::LoadPictureScaled(tall, QSize(77, 101)).size(), QSize(77, 101));
    EXPECT_EQ(platform::LoadPictureScaled(put("g.gif", GreyGif(40, 40)), QSize(20, 10)).size(), QSize(20, 10));
}

TEST_F(PictureTest, MissingFileFolderAndUnreadableFilesRaiseClearNumbers) {
    expectError(dir.filePath("nothing.jpg"), vb::kFileNotFound);
    expectError(QString(), vb::kFileNotFound);
    QDir(dir.path()).mkdir("folder.jpg");
    expectError(dir.filePath("folder.jpg"), 75);
    expectError(put("empty.jpg", QByteArray()), vb::kInvalidPicture);
    expectError(put("notes.jpg", "These are my holiday notes, not a picture.\n"), vb::kInvalidPicture);
    // Text the decoders would take for an X bitmap is still not a picture here.
    expectError(
        put("header.png", "#define icon_width 8\n#define icon_height 2\nstatic char icon_bits[] = {0x01,0x02};\n"),
        vb::kInvalidPicture);
}

TEST_F(PictureTest, CutOffFilesAreInvalidWhereverTheyEnd) {
    // `spare`: bytes at the end whose loss leaves the picture whole (a GIF's
    // trailer byte after its one image).
    struct Source {
        const char* name;
        QByteArray bytes;
        int spare;
    };
    const Source sources[] = {
        {"cut.jpg", Encode(TwoHalves(120, 90), "JPEG"), 0},          {"cut.png", Encode(TwoHalves(120, 90), "PNG"), 0},
        {"cut-progressive.jpg", Progressive(TwoHalves(120, 90)), 0}, {"cut.gif", GreyGif(120, 90), 1},
        {"cut.bmp", Encode(TwoHalves(120, 90), "BMP"), 0},
    };
    for (const Source& source : sources) {
        for (double kept : {0.99, 0.9, 0.5, 0.2, 0.05}) {
            const qsizetype size = std::max<qsizetype>(1, qsizetype(double(source.bytes.size()) * kept));
            expectError(put(source.name, source.bytes.left(std::min(size, source.bytes.size() - 1 - source.spare))),
                        vb::kInvalidPicture);
        }
        expectError(put(source.name, source.bytes.left(source.bytes.size() - 1 - source.spare)), vb::kInvalidPicture);
        EXPECT_EQ(platform::PictureSize(put(source.name, source.bytes.left(source.bytes.size() - source.spare))),
                  QSize(120, 90));
        // The whole file reads.
        EXPECT_EQ(platform::PictureSize(put(source.name, source.bytes)), QSize(120, 90));
    }
}

TEST_F(PictureTest, BytesAfterTheEndOfAJpegDoNotMatter) {
    const QString path = put("tail.jpg", Encode(TwoHalves(60, 60), "JPEG") + QByteArray(100, 'x'));
    EXPECT_EQ(platform::LoadPicture(path).size(), QSize(60, 60));
}

TEST_F(PictureTest, TurnedJpegReportsItsShownSizeAndScalesThatWay) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.supportsOption(QImageIOHandler::ImageTransformation)) GTEST_SKIP() << "no EXIF writing";
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(TwoHalves(200, 100)));
    buffer.close();
    const QString path = put("turned.jpg", bytes);
    EXPECT_EQ(platform::PictureSize(path), QSize(100, 200));
    EXPECT_EQ(platform::LoadPicture(path).size(), QSize(100, 200));
    EXPECT_EQ(platform::LoadPictureScaled(path, QSize(50, 100)).size(), QSize(50, 100));
}

TEST_F(PictureTest, SavePictureWritesABitmapAndReplacesTheOldOne) {
    const QString path = dir.filePath("Glidorama0.dib");
    put("Glidorama0.dib", "old");
    platform::SavePicture(TwoHalves(30, 20), path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "BM");
    EXPECT_EQ(platform::LoadPicture(path).size(), QSize(30, 20));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
    EXPECT_EQ(ErrorNumberOf([&] { platform::SavePicture(TwoHalves(4, 4), dir.filePath("none/x.dib")); }),
              vb::kPathNotFound);
}

TEST_F(PictureTest, StagedPictureAppearsOnlyWhenCommitted) {
    const QString path = dir.filePath("Glidorama1.dib");
    { platform::StagedPicture dropped = platform::StagePicture(TwoHalves(8, 8), path); }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    platform::StagedPicture staged = platform::StagePicture(TwoHalves(8, 8), path);
    EXPECT_FALSE(QFile::exists(path));
    staged.commit();
    EXPECT_EQ(platform::PictureSize(path), QSize(8, 8));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
