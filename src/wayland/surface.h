// A wl_surface that shows a display::Animation, whatever its role (a layer
// surface, a lock surface). Two wl_shm buffers take turns: each frame paints
// into the free one only what it lacks, attaches it and declares only the
// changed rectangles as damage. Ticks wait for the compositor's frame
// callback, so an output that shows nothing (hidden, switched off) costs
// nothing. Buffers are at device pixels: the output's integer scale, or the
// fractional scale the compositor prefers where it offers one. The effect
// lays out in those device pixels over the picture scale, so a 3840 x 2160
// output shows the composition of a 1920 x 1080 one, as on X11.
//
// The role object creates the role on handle(), commits once without a
// buffer, and calls configure() with the logical size from its configure
// event (after acking it).
#pragma once

#include <QColor>
#include <QRegion>
#include <QSize>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

#include "display/animation.h"
#include "display/display_host.h"

struct wl_surface;
struct wl_callback;
struct wp_viewport;
struct wp_fractional_scale_v1;

namespace platform {
class Clock;
}

namespace wayland {

class Connection;
class ShmBuffer;

class Surface {
public:
    // Makes what the surface shows at `size` (the frame's pixels), drawn
    // at `pictureScale` device pixels to one; may return null (only
    // `background` shows) and may raise display::Failure.
    using MakeAnimation = std::function<std::unique_ptr<display::Animation>(QSize size, double pictureScale)>;
    // What becomes of a failure of the animation (see display::FailureOutcome).
    using Failed = std::function<display::FailureOutcome(const QString& message)>;

    // `pictureScalePercent` as in the settings (0: Automatic).
    Surface(Connection& connection, platform::Clock& clock, MakeAnimation make, Failed failed, QColor background,
            int pictureScalePercent);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    wl_surface* handle() const { return surface_; }
    // The role's size in logical pixels: the animation is made (or resized)
    // and the first frame drawn at once.
    void configure(QSize logicalSize);
    // The integer scale of the output the surface is on; ignored where the
    // compositor tells a fractional one.
    void setOutputScale(int scale);
    // Stops ticking: the surface keeps its last frame.
    void standStill();

    display::Animation* animation() const { return animation_.get(); }
    QSize logicalSize() const { return logicalSize_; }
    // Device pixels per logical pixel.
    double scale() const;
    // Logical pixels to one pixel of the frame the animation draws.
    double logicalPerFramePixel() const;
    // Frames attached and committed so far.
    int framesCommitted() const { return framesCommitted_; }

private:
    // Makes the animation and starts ticking it.
    void start();
    void tick();
    void schedule(display::Animation::Millis due);
    // Paints what changed into a free buffer and commits it.
    void present();
    void rescale();
    void frameDone();
    display::Animation::Millis now() const;

    Connection& connection_;
    platform::Clock& clock_;
    MakeAnimation make_;
    Failed failed_;
    QColor background_;
    wl_surface* surface_ = nullptr;
    wp_viewport* viewport_ = nullptr;
    wp_fractional_scale_v1* fractional_ = nullptr;
    std::unique_ptr<display::Animation> animation_;
    std::array<std::unique_ptr<ShmBuffer>, 2> buffers_;
    ShmBuffer* newest_ = nullptr;  // the buffer drawn last (null: none yet)
    QSize logicalSize_;
    int pictureScalePercent_;
    // What the animation draws in, and the device pixels to one of its pixels.
    QSize frameSize_;
    double frameScale_ = 1;
    int outputScale_ = 1;
    int scale120_ = 0;  // the fractional scale in 120ths; 0 while none was told
    // Changed since the last commit (frame pixels): the damage to declare.
    QRegion unshown_;
    wl_callback* frameCallback_ = nullptr;
    bool tickWaiting_ = false;  // a tick fell due while the last frame was not yet shown
    bool stopped_ = false;
    bool made_ = false;
    int framesCommitted_ = 0;
    QTimer tickTimer_;
    QTimer bufferRetry_;
};

}  // namespace wayland
