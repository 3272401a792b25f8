#include <QGuiApplication>

#include <X11/Xlib.h>

#include "platform/x11_error_trap.h"

namespace platform {

namespace {
// Xlib calls the handler on the thread that waits for the reply: ours.
unsigned long errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}
}  // namespace

Display* QtX11Display() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    static bool installed = false;
    if (display && !installed) {
        XSetErrorHandler(CountError);
        installed = true;
    }
    return display;
}

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    errorsBefore_ = errorsSeen;
}

bool X11ErrorTrap::failed() {
    XSync(display_, False);
    return errorsSeen != errorsBefore_;
}

}  // namespace platform
