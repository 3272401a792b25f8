// Which pointer moves count towards ending the saver: a move from a known
// place by more than 3 units in either direction. Over the effect's own
// picture the move is measured from the picture's corner, elsewhere in the
// display's units. Every surface that shows the saver (an X11 window, a
// Wayland layer surface) passes its moves here.
#pragma once

#include <QPointF>

#include "display/display_host.h"
#include "runtime/vb.h"

namespace display {

class Animation;

class PointerMoves {
public:
    explicit PointerMoves(DisplayHost& host) : host_(host) {}

    // The pointer moved to `at` (logical pixels) over a display showing
    // `animation` (null: none) that measures `unitsPerPixel` units a pixel
    // and shows the effect's pixels `windowPerEffect` times as large.
    void moved(QPointF at, const Animation* animation, double unitsPerPixel, QPointF windowPerEffect = {1, 1});
    // A move to (x, y) in the display's units, and one over the picture in
    // pixels from its corner.
    void displayMove(float x, float y) { count(displayLastX_, displayLastY_, x, y); }
    void pictureMove(float x, float y) { count(pictureLastX_, pictureLastY_, x, y); }

private:
    void count(vb::Integer& lastX, vb::Integer& lastY, float x, float y);

    DisplayHost& host_;
    // Last positions seen by each kind of move.
    vb::Integer displayLastX_ = 0, displayLastY_ = 0;
    vb::Integer pictureLastX_ = 0, pictureLastY_ = 0;
};

}  // namespace display
