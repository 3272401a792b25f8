#include "startup/x11_preview.h"

#include <QByteArray>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace startup {

namespace {

// X errors for a window that is gone or was never there arrive
// asynchronously; they are counted here instead of ending the program.
int xErrors = 0;
int CountXError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

int MaskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

unsigned long ToPixel(QRgb rgb, const Visual* visual) {
    const auto channel = [](int value, unsigned long mask) {
        const int shift = MaskShift(mask);
        const unsigned long max = mask >> shift;
        return ((unsigned long)(value * max / 255) << shift) & mask;
    };
    return channel(qRed(rgb), visual->red_mask) | channel(qGreen(rgb), visual->green_mask) |
           channel(qBlue(rgb), visual->blue_mask);
}

}  // namespace

XServerProbe::XServerProbe() {
    const QByteArray displayName = qgetenv("DISPLAY");
    if (!displayName.isEmpty()) display_ = XOpenDisplay(displayName.constData());
}

XServerProbe::~XServerProbe() {
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

bool DrawIntoX11Window(uint32_t windowId, const QImage& block) {
    const QByteArray displayName = qgetenv("DISPLAY");
    if (displayName.isEmpty()) return false;
    Display* display = XOpenDisplay(displayName.constData());
    if (!display) return false;
    XErrorHandler previous = XSetErrorHandler(CountXError);
    xErrors = 0;

    bool drawn = false;
    const Window window = windowId == 0 ? DefaultRootWindow(display) : Window(windowId);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) && xErrors == 0 && attributes.visual &&
        attributes.visual->c_class == TrueColor && attributes.depth >= 15) {
        const int width = block.width(), height = block.height();
        XImage* image =
            XCreateImage(display, attributes.visual, attributes.depth, ZPixmap, 0, nullptr, width, height, 32, 0);
        if (image) {
            image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line) * height, 1));
            if (image->data) {
                const QImage rgb = block.convertToFormat(QImage::Format_RGB32);
                for (int y = 0; y < height; ++y) {
                    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
                    for (int x = 0; x < width; ++x) XPutPixel(image, x, y, ToPixel(line[x], attributes.visual));
                }
                GC gc = XCreateGC(display, window, 0, nullptr);
                XPutImage(display, window, gc, image, 0, 0, 0, 0, width, height);
                XFreeGC(display, gc);
                XSync(display, False);
                drawn = xErrors == 0;
            }
            XDestroyImage(image);  // frees the pixel data too
        }
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return drawn;
}

}  // namespace startup
