// A wl_shm buffer the compositor reads and we paint into through a QImage
// over the same memory.
#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

struct wl_shm;
struct wl_buffer;

namespace wayland {

class ShmBuffer {
public:
    // A buffer of `size` device pixels; see valid().
    ShmBuffer(wl_shm* shm, QSize size);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    // False when the shared memory could not be had.
    bool valid() const { return buffer_ != nullptr; }
    wl_buffer* handle() const { return buffer_; }
    QImage& image() { return image_; }
    QSize size() const { return image_.size(); }

    // Attached and not yet released by the compositor: not to be painted.
    bool busy = false;
    // What this buffer lacks of the newest frame, in logical pixels.
    QRegion stale;

private:
    wl_buffer* buffer_ = nullptr;
    void* memory_ = nullptr;
    size_t bytes_ = 0;
    QImage image_;
};

}  // namespace wayland
