#include "support/test_pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <QCoreApplication>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <libheif/heif.h>
#include <png.h>
#include <zlib.h>

namespace testing_support {

namespace {

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

void Be32(QByteArray& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xFF);
}

void Le(QByteArray& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

void Chunk(QByteArray& out, const char* type, const QByteArray& data) {
    Be32(out, uint32_t(data.size()));
    const QByteArray body = QByteArray(type) + data;
    out += body;
    Be32(out, Crc32(body));
}

}  // namespace

QImage RedBlueHalves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter(&image).fillRect(0, 0, width / 2, height, QColor(255, 0, 0));
    return image;
}

bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool WritePicture(const QImage& image, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "heic" || suffix == "avif" || suffix == "gif") {
        QTemporaryDir dir;
        const QString png = dir.filePath("source.png");
        if (!image.save(png, "PNG")) return false;
        if (suffix == "gif") return RunTool("convert", {png, path});
        // This machine's AV1 encoder takes 4:2:2 only; HEVC its default.
        QStringList args = {"-q", "90", png, "-o", path};
        if (suffix == "avif") args = QStringList{"-A", "-p", "chroma=422"} + args;
        return RunTool("heif-enc", args);
    }
    const QByteArray format = suffix == "jpg" ? "jpeg" : suffix == "tif" ? "tiff" : suffix.toLatin1();
    QImageWriter writer(path, format);
    writer.setQuality(95);
    return writer.write(image);
}

bool SetOrientation(const QString& path, int value) {
    return RunTool("exiftool",
                   {"-q", "-q", "-n", QStringLiteral("-Orientation=%1").arg(value), "-overwrite_original", path});
}

QByteArray CraftedProgressiveJpeg(int width, int height) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(RedBlueHalves(16, 16));
    // The progressive frame header: FF C2, length, precision, height, width.
    const qsizetype sof = bytes.indexOf("\xFF\xC2");
    if (sof < 0) return {};
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

QByteArray CraftedPng(int width, int height) {
    QByteArray out("\x89PNG\r\n\x1A\n", 8);
    QByteArray header;
    Be32(header, uint32_t(width));
    Be32(header, uint32_t(height));
    header += QByteArray("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));
    Chunk(out, "IEND", {});
    return out;
}

bool WriteSparseBmp(const QString& path, int width, int height) {
    const uint32_t row = (uint32_t(width) * 24 + 31) / 32 * 4;
    const qint64 pixels = qint64(row) * height;
    QByteArray header("BM");
    Le(header, uint32_t(std::min<qint64>(54 + pixels, 0xFFFFFFFF)), 4);
    Le(header, 0, 4);
    Le(header, 54, 4);
    Le(header, 40, 4);
    Le(header, uint32_t(width), 4);
    Le(header, uint32_t(height), 4);
    Le(header, 1, 2);
    Le(header, 24, 2);
    Le(header, 0, 4);
    Le(header, 0, 4);
    Le(header, 2835, 4);
    Le(header, 2835, 4);
    Le(header, 0, 4);
    Le(header, 0, 4);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header) == header.size() && file.resize(54 + pixels);
}

bool WriteLargePng(const QString& path, int width, int height, bool alpha) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "wb"), std::fclose);
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const int channels = alpha ? 4 : 3;
    std::vector<png_byte> row(size_t(width) * channels);
    for (int x = 0; x < width; ++x) {
        png_byte* p = &row[size_t(x) * channels];
        p[0] = x < width / 2 ? 255 : 0;
        p[1] = 0;
        p[2] = x < width / 2 ? 0 : 255;
        if (alpha) p[3] = 128;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WriteHeicWithOrientation(const QImage& image, const QString& path, int orientation) {
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), heif_context_free);
    heif_encoder* encoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &encoder).code != heif_error_Ok)
        return false;
    std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)> ownedEncoder(encoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* raw = nullptr;
    if (heif_image_create(image.width(), image.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &raw).code !=
        heif_error_Ok)
        return false;
    std::unique_ptr<heif_image, decltype(&heif_image_release)> picture(raw, heif_image_release);
    heif_image_add_plane(raw, heif_channel_interleaved, image.width(), image.height(), 8);
    int stride = 0;
    uint8_t* pixels = heif_image_get_plane(raw, heif_channel_interleaved, &stride);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(pixels + qsizetype(y) * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> options(heif_encoding_options_alloc(),
                                                                                          heif_encoding_options_free);
    options->image_orientation = heif_orientation(orientation);
    if (heif_context_encode_image(context.get(), raw, encoder, options.get(), nullptr).code != heif_error_Ok)
        return false;
    return heif_context_write_to_file(context.get(), QFile::encodeName(path).constData()).code == heif_error_Ok;
}

long PeakKilobytesOf(const QString& test, const QStringList& environment) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : environment) env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
    if (!process.waitForFinished(60000)) return -1;
    const QByteArray out = process.readAllStandardOutput();
    const qsizetype at = out.indexOf("peak_kb=");
    return at < 0 ? -1 : out.mid(at + 8).split('\n').first().trimmed().toLong();
}

void ReportPeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_kb=%ld\n", usage.ru_maxrss);
    std::fflush(stdout);
}

}  // namespace testing_support

namespace testing_support {

namespace {

// A "Vm...:  1234 kB" line of /proc/self/status, in kilobytes.
long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

}  // namespace

long ResetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    return StatusKilobytes("VmRSS:");
}

void ReportPeakGrowth(long baseKilobytes) {
    std::printf("peak_kb=%ld\n", StatusKilobytes("VmHWM:") - baseKilobytes);
    std::fflush(stdout);
}

}  // namespace testing_support
