#include "display/pointer_moves.h"

#include <cmath>

#include "display/animation.h"
#include "display/clamped_integer.h"

namespace display {

void PointerMoves::moved(QPointF at, const Animation* animation, double unitsPerPixel, QPointF windowPerEffect) {
    const QRect picture = animation ? animation->pictureArea() : QRect();
    // The picture's place is in the effect's pixels.
    const QPointF inEffect(at.x() / windowPerEffect.x(), at.y() / windowPerEffect.y());
    if (picture.contains(inEffect.toPoint())) {
        pictureMove(float(inEffect.x() - picture.left()), float(inEffect.y() - picture.top()));
        return;
    }
    displayMove(float(at.x() * unitsPerPixel), float(at.y() * unitsPerPixel));
}

void PointerMoves::count(vb::Integer& lastX, vb::Integer& lastY, float x, float y) {
    const float dx = std::fabs(x - float(lastX.value()));
    const float dy = std::fabs(y - float(lastY.value()));
    if ((dx > 3 || dy > 3) && lastX > 0 && lastY > 0) host_.CountMouseMove();
    // A position in twips on a wide screen can pass the 16-bit range; it is
    // kept at the limit rather than failing, since only nearness matters.
    lastX = ClampedInteger(x);
    lastY = ClampedInteger(y);
}

}  // namespace display
