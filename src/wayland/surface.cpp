#include "wayland/surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <fractional-scale-v1-client-protocol.h>
#include <viewporter-client-protocol.h>
#include <wayland-client-protocol.h>

#include "display/animation_start.h"
#include "runtime/clock.h"
#include "wayland/connection.h"
#include "wayland/shm_buffer.h"

namespace wayland {

namespace {
// Past this many rectangles a damage is sent as its bounding rectangle:
// the compositor gains nothing from a long list. (What is painted and
// copied stays exact: a bounding rectangle of scattered pictures is most
// of the screen.)
constexpr int kMostDamageRects = 64;

// The whole device pixels under a frame's rectangle at `scale`.
QRect DeviceRect(const QRect& r, double scale) {
    const int left = int(std::floor(r.left() * scale)), top = int(std::floor(r.top() * scale));
    const int right = int(std::ceil((r.right() + 1) * scale)), bottom = int(std::ceil((r.bottom() + 1) * scale));
    return QRect(left, top, right - left, bottom - top);
}

// Copies `area` (frame pixels) between two frames of one size.
void CopyArea(QImage& to, const QImage& from, const QRegion& area, double scale) {
    const QRect bounds = to.rect();
    for (const QRect& logical : area) {
        const QRect r = DeviceRect(logical, scale) & bounds;
        const size_t bytes = size_t(r.width()) * 4;
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(to.scanLine(y) + r.left() * 4, from.constScanLine(y) + r.left() * 4, bytes);
    }
}
}  // namespace

Surface::Surface(Connection& connection, platform::Clock& clock, MakeAnimation make, Failed failed, QColor background,
                 int pictureScalePercent)
    : connection_(connection),
      clock_(clock),
      make_(std::move(make)),
      failed_(std::move(failed)),
      background_(background),
      pictureScalePercent_(pictureScalePercent) {
    const Globals& globals = connection_.globals();
    surface_ = wl_compositor_create_surface(globals.compositor);
    if (globals.fractionalScale && globals.viewporter) {
        viewport_ = wp_viewporter_get_viewport(globals.viewporter, surface_);
        fractional_ = wp_fractional_scale_manager_v1_get_fractional_scale(globals.fractionalScale, surface_);
        static const wp_fractional_scale_v1_listener listener = {
            .preferred_scale =
                [](void* data, wp_fractional_scale_v1*, uint32_t scale) {
                    auto* self = static_cast<Surface*>(data);
                    if (int(scale) == self->scale120_) return;
                    self->scale120_ = int(scale);
                    self->rescale();
                },
        };
        wp_fractional_scale_v1_add_listener(fractional_, &listener, this);
    }
    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tickTimer_, &QTimer::timeout, [this] { tick(); });
    // Both buffers held by the compositor: the frame waits a little.
    bufferRetry_.setSingleShot(true);
    bufferRetry_.setInterval(4);
    QObject::connect(&bufferRetry_, &QTimer::timeout, [this] { present(); });
}

Surface::~Surface() {
    if (frameCallback_) wl_callback_destroy(frameCallback_);
    if (fractional_) wp_fractional_scale_v1_destroy(fractional_);
    if (viewport_) wp_viewport_destroy(viewport_);
    buffers_ = {};
    wl_surface_destroy(surface_);
    connection_.flush();
}

double Surface::scale() const { return scale120_ > 0 ? scale120_ / 120.0 : outputScale_; }

double Surface::logicalPerFramePixel() const { return frameScale_ / scale(); }

display::Animation::Millis Surface::now() const { return clock_.monotonicSeconds() * 1000; }

void Surface::configure(QSize logicalSize) {
    if (logicalSize.isEmpty()) return;
    logicalSize_ = logicalSize;
    // The output is covered at once with the background; the animation,
    // which may load pictures for a while, is made once every output has
    // had its first frame.
    rescale();
    if (!made_) {
        made_ = true;
        QTimer::singleShot(0, &tickTimer_, [this] { start(); });
        return;
    }
    if (animation_ && !stopped_) {
        tickTimer_.stop();
        tick();
    }
}

void Surface::start() {
    try {
        animation_ = make_(frameSize_, frameScale_);
    } catch (const display::Failure& failure) {
        if (failed_(failure.message) != display::FailureOutcome::PassOver) stopped_ = true;
    }
    if (!animation_ || stopped_) return;
    tickTimer_.stop();
    tick();
}

void Surface::setOutputScale(int scale) {
    scale = std::max(scale, 1);
    if (scale == outputScale_) return;
    outputScale_ = scale;
    if (scale120_ == 0) rescale();
}

void Surface::rescale() {
    if (logicalSize_.isEmpty()) return;
    const QSize device(int(std::lround(logicalSize_.width() * scale())),
                       int(std::lround(logicalSize_.height() * scale())));
    const display::EffectLayout layout = display::LayOut(device, pictureScalePercent_);
    // A new size or scale keeps the animation and its pictures: it is laid
    // out again in the new frame.
    if (animation_ && layout.size != frameSize_) animation_->resize(layout.size);
    frameSize_ = layout.size;
    frameScale_ = layout.scale;
    if (!buffers_[0] || buffers_[0]->size() != device || buffers_[0]->image().devicePixelRatio() != frameScale_) {
        newest_ = nullptr;
        for (auto& buffer : buffers_) {
            buffer = std::make_unique<ShmBuffer>(connection_.globals().shm, device);
            buffer->image().setDevicePixelRatio(frameScale_);
            buffer->stale = QRect(QPoint(0, 0), frameSize_);
        }
        if (!buffers_[0]->valid() || !buffers_[1]->valid()) {
            // Nothing could be shown: the run ends rather than cover nothing.
            buffers_ = {};
            standStill();
            failed_(QStringLiteral("Not enough shared memory for a %1 x %2 frame.")
                        .arg(device.width())
                        .arg(device.height()));
            return;
        }
    }
    if (viewport_) {
        wl_surface_set_buffer_scale(surface_, 1);
        wp_viewport_set_destination(viewport_, logicalSize_.width(), logicalSize_.height());
    } else {
        wl_surface_set_buffer_scale(surface_, outputScale_);
    }
    wl_region* opaque = wl_compositor_create_region(connection_.globals().compositor);
    wl_region_add(opaque, 0, 0, logicalSize_.width(), logicalSize_.height());
    wl_surface_set_opaque_region(surface_, opaque);
    wl_region_destroy(opaque);
    unshown_ = QRect(QPoint(0, 0), frameSize_);
    present();
}

void Surface::standStill() {
    stopped_ = true;
    tickTimer_.stop();
}

void Surface::tick() {
    if (stopped_ || !animation_) return;
    // The last frame is not on screen yet (or the output shows nothing):
    // the tick waits for the compositor to ask for the next frame.
    if (frameCallback_) {
        tickWaiting_ = true;
        return;
    }
    tickWaiting_ = false;
    display::Animation::Millis due = display::Animation::kNever;
    const display::Animation::Millis at = now();
    try {
        due = animation_->tick(at);
    } catch (const display::Failure& failure) {
        // The step that failed is passed over when the surface goes on.
        if (failed_(failure.message) != display::FailureOutcome::PassOver) {
            standStill();
            return;
        }
        due = at;
    }
    present();
    schedule(due);
}

void Surface::schedule(display::Animation::Millis due) {
    if (stopped_ || due == display::Animation::kNever) return;
    const double wait = std::clamp(due - now(), 0.0, double(std::numeric_limits<int>::max()));
    tickTimer_.start(int(std::lround(wait)));
}

void Surface::present() {
    if (animation_) unshown_ += animation_->takeDamage().all();
    if (unshown_.isEmpty() || !buffers_[0]) return;
    for (auto& buffer : buffers_) buffer->stale += unshown_;
    auto free = std::find_if(buffers_.begin(), buffers_.end(), [](const auto& b) { return !b->busy; });
    if (free == buffers_.end()) {
        bufferRetry_.start();
        return;
    }
    ShmBuffer& buffer = **free;
    // What changed before the last frame is in the last frame's buffer: a
    // copy is cheaper than painting it again.
    QRegion toPaint = buffer.stale;
    if (newest_ && newest_ != &buffer) {
        CopyArea(buffer.image(), newest_->image(), buffer.stale - unshown_, frameScale_);
        toPaint = unshown_;
    }
    {
        QPainter painter(&buffer.image());
        if (animation_) {
            animation_->paint(painter, toPaint);
        } else {
            for (const QRect& r : toPaint) painter.fillRect(r, background_);
        }
    }
    buffer.stale = QRegion();
    newest_ = &buffer;
    buffer.busy = true;
    wl_surface_attach(surface_, buffer.handle(), 0, 0);
    const QRegion damage = unshown_.rectCount() > kMostDamageRects ? QRegion(unshown_.boundingRect()) : unshown_;
    for (const QRect& r : damage) {
        const QRect device = DeviceRect(r, frameScale_);
        wl_surface_damage_buffer(surface_, device.x(), device.y(), device.width(), device.height());
    }
    unshown_ = QRegion();
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, uint32_t) { static_cast<Surface*>(data)->frameDone(); }};
    if (!frameCallback_) {
        frameCallback_ = wl_surface_frame(surface_);
        wl_callback_add_listener(frameCallback_, &listener, this);
    }
    wl_surface_commit(surface_);
    ++framesCommitted_;
    connection_.flush();
}

void Surface::frameDone() {
    wl_callback_destroy(frameCallback_);
    frameCallback_ = nullptr;
    if (tickWaiting_) tick();
}

}  // namespace wayland
