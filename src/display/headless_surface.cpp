#include "display/headless_surface.h"

#include <QPainter>

namespace display {

HeadlessSurface::HeadlessSurface(std::unique_ptr<Animation> animation, qreal scale)
    : animation_(std::move(animation)),
      frame_(animation_->size() * scale, QImage::Format_RGB32) {
    frame_.setDevicePixelRatio(scale);
    update();
}

Animation::Millis HeadlessSurface::advanceTo(Animation::Millis now) {
    const Animation::Millis due = animation_->tick(now);
    update();
    return due;
}

void HeadlessSurface::update() {
    // Moved pixels are painted again where they land: the frame is not a
    // screen that can move them.
    const QRegion changed = animation_->takeDamage().all();
    if (changed.isEmpty()) return;
    QPainter painter(&frame_);
    animation_->paint(painter, changed);
}

}  // namespace display
