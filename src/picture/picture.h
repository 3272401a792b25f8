// Picture files: loading one (GIF, JPEG, PNG, BMP, DIB, WebP, TIFF, HEIC,
// HEIF, AVIF, recognised by their contents) upright, at its natural size or
// decoded straight at a smaller one, and saving a surface as a BMP file.
//
// Errors: a missing file (or an empty path) raises 53; a folder, a device or
// a file that cannot be read raises 75; a file that is empty, cut off, of
// another format, otherwise not a whole picture, or too large to decode
// within the memory budget raises 481 as a PictureRefused that says why. A
// cut-off file is refused even where the decoder would return the part it
// got. Nothing here crashes or hangs on bad data, and no file is read into
// memory whole. Everything is safe to call from several threads at once.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

#include "picture/picture_check.h"
#include "runtime/vb.h"

namespace platform {

// The most memory one decode may take at its peak, at the size it is
// decoded at: a picture that would need more is refused before any of its
// pixels are allocated.
constexpr qint64 kDecodeBudget = qint64(256) * 1024 * 1024;

// A file refused as a picture, with the reason in plain words ("it is a
// text file", "the file is cut off", "12000 x 9000 is too large to show").
class PictureRefused : public vb::RuntimeError {
public:
    PictureRefused(int number, const QString& path, const QString& reason);
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// The message that tells the user a file cannot be used as a picture:
// "<path> is not a picture Glidorama can show." and the reason, when the
// error carries one (or its number tells one).
QString RefusalMessage(const QString& path, const std::exception& error);

// A picture file whose header has been read and whose whole file has been
// checked; its pixels are decoded on demand, from the file each time.
class EncodedPicture {
public:
    // Reads the header and checks the file (errors above).
    static EncodedPicture Open(const QString& path);

    // The natural size, the way the picture is shown (its stored
    // orientation applied).
    QSize size() const { return size_; }
    // The peak memory, in bytes, of decode(scaled).
    qint64 decodeCost(QSize scaled = QSize()) const;
    // The picture decoded straight at `scaled` (natural size when empty).
    // A JPEG decodes at 1/2, 1/4 or 1/8 in the DCT domain first (the
    // smallest of them at most a tenth short of `scaled`) and a WebP at
    // `scaled` itself. Shrunk (no side growing), a PNG that is not
    // interlaced, a TIFF stored in strips or tiles of reasonable size and a
    // HEIF picture are averaged down row by row as they decode, never whole
    // at full size. The rest (GIF, BMP, and any picture made larger) scale
    // smoothly after decoding. The result keeps any transparency. Raises
    // PictureRefused when decodeCost exceeds kDecodeBudget (before
    // decoding) or the data cannot be decoded.
    QImage decode(QSize scaled = QSize()) const;

private:
    // A TIFF whose strips or tiles are small enough to read a band at a time.
    bool tiffBanded() const;

    QString path_;
    PictureFormat format_ = PictureFormat::Unknown;
    PictureLayout layout_;
    QSize size_;
    bool turned_ = false;      // shown turned by a quarter: stored width and height swap
    bool heifPlanes_ = false;  // a HEIF picture that shrinks from its 4:2:0 planes
};

// The picture at its natural size, opaque (RGB32): transparent parts black.
QImage LoadPicture(const QString& path);

// The natural size of the picture (the file is checked whole all the same).
QSize PictureSize(const QString& path);

// The picture decoded straight at `size`, opaque (RGB32).
QImage LoadPictureScaled(const QString& path, QSize size);

// An image made opaque (RGB32) over `background`: transparent parts show it.
QImage OverBackground(const QImage& image, const QColor& background);

// The largest size of the same proportions as `size` that fits in `box`
// (each side at least one pixel), or `size` itself when it already fits.
QSize FitWithin(QSize size, QSize box);

// Saves as a BMP file, replacing an existing file atomically. A missing
// folder raises error 76, any other write failure error 75.
void SavePicture(const QImage& image, const QString& path);

// SavePicture in two steps, for work that writes files side by side but must
// put them in place in a given order. StagePicture writes the whole BMP file
// (synced to disk) under a temporary name beside `path`, with SavePicture's
// errors; commit() then renames it over `path` (error 75 when that fails).
// A staged file never committed is removed when its last copy goes.
class StagedPicture {
public:
    void commit();

private:
    friend StagedPicture StagePicture(const QImage& image, const QString& path);
    struct File;
    std::shared_ptr<File> file_;
};
StagedPicture StagePicture(const QImage& image, const QString& path);

}  // namespace platform
