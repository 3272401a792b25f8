// A user's first run of an installed copy.
#pragma once

#include "platform/file_layout.h"

namespace startup {

// For a user with no settings file and no cached pictures of their own,
// copies the installed samples' cached copies into the user's cache folder,
// so the saver shows the samples before the settings were ever opened.
// Nothing happens beside the program, or once the user has files.
void SeedUserFiles(const platform::FileLayout& layout);

}  // namespace startup
