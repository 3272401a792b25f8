#include "wayland/lock_surface.h"

#include <ext-session-lock-v1-client-protocol.h>

#include "wayland/output.h"

namespace wayland {

LockSurface::LockSurface(ext_session_lock_v1* lock, Output& output, std::unique_ptr<Surface> surface)
    : output_(output), surface_(std::move(surface)) {
    surface_->setOutputScale(output_.scale());
    // The compositor answers with the output's size; nothing is attached before.
    role_ = ext_session_lock_v1_get_lock_surface(lock, surface_->handle(), output_.handle());
    static const ext_session_lock_surface_v1_listener listener = {.configure = &LockSurface::configure};
    ext_session_lock_surface_v1_add_listener(role_, &listener, this);
}

LockSurface::~LockSurface() {
    ext_session_lock_surface_v1_destroy(role_);
    surface_.reset();
}

void LockSurface::configure(void* data, ext_session_lock_surface_v1* role, uint32_t serial, uint32_t width,
                            uint32_t height) {
    auto* self = static_cast<LockSurface*>(data);
    ext_session_lock_surface_v1_ack_configure(role, serial);
    self->surface_->configure(QSize(int(width), int(height)));
}

}  // namespace wayland
