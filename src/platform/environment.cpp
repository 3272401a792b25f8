#include "platform/environment.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void ProcessEnd::End(int exitCode) {
    // The X server drops our grabs with the connection; undo the key lock
    // first anyway so nothing is left held while the process winds down.
    if (desktop_ && desktop_->keyLockOn()) desktop_->setKeyLock(false);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

QString FolderWithSeparator(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

}  // namespace platform
