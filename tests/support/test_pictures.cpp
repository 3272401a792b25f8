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
    return RunTool("exiftool", {"-q", "-q", "-n", QStringLiteral("-Orientation=%1").arg(value), "-overwrite_original", path});
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
