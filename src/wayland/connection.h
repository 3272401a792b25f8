// Our own connection to the Wayland compositor, beside Qt (which runs on its
// offscreen platform for images, painting, timers and widgets). The
// connection's socket is watched from Qt's event loop; the globals the saver
// and the lock need are bound once, outputs and the seat as they come and go.
//
// How the pieces fit (a lock surface reuses all of them; only the role
// differs):
//   Connection  the display, the registry, the globals, outputs and the seat
//   Output      one monitor: its name, size in pixels, integer scale
//   Surface     a wl_surface showing a display::Animation through two wl_shm
//               buffers, painting only what changed, paced by frame callbacks,
//               at the output's scale (integer or fractional)
//   Seat        keyboard (xkbcommon, the compositor's keymap) and pointer,
//               delivered to an InputHandler with the wl_surface they are on
//   LayerCover  the layer-shell role: an overlay Surface over one output
// A session lock gets ext_session_lock_manager_v1 from globals(), makes one
// Surface per output, gives each the lock-surface role and calls
// Surface::configure() from the role's configure event, as LayerCover does.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zwlr_layer_shell_v1;
struct ext_session_lock_manager_v1;

namespace wayland {

class Output;
class Seat;

// The compositor's globals we use; null where it offers none.
struct Globals {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    ext_session_lock_manager_v1* sessionLock = nullptr;
};

class Connection : public QObject {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY and learns its
    // globals and outputs (two round trips). See connected().
    Connection();
    ~Connection() override;

    bool connected() const { return display_ != nullptr && error_.isEmpty(); }
    // Why the connection could not be made or was lost.
    const QString& error() const { return error_; }
    wl_display* display() const { return display_; }
    const Globals& globals() const { return globals_; }

    // Outputs whose description is complete, in the order they came.
    std::vector<Output*> outputs() const;
    // The first seat (null: none yet).
    Seat* seat() const { return seat_.get(); }

    // Called when an output's description is complete for the first time,
    // and just before an output goes away.
    std::function<void(Output&)> onOutputAdded;
    std::function<void(Output&)> onOutputRemoved;
    // Called when a known output's description changes (its scale, its mode).
    std::function<void(Output&)> onOutputChanged;
    // Called once when the compositor closes the connection or it fails.
    std::function<void()> onLost;

    // Sends what is queued (after every batch of requests).
    void flush();
    // Waits until the compositor has answered every request sent so far.
    bool roundtrip();

private:
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void globalRemove(void* data, wl_registry* registry, uint32_t name);
    void dispatch();
    // Events already read from the socket (during a round trip or a flush)
    // wait in the queue: they are handled before the event loop sleeps.
    void dispatchPending();
    void lose(const QString& why);
    void outputReady(Output& output);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    Globals globals_;
    QString error_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::unique_ptr<Seat> seat_;
    uint32_t seatName_ = 0;
};

}  // namespace wayland
