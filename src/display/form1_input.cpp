// Input on the display: a click or a key asks to end the saver, wherever it
// lands; a mouse move counts towards ending it when it comes from a known
// place and is long enough. Over the effect's own picture the picture's
// handler counts moves.
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

#include "display/clamped_integer.h"
#include "display/form1.h"

namespace display {

void Form1::Form_MouseDown(int, int, float, float) { host_.RequestExit(); }

void Form1::Form_KeyDown(int, int) { host_.RequestExit(); }

void Form1::moveFilter(vb::Integer& lastX, vb::Integer& lastY, float x, float y) {
    const float dx = std::fabs(x - float(lastX.value()));
    const float dy = std::fabs(y - float(lastY.value()));
    if ((dx > 3 || dy > 3) && lastX > 0 && lastY > 0) host_.CountMouseMove();
    // A position in twips on a wide screen can pass the 16-bit range; it is
    // kept at the limit rather than failing, since only nearness matters.
    lastX = ClampedInteger(x);
    lastY = ClampedInteger(y);
}

void Form1::Form_MouseMove(int, int, float x, float y) { moveFilter(formLastMoveX_, formLastMoveY_, x, y); }

void Form1::FirstPicture_MouseMove(int, int, float x, float y) {
    moveFilter(pictureLastMoveX_, pictureLastMoveY_, x, y);
}

void Form1::keyPressEvent(QKeyEvent* event) { Form_KeyDown(event->key(), int(event->modifiers())); }

void Form1::mousePressEvent(QMouseEvent* event) {
    // Every click ends the saver, on the Float picture too: where the picture
    // happens to be under the pointer is chance, and a click that sometimes
    // does nothing looks like a saver that does not answer.
    Form_MouseDown(int(event->button()), int(event->modifiers()), float(event->position().x() * unitsPerPixel_),
                   float(event->position().y() * unitsPerPixel_));
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const QRect picture = animation_ ? animation_->pictureArea() : QRect();
    // The picture's place is in the effect's pixels.
    const QPointF per = windowPerEffect();
    const QPointF inEffect(at.x() / per.x(), at.y() / per.y());
    if (picture.contains(inEffect.toPoint())) {
        FirstPicture_MouseMove(int(event->buttons()), int(event->modifiers()), float(inEffect.x() - picture.left()),
                               float(inEffect.y() - picture.top()));
        return;
    }
    Form_MouseMove(int(event->buttons()), int(event->modifiers()), float(at.x() * unitsPerPixel_),
                   float(at.y() * unitsPerPixel_));
}

}  // namespace display
