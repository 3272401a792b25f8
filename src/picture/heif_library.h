// libheif, loaded the first time a HEIF, HEIC or AVIF picture is read
// rather than linked: its codecs then take no memory in the runs (most of
// them) that show no such picture.
#pragma once

#include <libheif/heif.h>

#include <QString>

namespace platform {

// The functions the HEIF reader calls, named as libheif names them.
#define GLID_HEIF_FUNCTIONS(F)                     \
    F(heif_context_alloc)                          \
    F(heif_context_free)                           \
    F(heif_context_set_maximum_image_size_limit)   \
    F(heif_context_read_from_file)                 \
    F(heif_context_get_primary_image_handle)       \
    F(heif_image_handle_release)                   \
    F(heif_image_handle_get_width)                 \
    F(heif_image_handle_get_height)                \
    F(heif_image_handle_has_alpha_channel)         \
    F(heif_image_handle_get_luma_bits_per_pixel)   \
    F(heif_image_handle_get_chroma_bits_per_pixel) \
    F(heif_image_handle_get_nclx_color_profile)    \
    F(heif_image_get_nclx_color_profile)           \
    F(heif_nclx_color_profile_free)                \
    F(heif_decoding_options_alloc)                 \
    F(heif_decoding_options_free)                  \
    F(heif_decode_image)                           \
    F(heif_image_release)                          \
    F(heif_image_get_width)                        \
    F(heif_image_get_height)                       \
    F(heif_image_get_bits_per_pixel_range)         \
    F(heif_image_has_channel)                      \
    F(heif_image_is_premultiplied_alpha)           \
    F(heif_image_get_plane)                        \
    F(heif_image_get_plane_readonly)

struct HeifLibrary {
#define GLID_HEIF_POINTER(name) decltype(&::name) name = nullptr;
    GLID_HEIF_FUNCTIONS(GLID_HEIF_POINTER)
#undef GLID_HEIF_POINTER
};

// The library with every function resolved, loaded on the first call and
// kept for the rest of the run; null when it cannot be loaded (not
// installed, too old, or no memory left to map it), `reason` then saying
// so. A failed load is tried again on the next call. Safe from any thread.
const HeifLibrary* LoadHeifLibrary(QString& reason);

// Frees a heif_image the loaded library made: a cleanup for the QImage that
// wraps its pixels.
void ReleaseHeifImage(void* image);

}  // namespace platform
