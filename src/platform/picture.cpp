#include "platform/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "platform/atomic_file.h"
#include "platform/vb.h"

namespace platform {

namespace {

constexpr int kPathFileAccessError = 75;
constexpr qint64 kSniffBytes = 16;

[[noreturn]] void invalidPicture(const QString& path) {
    vb::Raise(vb::kInvalidPicture, QStringLiteral("Invalid picture: ") + path);
}

[[noreturn]] void accessError(const QString& path) {
    vb::Raise(kPathFileAccessError, QStringLiteral("Path/File access error: ") + path);
}

// A reader over the bytes in memory, bound to the format the bytes have:
// a text or other file never reaches a decoder that might take it.
struct MemoryReader {
    MemoryReader(const QByteArray& bytes, PictureFormat format) : buffer(const_cast<QByteArray*>(&bytes)) {
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setFormat(DecoderName(format));
        reader.setDecideFormatFromContent(false);
        reader.setAutoTransform(true);
    }
    QBuffer buffer;
    QImageReader reader;
};

}  // namespace

EncodedPicture EncodedPicture::Open(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) vb::Raise(vb::kFileNotFound, QStringLiteral("File not found: ") + path);
    // Only a regular file is read: a folder, a pipe or a device would fail or never end.
    if (!info.isFile()) accessError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) accessError(path);

    EncodedPicture picture;
    picture.path_ = path;
    picture.bytes_ = file.read(kSniffBytes);
    picture.format_ = SniffPictureFormat(picture.bytes_);
    if (picture.format_ == PictureFormat::Unknown) invalidPicture(path);
    picture.bytes_ += file.readAll();
    if (file.error() != QFileDevice::NoError) accessError(path);
    if (!IsCompletePicture(picture.bytes_, picture.format_)) invalidPicture(path);

    MemoryReader memory(picture.bytes_, picture.format_);
    const QSize stored = memory.reader.size();
    if (!stored.isValid() || stored.isEmpty()) invalidPicture(path);
    picture.turned_ = memory.reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    picture.size_ = picture.turned_ ? stored.transposed() : stored;
    return picture;
}

namespace {

// The JPEG decoder's DCT scaling: 1/8, 1/4 or 1/2 of the stored size, the
// smallest that is at most a tenth short of `target` on each side, or 1.
// Landing a little short and scaling up by a few percent costs nothing to
// see, while the next finer step costs a third more decoding (a 24
// megapixel picture cached at 780 x 520 decodes at 750 x 500, not 1500 x 1000).
int DctScale(QSize stored, QSize target) {
    for (const int scale : {8, 4, 2}) {
        const int width = (stored.width() + scale - 1) / scale, height = (stored.height() + scale - 1) / scale;
        if (width * 10 >= target.width() * 9 && height * 10 >= target.height() * 9) return scale;
    }
    return 1;
}

}  // namespace

QImage EncodedPicture::decode(QSize scaled) const {
    MemoryReader memory(bytes_, format_);
    const bool scaling = scaled.isValid() && !scaled.isEmpty() && scaled != size_;
    // The decoder scales in the file's stored orientation and turns afterwards.
    const QSize target = turned_ ? scaled.transposed() : scaled;
    const QSize stored = turned_ ? size_.transposed() : size_;
    if (scaling) {
        const int scale = format_ == PictureFormat::Jpeg ? DctScale(stored, target) : 1;
        // Whole divisions make the decoder take exactly that DCT scale.
        memory.reader.setScaledSize(scale > 1 ? QSize(stored.width() / scale, stored.height() / scale) : target);
    }
    QImage image = memory.reader.read();
    if (image.isNull()) invalidPicture(path_);
    if (scaling && image.size() != scaled) image = image.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage LoadPicture(const QString& path) {
    return EncodedPicture::Open(path).decode().convertToFormat(QImage::Format_RGB32);
}

QSize PictureSize(const QString& path) { return EncodedPicture::Open(path).size(); }

QImage LoadPictureScaled(const QString& path, QSize size) {
    return EncodedPicture::Open(path).decode(size).convertToFormat(QImage::Format_RGB32);
}

struct StagedPicture::File {
    ~File() {
        if (!committed) QFile::remove(temp);
    }
    QString temp;
    QString path;
    bool committed = false;
};

StagedPicture StagePicture(const QImage& image, const QString& path) {
    if (!QFileInfo(path).dir().exists()) vb::Raise(vb::kPathNotFound, QStringLiteral("Path not found: ") + path);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "BMP")) vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
    StagedPicture staged;
    staged.file_ = std::make_shared<StagedPicture::File>();
    staged.file_->path = path;
    // The atomic writer's last step, the rename, is held back for commit().
    AtomicWriteOptions options;
    options.rename = [&staged](const QString& from, const QString&) {
        staged.file_->temp = from;
        return true;
    };
    if (!WriteFileAtomically(path, bytes, options)) vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
    return staged;
}

void StagedPicture::commit() {
    if (!file_ || file_->committed) return;
    if (!PosixRename(file_->temp, file_->path)) vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + file_->path);
    file_->committed = true;
}

void SavePicture(const QImage& image, const QString& path) { StagePicture(image, path).commit(); }

}  // namespace platform
