#include "imagestore/cache_paths.h"

#include "platform/environment.h"

namespace imagestore {

QString CacheFolder(const QString& appPath) {
    return platform::FolderWithSeparator(appPath) + QStringLiteral("Glidorama/");
}

QString CachedPicturePath(const QString& appPath, const QString& cacheNumber) {
    return CacheFolder(appPath) + QStringLiteral("Glidorama") + cacheNumber + QStringLiteral(".dib");
}

}  // namespace imagestore
