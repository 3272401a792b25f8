#include "startup/stacking.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

#include <algorithm>

namespace startup {

namespace {

Display* X11Display() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

}  // namespace

int MapAgainUnmapped(const std::vector<QWidget*>& ours) {
    Display* display = X11Display();
    if (!display) return 0;
    int mapped = 0;
    for (QWidget* w : ours) {
        if (!w || !w->isVisible() || !w->testAttribute(Qt::WA_WState_Created)) continue;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, Window(w->winId()), &attributes) && attributes.map_state == IsUnmapped) {
            XMapRaised(display, Window(w->winId()));
            ++mapped;
        }
    }
    if (mapped) XFlush(display);
    return mapped;
}

bool ForeignWindowAbove(const std::vector<QWidget*>& ours) {
    Display* display = X11Display();
    if (!display) return false;
    std::vector<Window> ids;
    for (QWidget* w : ours)
        if (w && w->isVisible() && w->testAttribute(Qt::WA_WState_Created)) ids.push_back(Window(w->winId()));
    if (ids.empty()) return false;

    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return false;
    bool foreign = false;
    bool pastOurLowest = false;
    // The children come bottom to top.
    for (unsigned int i = 0; i < count && !foreign; ++i) {
        const bool isOurs = std::find(ids.begin(), ids.end(), children[i]) != ids.end();
        if (isOurs) {
            pastOurLowest = true;
            continue;
        }
        if (!pastOurLowest) continue;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            attributes.c_class == InputOutput)
            foreign = true;
    }
    if (children) XFree(children);
    return foreign;
}

}  // namespace startup
