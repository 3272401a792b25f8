#include "wayland/output.h"

#include <wayland-client-protocol.h>

#include "imagestore/picture_scale.h"

namespace wayland {

Output::Output(wl_output* output, uint32_t globalName) : output_(output), globalName_(globalName) {
    static const wl_output_listener listener = {
        .geometry = &Output::geometry,
        .mode = &Output::mode,
        .done = &Output::done,
        .scale = &Output::scale,
        .name = &Output::name,
        .description = &Output::description,
    };
    wl_output_add_listener(output_, &listener, this);
}

Output::~Output() {
    if (wl_output_get_version(output_) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(output_);
    else
        wl_output_destroy(output_);
}

void Output::geometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                      int32_t transform) {
    // The odd transforms (90, 270, and their flipped forms) turn the output.
    static_cast<Output*>(data)->turned_ = transform % 2 == 1;
}

void Output::mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<Output*>(data)->pixelSize_ = QSize(width, height);
}

void Output::done(void* data, wl_output*) {
    auto* self = static_cast<Output*>(data);
    self->ready_ = true;
    if (self->onDone) self->onDone();
}

void Output::scale(void* data, wl_output*, int32_t factor) {
    static_cast<Output*>(data)->scale_ = factor > 0 ? factor : 1;
}

void Output::name(void* data, wl_output*, const char* name) {
    static_cast<Output*>(data)->name_ = QString::fromUtf8(name);
}

void Output::description(void*, wl_output*, const char*) {}

double LargestPictureScale(const std::vector<Output*>& outputs, int percent) {
    std::vector<int> deviceHeights;
    for (const Output* output : outputs) deviceHeights.push_back(output->deviceSize().height());
    return imagestore::LargestPictureScale(percent, deviceHeights);
}

}  // namespace wayland
