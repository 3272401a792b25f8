// TIFF pictures (camera exports, scans) read a band of rows at a time
// through libtiff and shrunk as they come, so a large picture shown small
// never exists at full size in memory.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

namespace platform {

// The most rows a band may hold for the TIFF to be read band by band: a
// file stored as one huge strip is decoded whole instead.
constexpr int64_t kMaxTiffBandBytes = 64 * 1024 * 1024;

// The first image of the TIFF at `path` (stored `size`, in its stored
// orientation) averaged down to `shrunk`, no side larger than the stored
// picture's: RGB32 when opaque, ARGB32_Premultiplied when it has alpha.
// Every photometric kind libtiff knows is read. `orientation` is set to the
// file's orientation tag (1 to 8, as EXIF counts), which the caller
// applies. A null image with `reason` set when the data cannot be decoded.
QImage DecodeTiffShrunk(const QString& path, QSize size, QSize shrunk, int& orientation, QString& reason);

}  // namespace platform
