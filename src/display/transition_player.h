// Plays a transition's copies onto the picture on show so that it can be
// seen: the copies are made in order, grouped into frames, and the caller
// shows each frame and waits for its time before the next group.
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
    // Called after each frame's copies, with the frame's number (from 0) and
    // the number of frames; returning false stops the transition there.
    using FrameDone = std::function<bool(int frame, int frames)>;

    static int FrameCount(size_t copies);

    // Makes every copy, in order, from `source` into `target`. Copies take the
    // same rectangle from the same constant source, so within a frame only
    // the part of their union not drawn before needs its pixels moved: a wipe
    // over a huge picture then costs one pass over it, not one per copy.
    static void Play(const std::vector<TransitionCopy>& copies, const QImage& source, QImage& target,
                     const CopyObserver& observer, const FrameDone& frameDone);
};

}  // namespace display
