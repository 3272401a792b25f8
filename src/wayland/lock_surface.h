// The session-lock role: a Surface that the compositor shows over one output
// while the session is locked, at the size it tells in its configure event.
#pragma once

#include <memory>

#include "wayland/surface.h"

struct ext_session_lock_v1;
struct ext_session_lock_surface_v1;

namespace wayland {

class Output;

class LockSurface {
public:
    LockSurface(ext_session_lock_v1* lock, Output& output, std::unique_ptr<Surface> surface);
    ~LockSurface();
    LockSurface(const LockSurface&) = delete;
    LockSurface& operator=(const LockSurface&) = delete;

    Surface& surface() { return *surface_; }
    Output& output() const { return output_; }

private:
    static void configure(void* data, ext_session_lock_surface_v1*, uint32_t serial, uint32_t width, uint32_t height);

    Output& output_;
    std::unique_ptr<Surface> surface_;
    ext_session_lock_surface_v1* role_ = nullptr;
};

}  // namespace wayland
