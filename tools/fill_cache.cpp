// Lays down the cache a fresh build needs beside the program: the cache
// folder (the program itself never creates it) and the cached copies of the
// sample pictures, made by the same converter as the settings dialog's OK.
//
//     glidorama_fill_cache <program folder>
//
// Once a settings file exists there, the cache belongs to the settings
// dialog: its pictures are left alone, whatever list the file names.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include "imagestore/cache_paths.h"
#include "imagestore/converter.h"
#include "settings/defaults.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    const QString appPath = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    if (!QDir().mkpath(imagestore::CacheFolder(appPath))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(imagestore::CacheFolder(appPath)));
        return 1;
    }
    if (QFileInfo::exists(QDir(appPath).filePath(settings::kSettingsFileName))) {
        std::printf("%s exists: the cached pictures are the settings dialog's, left as they are\n",
                    qPrintable(settings::kSettingsFileName));
        return 0;
    }
    const QStringList pictures = settings::DefaultPictures(appPath);
    const imagestore::BatchResult result = imagestore::ConvertPictures(pictures, appPath);
    if (result.failedIndex >= 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(pictures[result.failedIndex]), qPrintable(result.error));
        return 1;
    }
    std::printf("cached %lld sample pictures in %s\n", static_cast<long long>(pictures.size()),
                qPrintable(imagestore::CacheFolder(appPath)));
    return 0;
}
