// HEIC, HEIF and AVIF pictures through libheif, which applies the
// rotation, mirroring and cropping the file stores as it decodes.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// The primary image's size as shown (its transformations applied), or an
// empty size when libheif cannot read the file; `reason` then says why.
QSize HeifPictureSize(const QString& path, QString& reason);

// The primary image decoded, or a null image with `reason` set. libheif
// decodes at full size only: to interleaved RGB (three bytes a pixel) when
// the picture is opaque, RGBA otherwise. When `shrunk` is no larger than the
// picture, the rows are averaged straight into an image of that size (RGB32
// or ARGB32_Premultiplied) and the full-size pixels go as soon as that is
// done; otherwise the full-size pixels are the image (RGB888 or
// RGBA8888_Premultiplied).
QImage DecodeHeifPicture(const QString& path, QSize shrunk, QString& reason);

}  // namespace platform
