#include "startup/host_window.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <X11/Xlib.h>

namespace startup {

namespace {

// A host may destroy its window at any moment; the errors that follow
// (BadWindow, BadDrawable) are expected and must not end the program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Display* Dpy(void* display) { return static_cast<Display*>(display); }

}  // namespace

HostWindow::HostWindow(uint32_t id) {
    const QByteArray name = qgetenv("DISPLAY");
    Display* display = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display) return;
    display_ = display;
    XSetErrorHandler(IgnoreXError);
    id_ = id == 0 ? uint32_t(DefaultRootWindow(display)) : id;
    // Selecting first and asking the size second leaves no moment in which a
    // resize or the window's end could pass unseen.
    XSelectInput(display, Window(id_), StructureNotifyMask);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, Window(id_), &attributes)) {
        exists_ = true;
        size_ = QSize(attributes.width, attributes.height);
    }
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

HostWindow::~HostWindow() {
    notifier_.reset();
    if (display_) XCloseDisplay(Dpy(display_));
}

void HostWindow::readEvents() {
    Display* display = Dpy(display_);
    bool destroyed = false;
    QSize newSize = size_;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == Window(id_)) destroyed = true;
        if (event.type == ConfigureNotify && event.xconfigure.window == Window(id_))
            newSize = QSize(event.xconfigure.width, event.xconfigure.height);
    }
    if (destroyed) {
        exists_ = false;
        if (onDestroyed) onDestroyed();
        return;
    }
    if (newSize != size_) {
        size_ = newSize;
        if (onResized) onResized(size_);
    }
}

}  // namespace startup
