#include "picture/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/atomic_file.h"
#include "picture/picture_heif.h"
#include "picture/picture_png.h"
#include "picture/picture_tiff.h"
#include "picture/picture_shrink.h"

namespace platform {

namespace {

using vb::kOutOfMemory;
using vb::kPathFileAccessError;

[[noreturn]] void refuse(const QString& path, const QString& reason) {
    throw PictureRefused(vb::kInvalidPicture, path, reason);
}

[[noreturn]] void accessError(const QString& path) {
    throw PictureRefused(kPathFileAccessError, path, QStringLiteral("the file cannot be read"));
}

QString tooLarge(QSize size) {
    return QStringLiteral("%1 x %2 is too large to show").arg(size.width()).arg(size.height());
}

// Qt's own decode limit, in megabytes, set once above our budget: ours
// decides, with the whole cost of a decode counted.
void raiseQtLimit() {
    static const bool raised = [] {
        QImageReader::setAllocationLimit(int(kDecodeBudget / (1024 * 1024)) + 64);
        return true;
    }();
    (void)raised;
}

// A reader over the open file, bound to the format its bytes have: a text
// or other file never reaches a decoder that might take it.
struct FileReader {
    FileReader(const QString& path, PictureFormat format) : file(path) {
        raiseQtLimit();
        if (!file.open(QIODevice::ReadOnly)) accessError(path);
        reader.setDevice(&file);
        reader.setFormat(DecoderName(format));
        reader.setDecideFormatFromContent(false);
        reader.setAutoTransform(true);
    }
    QFile file;
    QImageReader reader;
};

// The JPEG decoder's DCT scaling: 1/8, 1/4 or 1/2 of the stored size, the
// smallest that is at most a tenth short of `target` on each side, or 1.
// Landing a little short and scaling up by a few percent costs nothing to
// see, while the next finer step costs a third more decoding (a 24
// megapixel picture cached at 780 x 520 decodes at 750 x 500, not 1500 x 1000).
int DctScale(QSize stored, QSize target) {
    for (const int scale : {8, 4, 2}) {
        const int width = (stored.width() + scale - 1) / scale, height = (stored.height() + scale - 1) / scale;
        if (int64_t(width) * 10 >= int64_t(target.width()) * 9 && int64_t(height) * 10 >= int64_t(target.height()) * 9)
            return scale;
    }
    return 1;
}

// Turns and mirrors a decoded picture upright by its EXIF orientation, the
// way Qt's decoders do for the formats whose orientation they read.
QImage Upright(QImage image, int orientation) {
    switch (orientation) {
        case 2: return image.mirrored(true, false);
        case 3: return image.mirrored(true, true);
        case 4: return image.mirrored(false, true);
        case 5: return image.mirrored(false, true).transformed(QTransform().rotate(90));
        case 6: return image.transformed(QTransform().rotate(90));
        case 7: return image.mirrored(true, false).transformed(QTransform().rotate(90));
        case 8: return image.transformed(QTransform().rotate(270));
        default: return image;
    }
}

int64_t area(QSize size) { return int64_t(std::max(0, size.width())) * std::max(0, size.height()); }

}  // namespace

PictureRefused::PictureRefused(int number, const QString& path, const QString& reason)
    : vb::RuntimeError(number, (number == vb::kInvalidPicture ? QStringLiteral("Invalid picture: ")
                                                              : QStringLiteral("Path/File access error: ")) +
                                   path + (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + u')')),
      reason_(reason) {}

QString RefusalMessage(const QString& path, const std::exception& error) {
    QString reason;
    if (const auto* refused = dynamic_cast<const PictureRefused*>(&error)) {
        reason = refused->reason();
    } else if (const auto* runtime = dynamic_cast<const vb::RuntimeError*>(&error)) {
        if (runtime->number() == vb::kFileNotFound)
            reason = QStringLiteral("the file does not exist");
        else if (runtime->number() == kOutOfMemory)
            reason = QStringLiteral("there is not enough memory to show it");
    } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
        reason = QStringLiteral("there is not enough memory to show it");
    }
    QString message = path + QStringLiteral(" is not a picture Glidorama can show.");
    if (!reason.isEmpty()) message += QStringLiteral(" (") + reason + u')';
    return message;
}

EncodedPicture EncodedPicture::Open(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) vb::Raise(vb::kFileNotFound, QStringLiteral("File not found: ") + path);
    // Only a regular file is read: a folder, a pipe or a device would fail or never end.
    if (info.isDir()) throw PictureRefused(kPathFileAccessError, path, QStringLiteral("it is a folder"));
    if (!info.isFile()) accessError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) accessError(path);

    EncodedPicture picture;
    picture.path_ = path;
    const QByteArray head = file.read(kSniffBytes);
    if (file.error() != QFileDevice::NoError) accessError(path);
    picture.format_ = SniffPictureFormat(head);
    if (picture.format_ == PictureFormat::Unknown) refuse(path, NotAPictureReason(head));
    picture.layout_ = CheckPicture(file, picture.format_);
    if (file.error() != QFileDevice::NoError) accessError(path);
    if (!picture.layout_.complete) refuse(path, QStringLiteral("the file is cut off"));

    if (picture.format_ == PictureFormat::Heif) {
        QString reason;
        picture.size_ = HeifPictureSize(path, reason, &picture.heifPlanes_);
        if (picture.size_.isEmpty()) refuse(path, reason);
        return picture;
    }
    FileReader reading(path, picture.format_);
    QSize stored = reading.reader.size();
    if (stored.isEmpty() && picture.layout_.declaredWidth > 0 && picture.layout_.declaredHeight > 0) {
        // Too large for the decoder to say: too large to show, as decode() will tell.
        const int64_t cap = std::numeric_limits<int>::max();
        stored = QSize(int(std::min(picture.layout_.declaredWidth, cap)),
                       int(std::min(picture.layout_.declaredHeight, cap)));
        if (int64_t(stored.width()) * stored.height() * 4 <= kDecodeBudget)
            refuse(path, QStringLiteral("its picture data is damaged"));
    }
    if (!stored.isValid() || stored.isEmpty()) refuse(path, QStringLiteral("its picture data is damaged"));
    picture.turned_ = reading.reader.transformation().testFlag(QImageIOHandler::TransformationRotate90) ||
                      picture.layout_.exifOrientation >= 5;
    picture.size_ = picture.turned_ ? stored.transposed() : stored;
    return picture;
}

bool EncodedPicture::tiffBanded() const {
    const int64_t width = turned_ ? size_.height() : size_.width();
    return format_ == PictureFormat::Tiff && layout_.bandRows > 0 && layout_.bandRows * width * 4 <= kMaxTiffBandBytes;
}

qint64 EncodedPicture::decodeCost(QSize scaled) const {
    const QSize target = scaled.isValid() && !scaled.isEmpty() ? scaled : size_;
    const bool scaling = target != size_;
    const QSize stored = turned_ ? size_.transposed() : size_;
    // Decoders work in the file's stored orientation.
    const bool shrinking = scaling && RowShrinker::Shrinks(stored, turned_ ? target.transposed() : target);
    // Bytes a pixel takes while the decoder works at its own output size.
    int64_t decoded = area(stored) * 4;
    switch (format_) {
        case PictureFormat::Jpeg: {
            const int scale = scaling ? DctScale(stored, turned_ ? target.transposed() : target) : 1;
            decoded = area(QSize((stored.width() + scale - 1) / scale, (stored.height() + scale - 1) / scale)) * 4;
            decoded += layout_.coefficientBytes;
            break;
        }
        case PictureFormat::Webp: decoded = area(target) * 4; break;
        // Read a row at a time into the shrunk picture: two rows of up to
        // eight bytes a pixel besides the shrinker, libpng's and zlib's own
        // state, and the turned copy when it is stored on its side.
        case PictureFormat::Png:
            if (shrinking && !layout_.interlaced)
                decoded = RowShrinker::Cost(target) + int64_t(stored.width()) * 8 * 2 + (2 << 20) +
                          (layout_.exifOrientation != 1 ? area(target) * 4 : 0);
            break;
        // A band of rows at a time, as 32-bit pixels and as libtiff's decoded
        // strip or tile row (up to eight bytes a pixel), into the shrunk
        // picture, and its turned copy.
        case PictureFormat::Tiff:
            if (shrinking && tiffBanded())
                decoded = RowShrinker::Cost(target) + layout_.bandRows * stored.width() * (4 + 8) + (2 << 20) +
                          area(target) * 4;
            break;
        // The decoder keeps a backing frame beside the image.
        case PictureFormat::Gif: decoded = area(stored) * 8; break;
        // libheif's decoder holds up to five bytes a pixel while it decodes
        // to 4:2:0 planes (measured for 48 megapixels: 212 MB for a smooth
        // picture, 238 MB for a detailed one), which are then shrunk row by
        // row; its conversion to interleaved RGB(A), for the natural size and
        // for deeper or RGB-coded pictures, takes it to six or seven (283 MB
        // for a smooth one in RGB).
        case PictureFormat::Heif:
            decoded = shrinking && heifPlanes_ ? area(stored) * 5 + RowShrinker::Cost(target) : area(stored) * 7;
            break;
        default: break;
    }
    // The result at its own size (made opaque or scaled) beside the decoded one.
    return decoded + area(target) * 4;
}

QImage EncodedPicture::decode(QSize scaled) const {
    const bool scaling = scaled.isValid() && !scaled.isEmpty() && scaled != size_;
    if (decodeCost(scaled) > kDecodeBudget) refuse(path_, tooLarge(size_));
    QImage image;
    if (format_ == PictureFormat::Heif) {
        QString reason;
        image = DecodeHeifPicture(path_, scaling ? scaled : QSize(), reason);
        if (image.isNull()) refuse(path_, reason);
    } else if (format_ == PictureFormat::Png && !layout_.interlaced && scaling &&
               RowShrinker::Shrinks(turned_ ? size_.transposed() : size_, turned_ ? scaled.transposed() : scaled)) {
        QString reason;
        image = DecodePngShrunk(path_, turned_ ? size_.transposed() : size_, turned_ ? scaled.transposed() : scaled,
                                reason);
        if (image.isNull()) refuse(path_, reason);
        image = Upright(std::move(image), layout_.exifOrientation);
    } else if (format_ == PictureFormat::Tiff && tiffBanded() && scaling &&
               RowShrinker::Shrinks(turned_ ? size_.transposed() : size_, turned_ ? scaled.transposed() : scaled)) {
        QString reason;
        int orientation = 1;
        image = DecodeTiffShrunk(path_, turned_ ? size_.transposed() : size_, turned_ ? scaled.transposed() : scaled,
                                 orientation, reason);
        if (image.isNull()) refuse(path_, reason);
        image = Upright(std::move(image), orientation);
    } else {
        FileReader reading(path_, format_);
        // The decoder scales in the file's stored orientation and turns afterwards.
        const QSize target = turned_ ? scaled.transposed() : scaled;
        const QSize stored = turned_ ? size_.transposed() : size_;
        if (scaling && format_ == PictureFormat::Jpeg) {
            const int scale = DctScale(stored, target);
            // Whole divisions make the decoder take exactly that DCT scale.
            if (scale > 1) reading.reader.setScaledSize(QSize(stored.width() / scale, stored.height() / scale));
        } else if (scaling && format_ == PictureFormat::Webp) {
            reading.reader.setScaledSize(target);
        }
        image = reading.reader.read();
        if (image.isNull()) refuse(path_, QStringLiteral("its picture data is damaged"));
        image = Upright(std::move(image), layout_.exifOrientation);
    }
    if (scaling && image.size() != scaled)
        image = image.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage OverBackground(const QImage& image, const QColor& background) {
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(background);
    QPainter(&opaque).drawImage(0, 0, image);
    return opaque;
}

QSize FitWithin(QSize size, QSize box) {
    if (size.width() <= box.width() && size.height() <= box.height()) return size;
    const double factor = std::min(double(box.width()) / size.width(), double(box.height()) / size.height());
    return QSize(std::max(1, int(std::lround(size.width() * factor))),
                 std::max(1, int(std::lround(size.height() * factor))));
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
    // The whole file at once: a large copy's bytes are never moved to grow.
    QByteArray bytes;
    bytes.reserve(64 + qsizetype(image.height()) * ((image.width() * 3 + 3) & ~3));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "BMP"))
        vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
    StagedPicture staged;
    staged.file_ = std::make_shared<StagedPicture::File>();
    staged.file_->path = path;
    // The atomic writer's last step, the rename, is held back for commit().
    AtomicWriteOptions options;
    options.rename = [&staged](const QString& from, const QString&) {
        staged.file_->temp = from;
        return true;
    };
    if (!WriteFileAtomically(path, bytes, options))
        vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + path);
    return staged;
}

void StagedPicture::commit() {
    if (!file_ || file_->committed) return;
    if (!PosixRename(file_->temp, file_->path))
        vb::Raise(kPathFileAccessError, QStringLiteral("Cannot write ") + file_->path);
    file_->committed = true;
}

void SavePicture(const QImage& image, const QString& path) { StagePicture(image, path).commit(); }

}  // namespace platform
