// "/s" on a Wayland session: our connection to the compositor and what it
// shows there. Qt runs on its offscreen platform beside it (images,
// painting, timers, the password prompt's widgets).
#pragma once

#include <QString>

#include <memory>

namespace wayland {
class Connection;
class Saver;
}  // namespace wayland

namespace startup {

class WaylandLock;

// Whether the program runs on the Wayland compositor ("/s" on our own
// connection, "/c" as a Qt Wayland window): a Wayland session
// (WAYLAND_DISPLAY set) where neither `x11Asked` ("--x11") nor
// QT_QPA_PLATFORM=xcb asks for X11, in a build with Wayland support.
bool OnWaylandSession(bool x11Asked);

struct WaylandSession {
    WaylandSession();
    ~WaylandSession();
    std::unique_ptr<wayland::Connection> connection;
    // The saver's layer surfaces (without password protection).
    std::unique_ptr<wayland::Saver> saver;
    // The session lock (with password protection).
    std::unique_ptr<WaylandLock> lock;
};

}  // namespace startup
