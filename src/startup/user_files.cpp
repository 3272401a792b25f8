#include "startup/user_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_update.h"
#include "settings/defaults.h"
#include "settings/settings.h"

namespace startup {

namespace {

// Why `folder` could not be made: the nearest part of its path that exists
// is a file, or a folder the user cannot write to (a read-only file system
// included).
QString WhyNoFolder(const QString& folder) {
    QFileInfo nearest(folder);
    while (!nearest.exists() && !nearest.isRoot()) nearest = QFileInfo(nearest.absolutePath());
    if (!nearest.isDir()) return QStringLiteral("%1 is not a folder").arg(nearest.filePath());
    if (!nearest.isWritable()) return QStringLiteral("%1 cannot be written to").arg(nearest.filePath());
    return QStringLiteral("the folder cannot be made");
}

QString CannotWrite(const QString& path, const QFile& source) {
    return QStringLiteral("the sample picture %1 cannot be written (%2)").arg(path, source.errorString());
}

QString CannotMake(const QString& folder) {
    return QStringLiteral("the sample pictures cannot be laid down in %1 (%2)").arg(folder, WhyNoFolder(folder));
}

// Makes the cached copies of the samples for picture scale `scale`, with
// their record, so the dialog's first "&OK" keeps them. Copies already made
// for that scale are kept.
QString MakeSampleCopies(const platform::FileLayout& layout, double scale) {
    const QString cacheFolder = imagestore::CacheFolder(layout.dataFolder);
    if (!platform::MakeFolder(cacheFolder)) return CannotMake(cacheFolder);
    imagestore::UpdateCache(settings::DefaultPictures(layout.samplesHome), layout.dataFolder,
                            settings::DefaultValue(&settings::Settings::backgroundColor), {}, nullptr, {}, scale);
    return {};
}

QString LayDownSamples(const platform::FileLayout& layout, double scale) {
    const QString folder = layout.samplesHome + u'/' + settings::kSamplesFolder + u'/';
    for (const QString& name : settings::SamplePictureNames()) {
        if (QFileInfo::exists(folder + name)) continue;
        if (!platform::MakeFolder(folder)) return CannotMake(folder);
        QFile carried(QStringLiteral(":/glidorama/samples/") + name);
        if (!carried.copy(folder + name)) return CannotWrite(folder + name, carried);
        // Copies of resources are read-only; the user owns these.
        QFile::setPermissions(folder + name, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ReadOther);
    }
    // The build's copies are made for scale 1: a larger screen gets its own.
    if (scale == 1 && QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0"))))
        return {};
    return MakeSampleCopies(layout, scale);
}

// A user of an installed program gets copies of the installed cache.
QString CopyInstalledCache(const platform::FileLayout& layout, double scale) {
    const QString userCache = imagestore::CacheFolder(layout.dataFolder);
    if (QFileInfo::exists(imagestore::CachedPicturePath(layout.dataFolder, QStringLiteral("0")))) return {};
    // The installed copies are made for scale 1.
    if (scale != 1) return MakeSampleCopies(layout, scale);
    const QDir installed(imagestore::CacheFolder(layout.sharedFolder));
    const QStringList copies = installed.entryList({QStringLiteral("*.dib")}, QDir::Files);
    if (copies.isEmpty()) return {};
    if (!platform::MakeFolder(userCache)) return CannotMake(userCache);
    for (const QString& name : copies) {
        const QString target = userCache + name;
        if (QFileInfo::exists(target)) continue;
        QFile copy(installed.filePath(name));
        if (!copy.copy(target)) return CannotWrite(target, copy);
        // A copy made from a read-only installed file is read-only too; the
        // dialog must be able to replace it.
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return {};
}

}  // namespace

QString SeedUserFiles(const platform::FileLayout& layout, double scale) {
    if (QFileInfo::exists(settings::SettingsPath(layout.settingsFolder))) return {};
    const QString problem = layout.perUser() ? CopyInstalledCache(layout, scale) : LayDownSamples(layout, scale);
    // The saver goes on: it shows its failure for the picture it cannot
    // find, and this line says why the picture is not there.
    if (!problem.isEmpty()) std::fprintf(stderr, "Glidorama: %s.\n", qPrintable(problem));
    return problem;
}

}  // namespace startup
