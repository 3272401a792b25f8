// A surface without a window: it ticks an animation and keeps its frames in
// a QImage, painting only what each tick changed. Tests render effects with
// it, and so can any surface that is not a QWidget.
#pragma once

#include <QImage>

#include <memory>

#include "display/animation.h"

namespace display {

class HeadlessSurface {
public:
    // Frames of the animation's size, in device pixels `scale` times as many.
    explicit HeadlessSurface(std::unique_ptr<Animation> animation, qreal scale = 1);

    // Advances the animation to `now` and brings the frame up to date.
    // Returns when the animation wants its next tick. Raises Failure.
    Animation::Millis advanceTo(Animation::Millis now);
    // Brings the frame up to date with what changed since.
    void update();

    const QImage& frame() const { return frame_; }
    Animation& animation() { return *animation_; }

private:
    std::unique_ptr<Animation> animation_;
    QImage frame_;
};

}  // namespace display
