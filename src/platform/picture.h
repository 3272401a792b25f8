// Picture files: loading one at its natural size (GIF, JPEG, BMP, DIB, PNG)
// and saving a surface as a BMP file.
//
// Errors: a missing file (or an empty path) raises 53; a folder, a device or
// a file that cannot be read raises 75; a file that is empty, cut off, of
// another format or otherwise not a whole picture raises 481. A cut-off file
// is refused even where the decoder would return the part it got. Nothing
// here crashes or hangs on bad data. Everything is safe to call from
// several threads at once.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

#include "platform/picture_check.h"

namespace platform {

// A picture file read into memory and checked to be whole, decoded on demand.
// The picture is read once, however often it is decoded.
class EncodedPicture {
public:
    // Reads and checks the file (errors above).
    static EncodedPicture Open(const QString& path);

    // The natural size, the way the picture is shown (a JPEG's EXIF
    // orientation applied).
    QSize size() const { return size_; }
    // The picture decoded straight at `scaled` (natural size when empty).
    // A JPEG decodes at 1/2, 1/4 or 1/8 in the DCT domain first (the
    // smallest of them at most a tenth short of `scaled`), then scales the
    // rest of the way smoothly. The result keeps any transparency.
    // Raises 481 when the data cannot be decoded.
    QImage decode(QSize scaled = QSize()) const;

private:
    QString path_;
    QByteArray bytes_;
    PictureFormat format_ = PictureFormat::Unknown;
    QSize size_;
    bool turned_ = false;  // shown turned by a quarter: stored width and height swap
};

// The picture at its natural size, opaque (RGB32).
QImage LoadPicture(const QString& path);

// The natural size of the picture (the file is checked whole all the same).
QSize PictureSize(const QString& path);

// The picture decoded straight at `size`, opaque (RGB32).
QImage LoadPictureScaled(const QString& path, QSize size);

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
