// Module1's session lock on a Wayland compositor that offers one
// (ext-session-lock-v1): one lock surface per output showing the effect,
// the password prompt drawn on the output with the pointer.
#include "startup/module1.h"
#include "startup/wayland_session.h"

#if GLIDORAMA_WAYLAND
#include "startup/wayland_lock.h"
#include "wayland/connection.h"
#endif

namespace startup {

#if GLIDORAMA_WAYLAND

void Module1::LockOnWayland() {
    wayland_->lock = std::make_unique<WaylandLock>(*wayland_->connection, values, env_, *this);
    wayland_->lock->start();
}

bool Module1::PromptOnWayland() {
    if (!wayland_ || !wayland_->lock) return false;
    wayland_->lock->showPrompt();
    return true;
}

#else

void Module1::LockOnWayland() {}
bool Module1::PromptOnWayland() { return false; }

#endif

}  // namespace startup
