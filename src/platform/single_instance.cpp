#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {

QString SingleInstance::defaultRuntimeFolder() {
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir(QString::fromLocal8Bit(xdg)).exists()) return QString::fromLocal8Bit(xdg);
    return QDir::tempPath();
}

SingleInstance::SingleInstance(const QString& runtimeFolder) {
    const QString name = QStringLiteral("glidorama-%1.lock").arg(::getuid());
    lock_ = std::make_unique<QLockFile>(QDir(runtimeFolder).filePath(name));
    lock_->setStaleLockTime(0);  // a lock left by a dead process is taken over at once
    owned_ = lock_->tryLock(0);
}

}  // namespace platform
