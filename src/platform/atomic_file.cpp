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

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit on a chain of links

// The file a write to `path` must replace: the end of its chain of symbolic
// links, which need not exist yet. Empty when the chain loops.
QString LinkEnd(const QString& path) {
    QString at = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        const QFileInfo info(at);
        if (!info.isSymLink()) return at;
        at = info.symLinkTarget();  // absolute, resolved against the link's folder
    }
    return QString();
}

}  // namespace

bool WriteFileAtomically(const QString& linkOrPath, const QByteArray& bytes, const AtomicWriteOptions& options) {
    // Renaming over a link would replace the link itself with a plain file.
    const QString path = LinkEnd(linkOrPath);
    if (path.isEmpty()) return false;
    const QFileInfo target(path);
    if (!target.dir().exists()) return false;
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open()) return false;
    const QFileDevice::Permissions permissions =
        target.exists() && !options.alwaysNewFilePermissions ? QFile::permissions(path) : options.newFilePermissions;
    if (!temp.setPermissions(permissions)) return false;
    if (temp.write(bytes) != bytes.size() || !temp.flush()) return false;
    if (::fsync(temp.handle()) != 0) return false;
    temp.close();
    if (!options.rename(temp.fileName(), path)) return false;  // the temporary file is removed with `temp`
    temp.setAutoRemove(false);
    return true;
}

}  // namespace platform
