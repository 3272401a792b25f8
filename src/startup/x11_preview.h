// Drawing into a window of another program (the preview window the
// screen-saver host hands over) straight through Xlib, so the pixels stay
// after this program has ended.
#pragma once

#include <QImage>

#include <cstdint>

namespace startup {

// Copies `block` to the top-left corner of X11 window `windowId` (0 means
// the root window). Returns whether the pixels were sent. Without an X
// server, or for a window that does not exist, it draws nothing and never
// fails.
bool DrawIntoX11Window(uint32_t windowId, const QImage& block);

// A connection to the X server named by DISPLAY, held for as long as the
// probe lives: an X server resets when its last client leaves, so the probe
// stays open until the program's own connection is made.
class XServerProbe {
public:
    XServerProbe();
    ~XServerProbe();
    XServerProbe(const XServerProbe&) = delete;
    XServerProbe& operator=(const XServerProbe&) = delete;
    bool reachable() const { return display_ != nullptr; }

private:
    void* display_ = nullptr;
};

}  // namespace startup
