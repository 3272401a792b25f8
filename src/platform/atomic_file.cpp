#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace platform {

bool PosixRename(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, const AtomicWriteOptions& options) {
    const QFileInfo target(path);
    if (!target.dir().exists()) return false;
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open()) return false;
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(path) : options.newFilePermissions;
    if (!temp.setPermissions(permissions)) return false;
    if (temp.write(bytes) != bytes.size() || !temp.flush()) return false;
    if (::fsync(temp.handle()) != 0) return false;
    temp.close();
    if (!options.rename(temp.fileName(), path)) return false;  // the temporary file is removed with `temp`
    temp.setAutoRemove(false);
    return true;
}

}  // namespace platform
