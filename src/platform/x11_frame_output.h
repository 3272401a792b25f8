// Shows a frame kept in our memory on an X window without a copy of it in
// the window system's toolkit: the frame's image is made in memory shared
// with the X server (MIT-SHM), and each changed rectangle is sent by naming
// it, the server copying the pixels itself. Where shared memory cannot be
// had (a display on another machine, no extension) the image is plain
// memory and rectangles are sent over the connection.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <memory>

// Xlib's display, declared as Xlib does: its header clashes with Qt's.
typedef struct _XDisplay Display;

namespace platform {

class X11FrameOutput {
public:
    // For Qt's X display; null off X11 or on a screen whose pixels are not
    // 32-bit XRGB, where frames are shown through Qt.
    static std::unique_ptr<X11FrameOutput> ForQtDisplay();
    ~X11FrameOutput();
    X11FrameOutput(const X11FrameOutput&) = delete;
    X11FrameOutput& operator=(const X11FrameOutput&) = delete;

    // An RGB32 image of `size` whose changes `put` can show (in shared
    // memory when the server allows it).
    QImage makeImage(QSize size);
    // Shows `area` of `image` at the same place on `window`.
    void put(unsigned long window, const QImage& image, const QRect& area);
    // Sends what was put; the server copies it before the image may change
    // again (call waitShown() before changing it).
    void flush();
    // Returns once the server has copied every rectangle put so far.
    void waitShown();

    // Whether images are made in shared memory (for tests and measuring).
    bool shared() const { return shared_; }

private:
    explicit X11FrameOutput(Display* display);
    struct Segment;

    Display* display_;
    bool shared_ = false;
    bool pending_ = false;
    void* gc_ = nullptr;
    unsigned long gcWindow_ = 0;
    // The shared segment of the last image made, known by its address.
    std::weak_ptr<Segment> segment_;
};

}  // namespace platform
