#include "platform/single_instance.h"

#include <QDir>

#include <unistd.h>

namespace platform {

SingleInstance::SingleInstance(const QString& runtimeFolder) {
    const QString name = QStringLiteral("glidorama-%1.lock").arg(::getuid());
    lock_ = std::make_unique<QLockFile>(QDir(runtimeFolder).filePath(name));
    lock_->setStaleLockTime(0);  // a lock left by a dead process is taken over at once
    // Only a lock that another run holds means a previous instance; a
    // folder the lock cannot be written to must not silence every start.
    owned_ = lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError;
}

}  // namespace platform
