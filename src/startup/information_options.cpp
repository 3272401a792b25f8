#include "startup/information_options.h"

#include <QDir>

#include <cstdio>

#include "display/effect_table.h"
#include "startup/xscreensaver_list.h"

namespace startup {

namespace {

constexpr char kHelp[] =
    "Usage: glidorama /s | /c | /p WINDOW\n"
    "       glidorama --root | --window-id WINDOW [--effect NAME]\n"
    "       glidorama --install-xscreensaver | --uninstall-xscreensaver\n"
    "\n"
    "A picture screen saver: your own pictures glide, warp, shuffle and float\n"
    "across the screen.\n"
    "\n"
    "  /s                        run the saver full screen (locked when a\n"
    "                            password is set)\n"
    "  /c                        open the settings dialog\n"
    "  /p WINDOW                 draw the preview picture into an X11 window\n"
    "                            (0: the root window)\n"
    "  --x11                     with /s on a Wayland session: run on X11\n"
    "                            (XWayland) instead\n"
    "  --root                    run inside the window named by\n"
    "                            XSCREENSAVER_WINDOW (else the root window)\n"
    "  --window-id WINDOW        run inside window WINDOW (0x... or decimal)\n"
    "  --effect NAME             with --root or --window-id:";

constexpr char kHelpAfterEffects[] =
    "  --install-xscreensaver    add Glidorama to the savers in ~/.xscreensaver\n"
    "  --uninstall-xscreensaver  take it out of that list again\n"
    "  --help                    show this help\n"
    "  --version                 show the version\n"
    "\n"
    "More in the manual page: man glidorama\n";

// The help: every effect's command-line name after "--effect", wrapped
// under the option's description.
QByteArray HelpText() {
    constexpr int kIndent = 28, kWidth = 76;
    QByteArray text = kHelp;
    int column = int(text.size() - text.lastIndexOf('\n') - 1);
    const auto effects = display::Effects();
    for (size_t n = 0; n < effects.size(); ++n) {
        QByteArray word = effects[n].commandName;
        if (n + 1 == effects.size()) word.prepend("or ");
        if (n + 2 < effects.size()) word.append(',');
        if (column + 1 + word.size() > kWidth) {
            text += '\n' + QByteArray(kIndent - 1, ' ');
            column = kIndent - 1;
        }
        text += ' ' + word;
        column += 1 + int(word.size());
    }
    return text + '\n' + kHelpAfterEffects;
}

}  // namespace

std::optional<int> RunInformationOption(const QStringList& arguments) {
    if (arguments.isEmpty()) return std::nullopt;
    const QString& option = arguments.front();
    if (option == QLatin1String("--help")) {
        std::fputs(HelpText().constData(), stdout);
        return 0;
    }
    if (option == QLatin1String("--version")) {
        std::fputs("glidorama " GLIDORAMA_VERSION "\n", stdout);
        return 0;
    }
    const QString xscreensaverFile = QDir::homePath() + QStringLiteral("/.xscreensaver");
    if (option == QLatin1String("--install-xscreensaver"))
        return AddToXScreenSaver(xscreensaverFile, XScreenSaverAppDefaults());
    if (option == QLatin1String("--uninstall-xscreensaver")) return RemoveFromXScreenSaver(xscreensaverFile);
    return std::nullopt;
}

}  // namespace startup
