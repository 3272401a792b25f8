// Where the cached, shrunk copies of the user's pictures live.
#pragma once

#include <QString>

namespace imagestore {

// The cache folder: the program folder, a separator unless it already ends
// in one, then "Glidorama/".
QString CacheFolder(const QString& appPath);
// Cached picture N: the cache folder & "Glidorama" & N & ".dib".
QString CachedPicturePath(const QString& appPath, const QString& cacheNumber);

}  // namespace imagestore
