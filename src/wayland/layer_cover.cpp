#include "wayland/layer_cover.h"

#include <wayland-client-protocol.h>
#include "wayland/layer_shell_protocol.h"

#include "wayland/connection.h"
#include "wayland/output.h"

namespace wayland {

LayerCover::LayerCover(Connection& connection, Output& output, std::unique_ptr<Surface> surface)
    : connection_(connection), output_(output), surface_(std::move(surface)) {
    surface_->setOutputScale(output_.scale());
    layer_ = zwlr_layer_shell_v1_get_layer_surface(connection_.globals().layerShell, surface_->handle(),
                                                   output_.handle(), ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "glidorama");
    static const zwlr_layer_surface_v1_listener listener = {.configure = &LayerCover::configure,
                                                            .closed = &LayerCover::closed};
    zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
    zwlr_layer_surface_v1_set_anchor(layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                 ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                 ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    // The first commit carries no buffer: the compositor answers with the size.
    wl_surface_commit(surface_->handle());
    connection_.flush();
}

LayerCover::~LayerCover() {
    if (layer_) zwlr_layer_surface_v1_destroy(layer_);
    surface_.reset();
}

void LayerCover::configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
    auto* self = static_cast<LayerCover*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    self->surface_->configure(QSize(int(width), int(height)));
}

void LayerCover::closed(void* data, zwlr_layer_surface_v1*) {
    auto* self = static_cast<LayerCover*>(data);
    self->surface_->standStill();
    if (self->onClosed) self->onClosed();
}

}  // namespace wayland
