#include "platform/file_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace platform {

namespace {

// The shared data folder, relative to the program's folder, as the build
// was configured to install them (bin/ and share/glidorama/ by default).
#ifndef GLIDORAMA_SHARED_FROM_PROGRAM
#define GLIDORAMA_SHARED_FROM_PROGRAM "../share/glidorama"
#endif

QString XdgFolder(const QString& variable, const QString& home, const QString& fallback) {
    // A relative path in an XDG variable is invalid and must be ignored.
    if (!variable.isEmpty() && QDir::isAbsolutePath(variable)) return QDir::cleanPath(variable);
    return QDir::cleanPath(home + u'/' + fallback);
}

bool HasPerUserMarker(const QString& sharedFolder) {
    QFile marker(sharedFolder + u'/' + kLayoutMarkerName);
    if (!marker.open(QIODevice::ReadOnly)) return false;
    return marker.readAll().trimmed() == kPerUserMarker;
}

}  // namespace

FileLayout BesideProgram(const QString& programFolder) {
    return FileLayout{programFolder, programFolder, programFolder, QString()};
}

FileLayout LayoutFor(const QString& programFolder, const QString& sharedFromProgram, const QString& home,
                     const QString& configHome, const QString& dataHome) {
    const QString shared = QDir::cleanPath(programFolder + u'/' + sharedFromProgram);
    if (sharedFromProgram.isEmpty() || !HasPerUserMarker(shared)) return BesideProgram(programFolder);
    FileLayout layout;
    layout.settingsFolder = XdgFolder(configHome, home, QStringLiteral(".config")) + QStringLiteral("/glidorama");
    layout.dataFolder = XdgFolder(dataHome, home, QStringLiteral(".local/share")) + QStringLiteral("/glidorama");
    layout.samplesHome = shared;
    layout.sharedFolder = shared;
    return layout;
}

FileLayout ProgramLayout(const QString& programFolder) {
    return LayoutFor(programFolder, QStringLiteral(GLIDORAMA_SHARED_FROM_PROGRAM), QDir::homePath(),
                     qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("XDG_DATA_HOME"));
}

bool MakeFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return true;
    // New folders of the user's own files are private to the user.
    const mode_t previous = ::umask(077);
    const bool made = QDir().mkpath(folder);
    ::umask(previous);
    return made && QFileInfo(folder).isDir();
}

}  // namespace platform
