// What the Float effect needs of the surface that shows it: its two picture
// boxes, the screen size, and the ways to show a frame and to report a
// failure.
#pragma once

#include <QString>

#include "runtime/picture_box.h"

namespace display {

class FloatHost {
public:
    virtual ~FloatHost() = default;
    // The picture on show, moved by Left and Top in twips over the form.
    virtual platform::PictureBox& FirstPicture() = 0;
    // The staging box of animated transitions; never shown.
    virtual platform::PictureBox& SecondPicture() = 0;
    // Screen.Width and Screen.Height, in twips.
    virtual double ScreenWidth() const = 0;
    virtual double ScreenHeight() const = 0;
    // Shows the current state of the picture boxes on screen at the next frame.
    virtual void presentPictures() = 0;
    // A picture of the show failed: the host reports it (FloatAnimation
    // raises it from its tick, for the display's host to decide on).
    virtual void failAndEnd(const QString& message) = 0;
    // Whether failAndEnd returns with the display going on (inside a host's
    // window), so the show passes over the picture that failed.
    virtual bool passesOverFailures() const { return false; }
    // Device pixels to a pixel of the screen above: pictures are also made
    // this much larger, to be shown sharp.
    virtual double pictureScale() const { return 1; }
};

}  // namespace display
