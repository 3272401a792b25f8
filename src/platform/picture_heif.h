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

// The primary image decoded at its full size, as RGBX8888 (opaque) or
// RGBA8888_Premultiplied, or a null image with `reason` set.
QImage DecodeHeifPicture(const QString& path, QString& reason);

}  // namespace platform
