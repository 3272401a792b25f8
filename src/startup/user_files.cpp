#include "startup/user_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imagestore/cache_paths.h"
#include "settings/settings.h"

namespace startup {

void SeedUserFiles(const platform::FileLayout& layout) {
    if (!layout.perUser()) return;
    if (QFileInfo::exists(settings::SettingsPath(layout.settingsFolder))) return;
    const QString userCache = imagestore::CacheFolder(layout.dataFolder);
    if (QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0")))) return;
    const QDir installed(imagestore::CacheFolder(layout.sharedFolder));
    const QStringList copies = installed.entryList({QStringLiteral("*.dib")}, QDir::Files);
    if (copies.isEmpty() || !platform::MakeFolder(userCache)) return;
    for (const QString& name : copies) {
        const QString target = userCache + name;
        if (QFileInfo::exists(target)) continue;
        // A copy made from a read-only installed file is read-only too; the
        // dialog must be able to replace it.
        if (QFile::copy(installed.filePath(name), target))
            QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

}  // namespace startup
