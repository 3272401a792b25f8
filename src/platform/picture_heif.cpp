#include "platform/picture_heif.h"

#include <libheif/heif.h>

#include <memory>

namespace platform {

namespace {

// libheif's largest accepted side; our own memory budget refuses far smaller.
constexpr int kMaxSide = 65535;

struct HeifFile {
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context{heif_context_alloc(), heif_context_free};
    heif_image_handle* handle = nullptr;
    ~HeifFile() {
        if (handle) heif_image_handle_release(handle);
    }
};

QString describe(const heif_error& error) {
    if (error.code == heif_error_Unsupported_feature || error.code == heif_error_Unsupported_filetype)
        return QStringLiteral("its kind of HEIF picture cannot be decoded here");
    return QStringLiteral("its picture data is damaged");
}

bool open(HeifFile& file, const QString& path, QString& reason) {
    if (!file.context) {
        reason = QStringLiteral("there is not enough memory to read it");
        return false;
    }
    heif_context_set_maximum_image_size_limit(file.context.get(), kMaxSide);
    heif_error error = heif_context_read_from_file(file.context.get(), path.toLocal8Bit().constData(), nullptr);
    if (error.code == heif_error_Ok) error = heif_context_get_primary_image_handle(file.context.get(), &file.handle);
    if (error.code != heif_error_Ok) {
        reason = describe(error);
        return false;
    }
    return true;
}

}  // namespace

QSize HeifPictureSize(const QString& path, QString& reason) {
    HeifFile file;
    if (!open(file, path, reason)) return QSize();
    return QSize(heif_image_handle_get_width(file.handle), heif_image_handle_get_height(file.handle));
}

QImage DecodeHeifPicture(const QString& path, QString& reason) {
    HeifFile file;
    if (!open(file, path, reason)) return QImage();
    const bool alpha = heif_image_handle_has_alpha_channel(file.handle) != 0;
    heif_image* decoded = nullptr;
    const heif_error error =
        heif_decode_image(file.handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    if (error.code != heif_error_Ok || !decoded) {
        reason = describe(error);
        return QImage();
    }
    int stride = 0;
    uchar* pixels = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0) {
        heif_image_release(decoded);
        reason = QStringLiteral("its picture data is damaged");
        return QImage();
    }
    if (alpha && !heif_image_is_premultiplied_alpha(decoded)) {
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
    return QImage(pixels, width, height, stride,
                  alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888,
                  [](void* image) { heif_image_release(static_cast<heif_image*>(image)); }, decoded);
}

}  // namespace platform
