#include "wayland/connection.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <ext-session-lock-v1-client-protocol.h>
#include <fractional-scale-v1-client-protocol.h>
#include <viewporter-client-protocol.h>
#include <wayland-client.h>
#include "wayland/layer_shell_protocol.h"

#include "wayland/output.h"
#include "wayland/seat.h"

namespace wayland {

namespace {
template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}
}  // namespace

Connection::Connection() {
    display_ = wl_display_connect(nullptr);
    if (!display_) {
        error_ = QStringLiteral("cannot connect to the Wayland compositor (%1)")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    registry_ = wl_display_get_registry(display_);
    static const wl_registry_listener listener = {.global = &Connection::global,
                                                  .global_remove = &Connection::globalRemove};
    wl_registry_add_listener(registry_, &listener, this);
    // The globals, then the outputs' and the seat's first descriptions.
    if (!roundtrip() || !roundtrip()) return;
    notifier_ = std::make_unique<QSocketNotifier>(wl_display_get_fd(display_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { dispatch(); });
    if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance())
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, [this] { dispatchPending(); });
}

Connection::~Connection() {
    notifier_.reset();
    seat_.reset();
    outputs_.clear();
    if (!display_) return;
    if (globals_.sessionLock) ext_session_lock_manager_v1_destroy(globals_.sessionLock);
    if (globals_.layerShell) zwlr_layer_shell_v1_destroy(globals_.layerShell);
    if (globals_.fractionalScale) wp_fractional_scale_manager_v1_destroy(globals_.fractionalScale);
    if (globals_.viewporter) wp_viewporter_destroy(globals_.viewporter);
    if (globals_.shm) wl_shm_destroy(globals_.shm);
    if (globals_.compositor) wl_compositor_destroy(globals_.compositor);
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void Connection::global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* self = static_cast<Connection*>(data);
    Globals& g = self->globals_;
    const auto is = [&](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
    if (is(wl_compositor_interface)) {
        // Version 4 declares damage in buffer pixels.
        if (version >= 4) g.compositor = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (is(wl_shm_interface)) {
        g.shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(wp_viewporter_interface)) {
        g.viewporter = Bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        g.fractionalScale =
            Bind<wp_fractional_scale_manager_v1>(registry, name, &wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        g.layerShell = Bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 4);
    } else if (is(ext_session_lock_manager_v1_interface)) {
        g.sessionLock =
            Bind<ext_session_lock_manager_v1>(registry, name, &ext_session_lock_manager_v1_interface, version, 1);
    } else if (is(wl_output_interface)) {
        auto output = std::make_unique<Output>(Bind<wl_output>(registry, name, &wl_output_interface, version, 4), name);
        Output* added = output.get();
        added->onDone = [self, added] { self->outputReady(*added); };
        self->outputs_.push_back(std::move(output));
    } else if (is(wl_seat_interface) && !self->seat_) {
        self->seat_ = std::make_unique<Seat>(Bind<wl_seat>(registry, name, &wl_seat_interface, version, 5), name);
        self->seatName_ = name;
    }
}

void Connection::globalRemove(void* data, wl_registry*, uint32_t name) {
    auto* self = static_cast<Connection*>(data);
    auto gone = std::find_if(self->outputs_.begin(), self->outputs_.end(),
                             [&](const auto& o) { return o->globalName() == name; });
    if (gone != self->outputs_.end()) {
        std::unique_ptr<Output> output = std::move(*gone);
        self->outputs_.erase(gone);
        if (output->ready() && self->onOutputRemoved) self->onOutputRemoved(*output);
        return;
    }
    if (self->seat_ && name == self->seatName_) self->seat_.reset();
}

void Connection::outputReady(Output& output) {
    if (output.announced) {
        if (onOutputChanged) onOutputChanged(output);
        return;
    }
    output.announced = true;
    if (onOutputAdded) onOutputAdded(output);
}

std::vector<Output*> Connection::outputs() const {
    std::vector<Output*> ready;
    for (const auto& o : outputs_)
        if (o->ready()) ready.push_back(o.get());
    return ready;
}

void Connection::flush() {
    if (display_ && wl_display_flush(display_) < 0 && errno != EAGAIN)
        lose(QStringLiteral("the compositor closed the connection"));
}

bool Connection::roundtrip() {
    if (!display_ || wl_display_roundtrip(display_) < 0) {
        lose(QStringLiteral("the compositor closed the connection"));
        return false;
    }
    return true;
}

void Connection::dispatch() {
    if (!connected()) return;
    if (wl_display_dispatch(display_) < 0) {
        lose(QStringLiteral("the compositor closed the connection"));
        return;
    }
    flush();
}

void Connection::dispatchPending() {
    if (!connected()) return;
    if (wl_display_dispatch_pending(display_) < 0) {
        lose(QStringLiteral("the compositor closed the connection"));
        return;
    }
    flush();
}

void Connection::lose(const QString& why) {
    if (!error_.isEmpty()) return;
    error_ = why;
    if (notifier_) notifier_->setEnabled(false);
    if (onLost) onLost();
}

}  // namespace wayland
