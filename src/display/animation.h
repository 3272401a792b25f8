// An animation: one effect's running state and its life, as a screen-saver
// hack lives it. It is made with the frame's size and the run's settings and
// pictures (the effect's factory, see effect_table.h); the surface that shows
// it owns the clock, the loop, the window and the input, and calls:
//   tick(now)    advance the state to `now` and say when to come back,
//   takeDamage() what changed on screen since the last call,
//   paint()      draw any area of the frame from the current state,
//   resize()     the frame took a new size.
// Nothing here knows a window: the X11 window, a headless QImage and a
// Wayland surface show an animation the same way.
//
// Sizes and positions are in logical pixels. A surface with a scale (HiDPI)
// paints through a QPainter on device pixels whose transform carries the
// scale (a QImage with its devicePixelRatio set, or a widget's painter); an
// animation that wants sharp pictures reads the scale from
// painter.device()->devicePixelRatio().
#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>
#include <limits>
#include <vector>

class QImage;
class QPainter;

namespace display {

// A failure of the effect: a picture that cannot be loaded or used. The
// animation raises it from its factory or from tick() and leaves the state
// as it was before the failing step; it never shows a message or ends the
// program itself. The surface asks its host what becomes of it (see
// FailureOutcome in display_host.h).
struct Failure {
    QString message;
};

// What changed on screen: `region` is painted afresh. When `scrollBy` is not
// null, the pixels in `scrolled` moved by `scrollBy` first, and a surface that
// can move pixels on screen (a window) may move them instead of painting them
// again; `region` then holds only what the move does not bring. A surface
// that cannot move pixels paints `scrolled` moved by `scrollBy` too.
// `rects` are more areas painted afresh, possibly overlapping: many small
// changes are cheaper listed than merged into one region.
struct Damage {
    QRegion region;
    std::vector<QRect> rects;
    QRect scrolled;
    QPoint scrollBy;

    bool isEmpty() const { return region.isEmpty() && rects.empty() && scrollBy.isNull(); }
    // Everything on screen that differs after this damage is shown.
    QRegion all() const {
        QRegion changed = region;
        for (const QRect& r : rects) changed += r;
        return scrollBy.isNull() ? changed : changed | scrolled | scrolled.translated(scrollBy);
    }
};

class Animation {
public:
    // A time on the display's clock, in milliseconds (a steady clock; tests
    // pass fake times).
    using Millis = double;
    static constexpr Millis kNever = std::numeric_limits<double>::infinity();

    virtual ~Animation() = default;

    // Advances the state to `now`: runs every step due by then, in the order
    // they fall due (an effect with several paces keeps each schedule apart).
    // Returns the time of the next step wanted, or kNever while nothing is
    // scheduled. Called first with the start time; a surface calls it again
    // at or after the time returned, never before. Raises Failure.
    virtual Millis tick(Millis now) = 0;

    // What changed on screen since the last call (everything after a start
    // or a resize).
    virtual Damage takeDamage() = 0;

    // Draws `area` of the frame, as the state is now, in logical pixels.
    // Every pixel of `area` is written (opaque), so the surface need not
    // clear it first. Paints only; never changes the state.
    virtual void paint(QPainter& painter, const QRegion& area) const = 0;

    // The frame has a new logical size: the whole frame is damaged.
    virtual void resize(QSize size) = 0;

    // The animation's size.
    virtual QSize size() const = 0;

    // Where the effect's own picture is on screen (logical pixels), empty
    // when it has none: a click there does not end the saver, and a move
    // there is measured from the picture's corner.
    virtual QRect pictureArea() const { return QRect(); }
    // The units the effect measures the display in, per logical pixel (15
    // for twips): the display's scale, in which a pointer move of more than
    // 3 units counts towards ending the saver.
    virtual double unitsPerPixel() const { return 1; }

    // An animation that keeps its whole frame as one RGB32 image at device
    // pixels lets a window make that image where the window system reads it
    // (so a change goes to the screen without another copy of the frame),
    // and be shown from it: it takes `make` for the image and says yes.
    // `make` may return a null image; the animation then makes its own.
    using ImageMaker = std::function<QImage(QSize devicePixels)>;
    virtual bool keepFrameIn(ImageMaker) { return false; }
    // That frame as it is now, for an animation that said yes.
    virtual const QImage* frame() const { return nullptr; }
};

}  // namespace display
