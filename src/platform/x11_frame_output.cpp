#include "platform/x11_frame_output.h"

#include <QtGlobal>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/x11_error_trap.h"

namespace platform {

namespace {
constexpr int kDepth = 24;

GC Gc(void* gc) { return static_cast<GC>(gc); }

// Whether the screen's own pixels are QImage's RGB32 as it lies in memory:
// 24 bits of red, green and blue in a 32-bit pixel, in this machine's order.
bool TakesRgb32(Display* display) {
    const int screen = DefaultScreen(display);
    const Visual* visual = DefaultVisual(display, screen);
    if (DefaultDepth(display, screen) != kDepth || visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 ||
        visual->blue_mask != 0xff)
        return false;
    if (ImageByteOrder(display) != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? LSBFirst : MSBFirst)) return false;
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool found = false;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == kDepth) found = formats[i].bits_per_pixel == 32;
    if (formats) XFree(formats);
    return found;
}
}  // namespace

// A shared memory segment the server has attached, and the X image over it
// that names it in requests. It lives as long as the QImage over its memory.
struct X11FrameOutput::Segment {
    Display* display = nullptr;
    XShmSegmentInfo info{};
    XImage* image = nullptr;

    ~Segment() {
        // The server lets go of the segment itself when the connection has
        // already gone at the program's end.
        if (image && QtX11Display() == display) {
            XShmDetach(display, &info);
            XFlush(display);
        }
        if (image) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        if (info.shmaddr) shmdt(info.shmaddr);
    }
};

std::unique_ptr<X11FrameOutput> X11FrameOutput::ForQtDisplay() {
    Display* display = QtX11Display();
    if (!display || !TakesRgb32(display)) return nullptr;
    return std::unique_ptr<X11FrameOutput>(new X11FrameOutput(display));
}

X11FrameOutput::X11FrameOutput(Display* display) : display_(display) {
    // A server on another machine has the extension but cannot attach our
    // memory: the first attach tells.
    shared_ = XShmQueryExtension(display_);
}

X11FrameOutput::~X11FrameOutput() {
    if (gc_) XFreeGC(display_, Gc(gc_));
}

QImage X11FrameOutput::makeImage(QSize size) {
    if (shared_) {
        auto segment = std::make_shared<Segment>();
        segment->display = display_;
        const int screen = DefaultScreen(display_);
        XImage* image = XShmCreateImage(display_, DefaultVisual(display_, screen), kDepth, ZPixmap, nullptr,
                                        &segment->info, unsigned(size.width()), unsigned(size.height()));
        if (image) {
            segment->image = image;
            segment->info.shmid =
                shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(image->height), IPC_CREAT | 0600);
            if (segment->info.shmid != -1) {
                void* address = shmat(segment->info.shmid, nullptr, 0);
                if (address != reinterpret_cast<void*>(-1)) {
                    segment->info.shmaddr = image->data = static_cast<char*>(address);
                    segment->info.readOnly = False;
                    X11ErrorTrap trap(display_);
                    XShmAttach(display_, &segment->info);
                    const bool attached = !trap.failed();
                    // Marked for removal now: it goes when both sides have let go.
                    shmctl(segment->info.shmid, IPC_RMID, nullptr);
                    if (attached) {
                        segment_ = segment;
                        return QImage(
                            reinterpret_cast<uchar*>(address), size.width(), size.height(), image->bytes_per_line,
                            QImage::Format_RGB32,
                            [](void* held) { delete static_cast<std::shared_ptr<Segment>*>(held); },
                            new std::shared_ptr<Segment>(segment));
                    }
                    segment->image = nullptr;  // never attached: nothing to detach
                    image->data = nullptr;
                    XDestroyImage(image);
                } else {
                    shmctl(segment->info.shmid, IPC_RMID, nullptr);
                }
            }
        }
        // No shared memory here: rectangles go over the connection from now on.
        shared_ = false;
    }
    return QImage(size, QImage::Format_RGB32);
}

void X11FrameOutput::put(unsigned long window, const QImage& image, const QRect& area) {
    const QRect r = area & image.rect();
    if (r.isEmpty() || image.format() != QImage::Format_RGB32) return;
    if (!gc_ || gcWindow_ != window) {
        if (gc_) XFreeGC(display_, Gc(gc_));
        gc_ = XCreateGC(display_, window, 0, nullptr);
        gcWindow_ = window;
    }
    const std::shared_ptr<Segment> segment = segment_.lock();
    if (segment && segment->info.shmaddr == reinterpret_cast<const char*>(image.constBits())) {
        XShmPutImage(display_, window, Gc(gc_), segment->image, r.x(), r.y(), r.x(), r.y(), unsigned(r.width()),
                     unsigned(r.height()), False);
        pending_ = true;
        return;
    }
    // Xlib copies the pixels out before it returns (and splits what is too
    // large for one request).
    const int screen = DefaultScreen(display_);
    XImage* plain = XCreateImage(display_, DefaultVisual(display_, screen), kDepth, ZPixmap, 0,
                                 const_cast<char*>(reinterpret_cast<const char*>(image.constBits())),
                                 unsigned(image.width()), unsigned(image.height()), 32, int(image.bytesPerLine()));
    if (!plain) return;
    XPutImage(display_, window, Gc(gc_), plain, r.x(), r.y(), r.x(), r.y(), unsigned(r.width()), unsigned(r.height()));
    plain->data = nullptr;
    XDestroyImage(plain);
}

void X11FrameOutput::flush() { XFlush(display_); }

void X11FrameOutput::waitShown() {
    if (!pending_) return;
    XSync(display_, False);
    pending_ = false;
}

}  // namespace platform
