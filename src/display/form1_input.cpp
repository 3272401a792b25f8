// Input on the display: a click or a key asks to end the saver, wherever it
// lands; a mouse move counts towards ending it by the rule in pointer_moves.h.
#include <QKeyEvent>
#include <QMouseEvent>

#include "display/form1.h"

namespace display {

void Form1::Form_MouseDown(int, int, float, float) { host_.RequestExit(); }

void Form1::Form_KeyDown(int, int) { host_.RequestExit(); }

void Form1::Form_MouseMove(int, int, float x, float y) { pointerMoves_.displayMove(x, y); }

void Form1::FirstPicture_MouseMove(int, int, float x, float y) { pointerMoves_.pictureMove(x, y); }

void Form1::keyPressEvent(QKeyEvent* event) { Form_KeyDown(event->key(), int(event->modifiers())); }

void Form1::mousePressEvent(QMouseEvent* event) {
    // Every click ends the saver, on the Float picture too: where the picture
    // happens to be under the pointer is chance, and a click that sometimes
    // does nothing looks like a saver that does not answer.
    Form_MouseDown(int(event->button()), int(event->modifiers()), float(event->position().x() * unitsPerPixel_),
                   float(event->position().y() * unitsPerPixel_));
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    pointerMoves_.moved(event->position(), animation_.get(), unitsPerPixel_, windowPerEffect());
}

}  // namespace display
