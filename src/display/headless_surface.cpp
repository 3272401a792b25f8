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
    const Damage damage = animation_->takeDamage();
    if (damage.isEmpty()) return;
    QPainter painter(&frame_);
    // Listed areas are painted one by one: an overlap is painted twice
    // rather than merged.
    for (const QRect& r : damage.rects) animation_->paint(painter, r);
    Damage rest = damage;
    rest.rects.clear();
    const QRegion changed = rest.all();
    if (!changed.isEmpty()) animation_->paint(painter, changed);
}

}  // namespace display
