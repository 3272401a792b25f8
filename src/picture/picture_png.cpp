#include "picture/picture_png.h"

#include <QFile>

#include <png.h>

#include <csetjmp>
#include <memory>
#include <optional>
#include <vector>

#include "picture/picture_shrink.h"

namespace platform {

namespace {

void readFromFile(png_structp png, png_bytep data, size_t length) {
    auto* file = static_cast<QFile*>(png_get_io_ptr(png));
    if (file->read(reinterpret_cast<char*>(data), qint64(length)) != qint64(length))
        png_error(png, "the file ended early");
}

// Everything a decode holds, owned outside the frame that libpng's error
// jump returns to, so that nothing with a destructor is skipped by it.
struct PngDecode {
    QFile file;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::optional<RowShrinker> shrinker;
    std::vector<png_byte> row;
    ~PngDecode() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// Reads the header and every row into the shrinker; false when libpng
// found the data bad (its error jumps back here).
bool readRows(PngDecode& d, QSize size, QSize shrunk) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, &d.file, readFromFile);
    png_read_info(d.png, d.info);
    if (int(png_get_image_width(d.png, d.info)) != size.width() ||
        int(png_get_image_height(d.png, d.info)) != size.height() ||
        png_get_interlace_type(d.png, d.info) != PNG_INTERLACE_NONE)
        return false;
    // Every kind to 8-bit RGB, with alpha where the file has any.
    png_set_expand(d.png);
    png_set_scale_16(d.png);
    png_set_gray_to_rgb(d.png);
    png_read_update_info(d.png, d.info);
    const int channels = png_get_channels(d.png, d.info);
    if (channels != 3 && channels != 4) return false;
    d.row.resize(png_get_rowbytes(d.png, d.info));
    d.shrinker.emplace(size, shrunk, channels == 4 ? RowShrinker::Layout::Rgba : RowShrinker::Layout::Rgb);
    for (int y = 0; y < size.height(); ++y) {
        png_read_row(d.png, d.row.data(), nullptr);
        d.shrinker->addRow(d.row.data());
    }
    return true;
}

}  // namespace

QImage DecodePngShrunk(const QString& path, QSize size, QSize shrunk, QString& reason) {
    reason = QStringLiteral("its picture data is damaged");
    PngDecode d;
    d.file.setFileName(path);
    if (!d.file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("the file cannot be read");
        return QImage();
    }
    // Errors jump back to readRows; warnings (a damaged ancillary chunk) are dropped.
    d.png = png_create_read_struct(
        PNG_LIBPNG_VER_STRING, nullptr, [](png_structp png, png_const_charp) { png_longjmp(png, 1); },
        [](png_structp, png_const_charp) {});
    if (d.png) d.info = png_create_info_struct(d.png);
    if (!d.png || !d.info) {
        reason = QStringLiteral("there is not enough memory to read it");
        return QImage();
    }
    if (!readRows(d, size, shrunk) || !d.shrinker || d.shrinker->rows() != size.height()) return QImage();
    reason.clear();
    return d.shrinker->result();
}

}  // namespace platform
