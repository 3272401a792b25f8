// What keeps a locked screen covered against other programs: a plain window
// over the whole screen under ours, and our windows kept where we put them,
// shown, whole and on top. Each windowing system has its own; X11's is in
// x11_screen_guard.cpp.
#pragma once

#include <QColor>
#include <QRect>

#include <functional>
#include <memory>

class QWidget;

namespace startup {

class ScreenGuard {
public:
    virtual ~ScreenGuard() = default;
    // `window` stays shown (while the program shows it), over `area`,
    // unshaped, a child of the screen itself, its exposed parts painted in
    // `background`. Windows in a higher `layer` stay in front.
    virtual void keep(QWidget* window, QRect area, int layer, QColor background) = 0;
    virtual void forget(QWidget* window) = 0;
    // Waits until the screen is covered; false when it never is.
    virtual bool waitUntilCovering() = 0;
};

// The guard of the windowing system the program runs on; null where it has
// none. `destroyed` runs when another program destroyed a kept window: the
// program makes it again. The guard acts only while `active` says so (the
// key lock is on). Throws when the screen cannot be covered.
std::unique_ptr<ScreenGuard> OpenScreenGuard(std::function<void(QWidget*)> destroyed, std::function<bool()> active);

}  // namespace startup
