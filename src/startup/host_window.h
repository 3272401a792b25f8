// The window a screen-saver host hands over, watched through a connection
// of our own: its size, and news of it being resized or destroyed.
#pragma once

#include <QObject>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace startup {

class HostWindow final : public QObject {
public:
    // Watches window `id` (0 is the root window) on the X server named by DISPLAY.
    explicit HostWindow(uint32_t id);
    ~HostWindow() override;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Whether the window exists (and the X server could be reached).
    bool exists() const { return exists_; }
    // The real window id (the root window's for 0).
    uint32_t id() const { return id_; }
    QSize size() const { return size_; }

    std::function<void(QSize)> onResized;
    std::function<void()> onDestroyed;

private:
    void readEvents();

    void* display_ = nullptr;
    uint32_t id_ = 0;
    bool exists_ = false;
    QSize size_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace startup
