#include "platform/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include "platform/atomic_file.h"
#include "platform/vb.h"

namespace platform {

namespace {

constexpr int kPathFileAccessError = 75;

void requireFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile()) vb::Raise(vb::kFileNotFound, QStringLiteral("File not found: ") + path);
}

[[noreturn]] void invalidPicture(const QString& path) {
    vb::Raise(vb::kInvalidPicture, QStringLiteral("Invalid picture: ") + path);
}

void prepare(QImageReader& reader) {
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
}

}  // namespace

QSize PictureSize(const QString& path) {
    requireFile(path);
    QImageReader reader(path);
    prepare(reader);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) invalidPicture(path);
    return size;
}

QImage LoadPicture(const QString& path) {
    requireFile(path);
    QImageReader reader(path);
    prepare(reader);
    QImage image = reader.read();
    if (image.isNull()) invalidPicture(path);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage LoadPictureScaled(const QString& path, QSize size) {
    requireFile(path);
    QImageReader reader(path);
    prepare(reader);
    if (size.isValid() && !size.isEmpty()) reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull()) invalidPicture(path);
    return image.convertToFormat(QImage::Format_RGB32);
}

void SavePicture(const QImage& image, const QString& path) {
    if (!QFileInfo(path).dir().exists()) vb::Raise(vb::kPathNotFound, QStringLiteral("Path not found: ") + path);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "BMP")) vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
    if (!WriteFileAtomically(path, bytes)) vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
}

}  // namespace platform
