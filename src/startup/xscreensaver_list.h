// Glidorama's entry in XScreenSaver's list of savers, the "programs:"
// setting of ~/.xscreensaver. The daemon reads that setting as one value
// continued over many lines, each entry ending in "\n" and each line but the
// last in a backslash; a line outside that value is refused. Everything
// else in the file is kept byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace startup {

// The entry the edits add: the label XScreenSaver shows, then the command.
inline constexpr char kXScreenSaverEntry[] = "\"Glidorama\"  glidorama --root";

// The outcome of an edit of ~/.xscreensaver's text.
struct ListEdit {
    enum Outcome {
        Changed,    // `text` is the edited file
        Unchanged,  // Glidorama was listed already (or, removing, was not)
        NoList,     // neither the file nor the daemon's defaults hold a list
    };
    Outcome outcome = Unchanged;
    QByteArray text;
};

// The text with Glidorama first in the list. A file without a list of its
// own (or no file: empty text) takes the daemon's default list from
// `appDefaults` (its app-defaults file), since a list in the file replaces
// the defaults whole. "selected:" (the saver of "Only One Screen Saver",
// counted from 0) keeps naming the saver it named.
ListEdit WithGlidoramaListed(const QByteArray& file, const QByteArray& appDefaults);

// The text without Glidorama's entries. A list left empty is removed, so
// the daemon's defaults apply again.
ListEdit WithoutGlidorama(const QByteArray& file);

// Where the daemon's app-defaults file may be, in the order it looks.
QStringList XScreenSaverAppDefaults();

// "--install-xscreensaver" and "--uninstall-xscreensaver" on `path`
// (~/.xscreensaver): edits it in place, keeping a symbolic link and the
// file's permissions, and writes a line saying what happened to standard
// output (an error to standard error). Returns the exit status.
int AddToXScreenSaver(const QString& path, const QStringList& appDefaults);
int RemoveFromXScreenSaver(const QString& path);

}  // namespace startup
