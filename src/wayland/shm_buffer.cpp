#include "wayland/shm_buffer.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client-protocol.h>

namespace wayland {

ShmBuffer::ShmBuffer(wl_shm* shm, QSize size) {
    if (!shm || size.isEmpty()) return;
    const int stride = size.width() * 4;
    bytes_ = size_t(stride) * size.height();
    const int fd = ::memfd_create("glidorama-frame", MFD_CLOEXEC);
    if (fd < 0) return;
    if (::ftruncate(fd, off_t(bytes_)) != 0) {
        ::close(fd);
        return;
    }
    memory_ = ::mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory_ == MAP_FAILED) {
        memory_ = nullptr;
        ::close(fd);
        return;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(bytes_));
    // XRGB8888 is QImage's RGB32 on a little-endian machine: one layout.
    buffer_ = wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    ::close(fd);
    image_ = QImage(static_cast<uchar*>(memory_), size.width(), size.height(), stride, QImage::Format_RGB32);
    static const wl_buffer_listener listener = {
        .release = [](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; }};
    wl_buffer_add_listener(buffer_, &listener, this);
}

ShmBuffer::~ShmBuffer() {
    if (buffer_) wl_buffer_destroy(buffer_);
    if (memory_) ::munmap(memory_, bytes_);
}

}  // namespace wayland
