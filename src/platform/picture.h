// Picture files: loading one at its natural size (GIF, JPEG, BMP, DIB, PNG)
// and saving a surface as a BMP file.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// The picture at its natural size. A missing file raises error 53; an empty,
// truncated or unreadable file raises error 481. Never hangs on bad data.
QImage LoadPicture(const QString& path);

// The natural size of the picture without decoding it (same errors).
QSize PictureSize(const QString& path);

// The picture decoded straight at `size` (JPEG decodes at 1/2, 1/4 or 1/8 in
// the DCT domain first, then scales the rest of the way). Same errors.
QImage LoadPictureScaled(const QString& path, QSize size);

// Saves as a BMP file, replacing an existing file atomically. A missing
// folder raises error 76, any other write failure error 75.
void SavePicture(const QImage& image, const QString& path);

}  // namespace platform
