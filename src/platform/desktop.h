// What the saver asks of the desktop: the key lock, where the pointer rests,
// and where its windows stand.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace platform {

// Where a window placed by placeWindow stands among the others.
enum class WindowLayer {
    OnTop,    // raised over every other window
    InPlace,  // left where it stands: in front of other programs, behind any window of ours shown later
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The key lock: while it is on, no other program can be reached.
    virtual void setKeyLock(bool on) = 0;
    virtual bool keyLockOn() const = 0;
    // Moves the pointer to `at`, or to the nearest point of the primary screen.
    virtual void parkPointer(QPoint at) = 0;
    // Shows `window` over `area` (cut to the monitor it covers most of: a
    // size past the screen still just covers it) in `layer`.
    virtual void placeWindow(QWidget* window, QRect area, WindowLayer layer) = 0;
};

}  // namespace platform
