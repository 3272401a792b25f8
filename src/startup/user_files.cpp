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

// Makes the cached copies of the samples for picture scale `scale`, with
// their record, so the dialog's first "&OK" keeps them. Copies already made
// for that scale are kept.
void MakeSampleCopies(const platform::FileLayout& layout, double scale) {
    if (!platform::MakeFolder(imagestore::CacheFolder(layout.dataFolder))) return;
    imagestore::UpdateCache(settings::DefaultPictures(layout.samplesHome), layout.dataFolder,
                            settings::DefaultValue(&settings::Settings::backgroundColor), {}, nullptr, {}, scale);
}

void LayDownSamples(const platform::FileLayout& layout, double scale) {
    const QString folder = layout.samplesHome + u'/' + settings::kSamplesFolder + u'/';
    for (const QString& name : settings::SamplePictureNames()) {
        if (QFileInfo::exists(folder + name)) continue;
        if (!platform::MakeFolder(folder) || !QFile::copy(QStringLiteral(":/glidorama/samples/") + name, folder + name))
            return;
        // Copies of resources are read-only; the user owns these.
        QFile::setPermissions(folder + name, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ReadOther);
    }
    // The build's copies are made for scale 1: a larger screen gets its own.
    if (scale == 1 && QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0")))) return;
    MakeSampleCopies(layout, scale);
}

}  // namespace

void SeedUserFiles(const platform::FileLayout& layout, double scale) {
    if (QFileInfo::exists(settings::SettingsPath(layout.settingsFolder))) return;
    if (!layout.perUser()) {
        LayDownSamples(layout, scale);
        return;
    }
    const QString userCache = imagestore::CacheFolder(layout.dataFolder);
    if (QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0")))) return;
    // The installed copies are made for scale 1.
    if (scale != 1) {
        MakeSampleCopies(layout, scale);
        return;
    }
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
