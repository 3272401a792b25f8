// The layer-shell role: a Surface on the overlay layer of one output,
// anchored to every edge, over panels and bars (exclusive zone -1), taking
// the keyboard exclusively.
#pragma once

#include <functional>
#include <memory>

#include "wayland/surface.h"

struct zwlr_layer_surface_v1;

namespace wayland {

class Output;

class LayerCover {
public:
    LayerCover(Connection& connection, Output& output, std::unique_ptr<Surface> surface);
    ~LayerCover();
    LayerCover(const LayerCover&) = delete;
    LayerCover& operator=(const LayerCover&) = delete;

    Surface& surface() { return *surface_; }
    Output& output() const { return output_; }
    // Called when the compositor takes the surface away (its output was
    // switched off or removed); the cover is to be deleted.
    std::function<void()> onClosed;

private:
    static void configure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width, uint32_t height);
    static void closed(void* data, zwlr_layer_surface_v1*);

    Connection& connection_;
    Output& output_;
    std::unique_ptr<Surface> surface_;
    zwlr_layer_surface_v1* layer_ = nullptr;
};

}  // namespace wayland
