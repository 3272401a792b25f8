// The options that do their job and end before any window is opened:
// "--help", "--version", and adding Glidorama to XScreenSaver's list of
// savers or taking it out again.
#pragma once

#include <QStringList>

#include <optional>

namespace startup {

// The exit status when the first argument is one of these options; none
// (the program goes on) otherwise.
std::optional<int> RunInformationOption(const QStringList& arguments);

}  // namespace startup
