// Whether a window of another program is stacked above ours: a client that
// maps a window of its own (a notification, a hotkey's window) over the
// saver would otherwise sit above the lock for good.
#pragma once

#include <QWidget>

#include <vector>

namespace startup {

// True when some viewable top-level window that is not in `ours` lies above
// the lowest of `ours`. False off X11, or when none of `ours` is on screen.
bool ForeignWindowAbove(const std::vector<QWidget*>& ours);

}  // namespace startup
