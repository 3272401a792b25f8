// HEIC, HEIF and AVIF pictures through libheif, which applies the
// rotation, mirroring and cropping the file stores as it decodes.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// The primary image's size as shown (its transformations applied), or an
// empty size when libheif cannot read the file; `reason` then says why.
// `shrinksFromPlanes`, when given, tells whether a shrunk decode can take
// the decoder's 8-bit 4:2:0 planes (the cheaper way below).
QSize HeifPictureSize(const QString& path, QString& reason, bool* shrinksFromPlanes = nullptr);

// The primary image decoded, or a null image with `reason` set. libheif
// decodes at full size only. When `shrunk` is no larger than the picture,
// its 8-bit 4:2:0 planes are averaged row by row straight into an image of
// that size (RGB32 or ARGB32_Premultiplied), up to five bytes a full-size
// pixel at the peak; other kinds, and the natural size, go
// through libheif's interleaved RGB (opaque) or RGBA conversion (RGB888 or
// RGBA8888_Premultiplied at full size, shrunk the same way when asked).
QImage DecodeHeifPicture(const QString& path, QSize shrunk, QString& reason);

}  // namespace platform
