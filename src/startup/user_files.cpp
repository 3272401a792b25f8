#include "startup/user_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_update.h"
#include "settings/defaults.h"
#include "settings/settings.h"

namespace startup {

namespace {

void LayDownSamples(const platform::FileLayout& layout) {
    const QString folder = layout.samplesHome + u'/' + settings::kSamplesFolder + u'/';
    for (const QString& name : settings::SamplePictureNames()) {
        if (QFileInfo::exists(folder + name)) continue;
        if (!platform::MakeFolder(folder) || !QFile::copy(QStringLiteral(":/glidorama/samples/") + name, folder + name))
            return;
        // Copies of resources are read-only; the user owns these.
        QFile::setPermissions(folder + name, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ReadOther);
    }
    if (QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0")))) return;
    if (!platform::MakeFolder(imagestore::CacheFolder(layout.dataFolder))) return;
    // With its record, so the dialog's first "&OK" keeps these copies.
    imagestore::UpdateCache(settings::DefaultPictures(layout.samplesHome), layout.dataFolder,
                            settings::DefaultValue(&settings::Settings::backgroundColor));
}

}  // namespace

void SeedUserFiles(const platform::FileLayout& layout) {
    if (QFileInfo::exists(settings::SettingsPath(layout.settingsFolder))) return;
    if (!layout.perUser()) {
        LayDownSamples(layout);
        return;
    }
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
