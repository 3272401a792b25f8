// Where the program keeps its files. A build tree or a copied folder keeps
// everything beside the program. An installed copy (the install step leaves
// a marker in its shared data folder) keeps each user's settings under
// $XDG_CONFIG_HOME/glidorama/, each user's cached pictures under
// $XDG_DATA_HOME/glidorama/, and reads the sample pictures from the shared
// data folder. How the program was installed decides, never whether its
// folder happens to be writable, so root never writes beside an installed
// program.
#pragma once

#include <QString>

namespace platform {

struct FileLayout {
    QString settingsFolder;  // holds the settings file
    QString dataFolder;      // holds the cache folder
    QString samplesHome;     // holds the folder of sample pictures
    // The installed copy's shared data folder (its samples and their cached
    // copies); empty beside the program.
    QString sharedFolder;
    bool perUser() const { return !sharedFolder.isEmpty(); }
};

// The name of the marker file the install step puts in the shared data folder.
inline const QString kLayoutMarkerName = QStringLiteral("layout");
// Its content for an installed copy.
inline const QByteArray kPerUserMarker = QByteArrayLiteral("per-user");

// Everything in `programFolder`.
FileLayout BesideProgram(const QString& programFolder);

// The layout of the program in `programFolder`: per user when the marker
// sits in `programFolder`/`sharedFromProgram`, beside the program otherwise.
// `configHome` and `dataHome` are $XDG_CONFIG_HOME and $XDG_DATA_HOME
// (empty or relative ones fall back to ~/.config and ~/.local/share under `home`).
FileLayout LayoutFor(const QString& programFolder, const QString& sharedFromProgram, const QString& home,
                     const QString& configHome, const QString& dataHome);

// The layout of this program, from its folder, the install step's marker and
// the environment.
FileLayout ProgramLayout(const QString& programFolder);

// Makes `folder` and any missing parents (new ones private to the user).
// Returns whether it exists afterwards.
bool MakeFolder(const QString& folder);

}  // namespace platform
