#include "platform/single_instance.h"

#include <QDir>

#include <unistd.h>

namespace platform {

SingleInstance::SingleInstance(const QString& runtimeFolder) {
    const QString name = QStringLiteral("glidorama-%1.lock").arg(::getuid());
    lock_ = std::make_unique<QLockFile>(QDir(runtimeFolder).filePath(name));
    lock_->setStaleLockTime(0);  // a lock left by a dead process is taken over at once
    owned_ = lock_->tryLock(0);
}

}  // namespace platform
