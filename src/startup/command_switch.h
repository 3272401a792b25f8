// The switch that chooses what the program does: the first two characters
// of the command line (the text after the program name), in either case.
#pragma once

#include <QString>

namespace startup {

enum class CommandSwitch {
    Settings,    // "/c": the settings dialog
    FullScreen,  // "/s": the saver itself
    Preview,     // "/p": the preview picture drawn into a window
    None,        // anything else: the program ends at once
};

inline CommandSwitch ParseCommandSwitch(const QString& commandLine) {
    const QString choice = commandLine.left(2).toLower();
    if (choice == QLatin1String("/c")) return CommandSwitch::Settings;
    if (choice == QLatin1String("/s")) return CommandSwitch::FullScreen;
    if (choice == QLatin1String("/p")) return CommandSwitch::Preview;
    return CommandSwitch::None;
}

}  // namespace startup
