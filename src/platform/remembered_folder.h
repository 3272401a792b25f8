// The folder the user last picked pictures from, remembered across runs in
// a small per-user state file (not the settings file, which only "&OK"
// writes): $XDG_STATE_HOME/glidorama/last-picture-folder, or the same under
// ~/.local/state.
#pragma once

#include <QString>

namespace platform {

// The remembered folder if it still exists; otherwise the user's pictures
// folder, or the home folder.
QString RememberedPictureFolder();
// Remembers `folder`; a failure to write only costs the convenience.
void RememberPictureFolder(const QString& folder);

}  // namespace platform
