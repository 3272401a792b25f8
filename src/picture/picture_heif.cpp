#include "picture/picture_heif.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "picture/heif_library.h"
#include "picture/picture_shrink.h"

namespace platform {

namespace {

// libheif's largest accepted side; our own memory budget refuses far smaller.
constexpr int kMaxSide = 65535;

// An open file and the library that reads it.
struct HeifFile {
    explicit HeifFile(const HeifLibrary& library)
        : api(library), context(api.heif_context_alloc(), api.heif_context_free) {}
    ~HeifFile() {
        if (handle) api.heif_image_handle_release(handle);
    }
    const HeifLibrary& api;
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context;
    heif_image_handle* handle = nullptr;
};

QString describe(const heif_error& error) {
    if (error.code == heif_error_Unsupported_feature || error.code == heif_error_Unsupported_filetype)
        return QStringLiteral("its kind of HEIF picture cannot be decoded here");
    return QStringLiteral("its picture data is damaged");
}

bool open(HeifFile& file, const QString& path, QString& reason) {
    const HeifLibrary& api = file.api;
    if (!file.context) {
        reason = QStringLiteral("there is not enough memory to read it");
        return false;
    }
    api.heif_context_set_maximum_image_size_limit(file.context.get(), kMaxSide);
    heif_error error = api.heif_context_read_from_file(file.context.get(), path.toLocal8Bit().constData(), nullptr);
    if (error.code == heif_error_Ok)
        error = api.heif_context_get_primary_image_handle(file.context.get(), &file.handle);
    if (error.code != heif_error_Ok) {
        reason = describe(error);
        return false;
    }
    return true;
}

using HeifImage = std::unique_ptr<heif_image, decltype(&heif_image_release)>;
using DecodingOptions = std::unique_ptr<heif_decoding_options, decltype(&heif_decoding_options_free)>;

DecodingOptions decodingOptions(const HeifLibrary& api) {
    DecodingOptions options(api.heif_decoding_options_alloc(), api.heif_decoding_options_free);
    if (options) options->convert_hdr_to_8bit = 1;
    return options;
}

// How luma and colour difference turn back into red, green and blue: the
// weights of red and blue in luma by the picture's matrix, and its range.
struct YcbcrMatrix {
    double kr = 0.299, kb = 0.114;
    bool fullRange = true;
    bool identity = false;  // the planes hold green, blue and red as they are
};

YcbcrMatrix matrixOf(const HeifLibrary& api, const heif_image_handle* handle, const heif_image* image) {
    YcbcrMatrix matrix;
    heif_color_profile_nclx* nclx = nullptr;
    if (api.heif_image_get_nclx_color_profile(image, &nclx).code != heif_error_Ok &&
        api.heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok)
        return matrix;  // libheif's own default: BT.601, full range
    matrix.fullRange = nclx->full_range_flag != 0;
    switch (nclx->matrix_coefficients) {
        case heif_matrix_coefficients_RGB_GBR: matrix.identity = true; break;
        case heif_matrix_coefficients_ITU_R_BT_709_5: matrix.kr = 0.2126, matrix.kb = 0.0722; break;
        case heif_matrix_coefficients_US_FCC_T47: matrix.kr = 0.30, matrix.kb = 0.11; break;
        case heif_matrix_coefficients_SMPTE_240M: matrix.kr = 0.212, matrix.kb = 0.087; break;
        case heif_matrix_coefficients_ITU_R_BT_2020_2_non_constant_luminance:
        case heif_matrix_coefficients_ITU_R_BT_2020_2_constant_luminance: matrix.kr = 0.2627, matrix.kb = 0.0593; break;
        default: break;
    }
    api.heif_nclx_color_profile_free(nclx);
    return matrix;
}

uchar clamp8(int value) { return uchar(std::clamp(value, 0, 255)); }

// Shrinks an 8-bit 4:2:0 picture as the decoder left it, turning one row
// at a time into red, green and blue: the planes take a byte and a half a
// pixel where libheif's own conversion would add three or four more.
QImage shrinkPlanes(const HeifLibrary& api, const heif_image* image, const YcbcrMatrix& matrix, QSize shrunk) {
    const int width = api.heif_image_get_width(image, heif_channel_Y);
    const int height = api.heif_image_get_height(image, heif_channel_Y);
    int yStride = 0, cbStride = 0, crStride = 0, alphaStride = 0;
    const uchar* luma = api.heif_image_get_plane_readonly(image, heif_channel_Y, &yStride);
    const uchar* cb = api.heif_image_get_plane_readonly(image, heif_channel_Cb, &cbStride);
    const uchar* cr = api.heif_image_get_plane_readonly(image, heif_channel_Cr, &crStride);
    const bool alpha = api.heif_image_has_channel(image, heif_channel_Alpha) != 0;
    const uchar* alphas = alpha ? api.heif_image_get_plane_readonly(image, heif_channel_Alpha, &alphaStride) : nullptr;
    if (!luma || !cb || !cr || (alpha && !alphas) || width <= 0 || height <= 0) return QImage();

    // Fixed point, 16 fraction bits.
    const double lumaScale = matrix.fullRange ? 1.0 : 255.0 / 219.0;
    const double chromaScale = matrix.fullRange ? 1.0 : 255.0 / 224.0;
    const double kg = 1.0 - matrix.kr - matrix.kb;
    const int y1 = int(lumaScale * 65536 + 0.5);
    const int crToR = int((2 - 2 * matrix.kr) * chromaScale * 65536 + 0.5);
    const int cbToB = int((2 - 2 * matrix.kb) * chromaScale * 65536 + 0.5);
    const int cbToG = int(2 * matrix.kb * (1 - matrix.kb) / kg * chromaScale * 65536 + 0.5);
    const int crToG = int(2 * matrix.kr * (1 - matrix.kr) / kg * chromaScale * 65536 + 0.5);
    const int lumaOffset = matrix.fullRange ? 0 : 16;

    const int channels = alpha ? 4 : 3;
    RowShrinker shrinker(QSize(width, height), shrunk,
                         !alpha ? RowShrinker::Layout::Rgb
                         : api.heif_image_is_premultiplied_alpha(const_cast<heif_image*>(image))
                             ? RowShrinker::Layout::RgbaPremultiplied
                             : RowShrinker::Layout::Rgba);
    std::vector<uchar> row(size_t(width) * channels);
    for (int y = 0; y < height; ++y) {
        const uchar* ly = luma + qsizetype(y) * yStride;
        const uchar* cby = cb + qsizetype(y / 2) * cbStride;
        const uchar* cry = cr + qsizetype(y / 2) * crStride;
        const uchar* ay = alpha ? alphas + qsizetype(y) * alphaStride : nullptr;
        uchar* out = row.data();
        for (int x = 0; x < width; ++x, out += channels) {
            const int l = (int(ly[x]) - lumaOffset) * y1 + 32768;
            const int u = int(cby[x / 2]) - 128, v = int(cry[x / 2]) - 128;
            out[0] = clamp8((l + crToR * v) >> 16);
            out[1] = clamp8((l - cbToG * u - crToG * v) >> 16);
            out[2] = clamp8((l + cbToB * u) >> 16);
            if (alpha) out[3] = ay[x];
        }
        shrinker.addRow(row.data());
    }
    return shrinker.result();
}

// The picture shrunk from its 4:2:0 planes, or a null image when it is of a
// kind that path does not take (more than 8 bits, stored as RGB).
// 8-bit luma and colour difference, not stored as RGB: what the planes path takes.
bool takesPlanes(HeifFile& file) {
    const HeifLibrary& api = file.api;
    if (api.heif_image_handle_get_luma_bits_per_pixel(file.handle) != 8 ||
        api.heif_image_handle_get_chroma_bits_per_pixel(file.handle) != 8)
        return false;
    heif_color_profile_nclx* nclx = nullptr;
    if (api.heif_image_handle_get_nclx_color_profile(file.handle, &nclx).code != heif_error_Ok) return true;
    const bool identity = nclx->matrix_coefficients == heif_matrix_coefficients_RGB_GBR;
    api.heif_nclx_color_profile_free(nclx);
    return !identity;
}

QImage decodeShrunkFromPlanes(HeifFile& file, QSize shrunk) {
    if (!takesPlanes(file)) return QImage();
    const HeifLibrary& api = file.api;
    const DecodingOptions options = decodingOptions(api);
    heif_image* decoded = nullptr;
    if (api.heif_decode_image(file.handle, &decoded, heif_colorspace_YCbCr, heif_chroma_420, options.get()).code !=
            heif_error_Ok ||
        !decoded)
        return QImage();
    const HeifImage owned(decoded, api.heif_image_release);
    if (api.heif_image_get_bits_per_pixel_range(decoded, heif_channel_Y) != 8) return QImage();
    const YcbcrMatrix matrix = matrixOf(api, file.handle, decoded);
    if (matrix.identity) return QImage();
    return shrinkPlanes(api, decoded, matrix, shrunk);
}

}  // namespace

QSize HeifPictureSize(const QString& path, QString& reason, bool* shrinksFromPlanes) {
    const HeifLibrary* api = LoadHeifLibrary(reason);
    if (!api) return QSize();
    HeifFile file(*api);
    if (!open(file, path, reason)) return QSize();
    if (shrinksFromPlanes) *shrinksFromPlanes = takesPlanes(file);
    return QSize(api->heif_image_handle_get_width(file.handle), api->heif_image_handle_get_height(file.handle));
}

QImage DecodeHeifPicture(const QString& path, QSize shrunk, QString& reason) {
    const HeifLibrary* library = LoadHeifLibrary(reason);
    if (!library) return QImage();
    const HeifLibrary& api = *library;
    HeifFile file(api);
    if (!open(file, path, reason)) return QImage();
    if (RowShrinker::Shrinks(
            QSize(api.heif_image_handle_get_width(file.handle), api.heif_image_handle_get_height(file.handle)),
            shrunk)) {
        QImage image = decodeShrunkFromPlanes(file, shrunk);
        if (!image.isNull()) return image;
    }
    const bool alpha = api.heif_image_handle_has_alpha_channel(file.handle) != 0;
    const DecodingOptions options = decodingOptions(api);
    heif_image* decoded = nullptr;
    const heif_error error =
        api.heif_decode_image(file.handle, &decoded, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (error.code != heif_error_Ok || !decoded) {
        reason = describe(error);
        return QImage();
    }
    HeifImage owned(decoded, api.heif_image_release);
    int stride = 0;
    uchar* pixels = api.heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    const int width = api.heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = api.heif_image_get_height(decoded, heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0 ||
        api.heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved) != 8) {
        reason = QStringLiteral("its picture data is damaged");
        return QImage();
    }
    const bool premultiplied = alpha && api.heif_image_is_premultiplied_alpha(decoded);
    if (RowShrinker::Shrinks(QSize(width, height), shrunk)) {
        RowShrinker shrinker(QSize(width, height), shrunk,
                             !alpha          ? RowShrinker::Layout::Rgb
                             : premultiplied ? RowShrinker::Layout::RgbaPremultiplied
                                             : RowShrinker::Layout::Rgba);
        for (int y = 0; y < height; ++y) shrinker.addRow(pixels + qsizetype(y) * stride);
        return shrinker.result();
    }
    if (alpha && !premultiplied) {
        // Premultiplied in place: the smooth scaler then takes the pixels as they are.
        for (int y = 0; y < height; ++y) {
            uchar* p = pixels + qsizetype(y) * stride;
            for (int x = 0; x < width; ++x, p += 4) {
                const unsigned a = p[3];
                for (int c = 0; c < 3; ++c) p[c] = uchar((p[c] * a + 127) / 255);
            }
        }
    }
    // The image wraps libheif's pixels, which it frees with the last copy.
    return QImage(pixels, width, height, stride, alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGB888,
                  ReleaseHeifImage, owned.release());
}

}  // namespace platform
