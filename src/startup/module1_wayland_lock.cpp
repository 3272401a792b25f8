// Module1's session lock on a Wayland compositor that offers one
// (ext-session-lock-v1): one lock surface per output showing the effect,
// the password prompt drawn on the output with the pointer.
#include <cstdio>

#include "startup/module1.h"

namespace startup {

void Module1::LockOnWayland() {
    // Until the lock is built, password protection never runs unlocked.
    std::fprintf(stderr, "Glidorama: locking a Wayland session is not available yet; the saver does not start.\n");
    env_.end->End(1);
}

}  // namespace startup
