#include "picture/picture_tiff.h"

#include <QFile>

#include <tiffio.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "picture/picture_shrink.h"

namespace platform {

namespace {

// libtiff prints its complaints unless told otherwise; a refusal says why instead.
void silenceLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct RgbaImage {
    TIFFRGBAImage image{};
    bool begun = false;
    ~RgbaImage() {
        if (begun) TIFFRGBAImageEnd(&image);
    }
};

}  // namespace

QImage DecodeTiffShrunk(const QString& path, QSize size, QSize shrunk, int& orientation, QString& reason) {
    silenceLibtiff();
    reason = QStringLiteral("its picture data is damaged");
    std::unique_ptr<TIFF, decltype(&TIFFClose)> tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"), TIFFClose);
    if (!tiff) return QImage();
    uint16_t stored = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &stored);
    orientation = stored >= 1 && stored <= 8 ? stored : 1;

    RgbaImage rgba;
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message) || !TIFFRGBAImageBegin(&rgba.image, tiff.get(), 0, message)) {
        reason = QStringLiteral("its kind of TIFF picture cannot be decoded here");
        return QImage();
    }
    rgba.begun = true;
    if (int(rgba.image.width) != size.width() || int(rgba.image.height) != size.height()) return QImage();
    // Asking for the orientation the file has leaves the rows as stored,
    // top to bottom; the caller turns the small result instead.
    rgba.image.req_orientation = uint16_t(orientation);

    uint32_t band = 0;
    if (TIFFIsTiled(tiff.get()))
        TIFFGetField(tiff.get(), TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ROWSPERSTRIP, &band);
    band = std::clamp<uint32_t>(band, 1, uint32_t(size.height()));
    if (int64_t(band) * size.width() * 4 > kMaxTiffBandBytes) return QImage();

    RowShrinker shrinker(size, shrunk,
                         rgba.image.alpha ? RowShrinker::Layout::RgbaPremultiplied : RowShrinker::Layout::Rgbx);
    std::vector<uint32_t> raster(size_t(band) * size_t(size.width()));
    for (int top = 0; top < size.height(); top += int(band)) {
        const int rows = std::min(int(band), size.height() - top);
        rgba.image.row_offset = top;
        rgba.image.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba.image, raster.data(), uint32_t(size.width()), uint32_t(rows))) return QImage();
        // Each pixel is R, G, B, A in memory order, colours multiplied by alpha.
        for (int y = 0; y < rows; ++y)
            shrinker.addRow(reinterpret_cast<const uchar*>(raster.data() + size_t(y) * size_t(size.width())));
    }
    reason.clear();
    return shrinker.result();
}

}  // namespace platform
