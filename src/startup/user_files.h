// A user's first run: of an installed copy, or of a program copied alone.
#pragma once

#include <QString>

#include "platform/file_layout.h"

namespace startup {

// For a user with no settings file and no cached pictures of their own,
// copies the installed samples' cached copies into the user's cache folder,
// so the saver shows the samples before the settings were ever opened.
// Beside the program, with no settings file yet, lays down the sample
// pictures the program carries (where they are missing) and their cached
// copies (where there are none), so a program copied alone into an empty
// folder starts as a fresh build does. Nothing happens once the user has
// settings. The copies are for picture scale `scale` (the largest
// monitor's): where it is above 1, the samples are converted for it instead
// of taking the copies made for scale 1 by the build or the installation.
// A folder or sample that cannot be made is said on standard error, naming
// it and why; the same line is returned (empty when all went well).
QString SeedUserFiles(const platform::FileLayout& layout, double scale);

}  // namespace startup
