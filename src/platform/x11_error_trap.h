// X errors of the lock's own Xlib requests are counted, never fatal: a
// window or device that another program just destroyed is an everyday event
// for the lock, and Xlib's default handler would end the program over it.
#pragma once

// Xlib's display, declared as Xlib does: its header clashes with Qt's.
typedef struct _XDisplay Display;

namespace platform {

// Qt's Xlib display, or null off X11. Installs the counting error handler
// the first time.
Display* QtX11Display();

// Says whether any request sent since it was made failed.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    bool failed();

private:
    Display* display_;
    unsigned long errorsBefore_;
};

}  // namespace platform
