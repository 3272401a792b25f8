// PNG pictures read row by row through libpng and shrunk as they come, so
// a large picture shown small never exists at full size in memory.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// The non-interlaced PNG at `path` (stored `size`) averaged down to
// `shrunk` (no side larger than the picture's): RGB32 when opaque,
// ARGB32_Premultiplied when it has transparency. Every colour kind and
// depth is read; sixteen-bit samples are rounded to eight. A null image
// with `reason` set when the data cannot be decoded.
QImage DecodePngShrunk(const QString& path, QSize size, QSize shrunk, QString& reason);

}  // namespace platform
