// The command-line conventions of the desktop screen-saver hosts
// (XScreenSaver, xsecurelock, MATE, Xfce): "--root" draws into the window
// named by XSCREENSAVER_WINDOW (the root window without it), "--window-id ID"
// into window ID. Recognised before the two-character switches.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace startup {

struct HostedOptions {
    // The X11 window to draw into; 0 is the root window.
    uint32_t window = 0;
    // The effect's number (0-7) for this run, overriding the settings file; none keeps the file's.
    std::optional<int> effect;
    // The text that named the window, for messages.
    QString windowText;
};

// The result of reading the command line for hosted mode.
struct HostedParse {
    bool hosted = false;                   // a host's option was given
    std::optional<HostedOptions> options;  // unset when the window could not be read
    QString error;                         // why not, when hosted and unreadable
    QString warning;                       // an option that was passed over (an unknown effect)
};

// A window id as the hosts write it: "0x" hex, or decimal. None for text
// that is neither, or a number past 32 bits.
std::optional<uint32_t> ParseWindowId(const QString& text);

// The effect named by "--effect NAME": its caption in any case with or
// without spaces and punctuation ("Deck of Cards", "deck-of-cards",
// "splat"), or its stored number.
std::optional<int> ParseEffectName(const QString& text);

// Reads the arguments after the program name. `saverWindow` is the value of
// XSCREENSAVER_WINDOW (empty when unset). "--window-id" wins over "--root";
// other options beginning with "-" are ignored in hosted mode.
HostedParse ParseHostedOptions(const QStringList& arguments, const QString& saverWindow);

}  // namespace startup
