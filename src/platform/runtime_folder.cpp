#include "platform/runtime_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A directory of our own that nobody else can enter. Ours is put right
// when someone loosened its mode; a link or a folder of another user is
// refused, since another user could then see or hold our lock.
bool MakePrivateFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return false;
    if ((info.st_mode & 0777) != 0700 && ::chmod(path.constData(), 0700) != 0) return false;
    return true;
}

}  // namespace

QString PrepareRuntimeFolder(const QString& tempRoot) {
    const QString given = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!given.isEmpty() && QFileInfo(given).isDir()) return given;
    const QString folder = QDir(tempRoot).filePath(QStringLiteral("glidorama-runtime-%1").arg(::getuid()));
    const QByteArray native = QFile::encodeName(folder);
    if (!MakePrivateFolder(native)) return tempRoot;
    qputenv("XDG_RUNTIME_DIR", native);
    return folder;
}

}  // namespace platform
