// What other programs can do to our windows on X11: stack a window of their
// own above ours (a notification, a hotkey's window), or unmap ours. Left
// alone, either would uncover the desktop for good.
#pragma once

#include <QWidget>

#include <vector>

namespace startup {

// True when some viewable top-level window that is not in `ours` lies above
// the lowest of `ours`. False off X11, or when none of `ours` is on screen.
bool ForeignWindowAbove(const std::vector<QWidget*>& ours);

// Maps again, on top, every window of `ours` that Qt shows but that another
// program unmapped behind its back. Returns how many it mapped.
int MapAgainUnmapped(const std::vector<QWidget*>& ours);

}  // namespace startup
