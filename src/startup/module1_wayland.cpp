// Module1's start on a Wayland session: connecting, refusing password
// protection where the compositor cannot lock the session, and covering
// every output with the saver's layer surfaces.
#include <cstdio>

#include "runtime/messages.h"
#include "startup/module1.h"
#include "startup/wayland_session.h"

#if GLIDORAMA_WAYLAND
#include "startup/user_files.h"
#include "startup/wayland_lock.h"
#include "wayland/connection.h"
#include "wayland/output.h"
#include "wayland/saver.h"
#endif

namespace startup {

#if GLIDORAMA_WAYLAND

bool OnWaylandSession(bool x11Asked) {
    return !x11Asked && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qgetenv("QT_QPA_PLATFORM") != "xcb";
}

WaylandSession::WaylandSession() = default;
WaylandSession::~WaylandSession() {
    lock.reset();
    saver.reset();
    connection.reset();
}

void Module1::StartOnWayland() {
    guardFullScreen();
    wayland_.reset(new WaylandSession);
    wayland_->connection = std::make_unique<wayland::Connection>();
    wayland::Connection& connection = *wayland_->connection;
    if (!connection.connected()) {
        std::fprintf(stderr, "Glidorama: %s; the saver does not start.\n", qPrintable(connection.error()));
        env_.end->End(1);
        return;
    }
    // Once running, a compositor that goes away takes our surfaces with it.
    connection.onLost = [this, &connection] {
        std::fprintf(stderr, "Glidorama: %s.\n", qPrintable(connection.error()));
        env_.end->End(1);
    };
    // Qt's offscreen screens know nothing of the outputs: a first run's
    // sample copies are made for the largest output, as on X11.
    SeedUserFiles(env_.layout, wayland::LargestPictureScale(connection.outputs(), 0));
    if (locks()) {
        if (!connection.globals().sessionLock) {
            // Our own surfaces would be no lock: the compositor's key
            // bindings still switch away from them.
            env_.messages->MsgBox(QStringLiteral("This desktop offers no session lock (ext-session-lock-v1), so "
                                                 "Glidorama cannot lock the screen with your password. Use the "
                                                 "desktop's own locker (swaylock, for example) instead."),
                                  platform::kExclamation);
            env_.end->End(1);
            return;
        }
        LockOnWayland();
        return;
    }
    if (!connection.globals().layerShell || !connection.globals().compositor || !connection.globals().shm) {
        std::fprintf(stderr,
                     "Glidorama: this desktop offers no layer shell (wlr-layer-shell-unstable-v1) to cover its "
                     "screens; the saver does not start. Run \"glidorama --x11 /s\" to use X11 instead.\n");
        env_.end->End(1);
        return;
    }
    wayland_->saver = std::make_unique<wayland::Saver>(connection, values, env_, *this);
    wayland_->saver->start();
}

#else

bool OnWaylandSession(bool) { return false; }
WaylandSession::WaylandSession() = default;
WaylandSession::~WaylandSession() = default;
void Module1::StartOnWayland() {}

#endif

void WaylandSessionEnd::operator()(WaylandSession* session) const { delete session; }

}  // namespace startup
