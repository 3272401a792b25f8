// Plays a transition's copies onto the picture on show so that it can be
// seen: the copies are made in order, grouped into frames, one frame at a
// time; the caller shows each frame and asks for the next at its time.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include <functional>
#include <vector>

#include "display/transition_copies.h"

namespace display {

// The pixels a copy covers: its rectangle rounded to whole pixels. The copy
// itself is clipped at the edges of both pictures.
QRect CopyArea(const TransitionCopy& copy);

// Copies `area` of `source` to the same place in `target`, clipped to both.
void CopyPixels(const QImage& source, QImage& target, const QRect& area);

class TransitionPlayer {
public:
    // About one second on screen at about 60 frames a second, whatever the
    // number of copies; fewer copies than frames give one copy a frame.
    static constexpr double kSeconds = 1.0;
    static constexpr int kMaxFrames = 60;

    using CopyObserver = std::function<void(const TransitionCopy&)>;

    static int FrameCount(size_t copies);

    explicit TransitionPlayer(std::vector<TransitionCopy> copies);

    int frames() const { return frames_; }
    // The number of the next frame to draw (from 0); frames() once all are drawn.
    int nextFrame() const { return frame_; }
    bool done() const { return frame_ >= frames_; }

    // Makes the next frame's copies, in order, from `source` into `target`.
    // Copies take the same rectangle from the same constant source, so
    // within a frame only the part of their union not drawn before needs its
    // pixels moved: a wipe over a huge picture then costs one pass over it,
    // not one per copy.
    void drawFrame(const QImage& source, QImage& target, const CopyObserver& observer);

private:
    std::vector<TransitionCopy> copies_;
    int frames_;
    int frame_ = 0;
    size_t next_ = 0;
    QRegion drawn_;
};

}  // namespace display
