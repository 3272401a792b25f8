#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "settings/defaults.h"
#include "startup/user_files.h"

namespace {

struct Homes {
    Homes() {
        layout.settingsFolder = dir.path() + QStringLiteral("/config/glidorama");
        layout.dataFolder = dir.path() + QStringLiteral("/data/glidorama");
        layout.sharedFolder = layout.samplesHome = dir.path() + QStringLiteral("/share/glidorama");
        QDir().mkpath(layout.sharedFolder + QStringLiteral("/Glidorama"));
        for (const char* name : {"Glidorama0.dib", "Glidorama1.dib"}) {
            QFile file(layout.sharedFolder + QStringLiteral("/Glidorama/") + QLatin1String(name));
            file.open(QIODevice::WriteOnly);
            file.write("installed");
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
    }
    QString userCopy(int n) const { return layout.dataFolder + QStringLiteral("/Glidorama/Glidorama%1.dib").arg(n); }
    QTemporaryDir dir;
    platform::FileLayout layout;
};

}  // namespace

TEST(UserFiles, ANewUserGetsWritableCopiesOfTheInstalledCache) {
    Homes h;
    startup::SeedUserFiles(h.layout, 1);
    ASSERT_TRUE(QFileInfo::exists(h.userCopy(0)));
    ASSERT_TRUE(QFileInfo::exists(h.userCopy(1)));
    EXPECT_TRUE(QFileInfo(h.userCopy(0)).isWritable());
}

TEST(UserFiles, AUserWithSettingsOrCachedPicturesKeepsThem) {
    Homes withSettings;
    QDir().mkpath(withSettings.layout.settingsFolder);
    QFile(withSettings.layout.settingsFolder + QStringLiteral("/z909ssaver.ini")).open(QIODevice::WriteOnly);
    startup::SeedUserFiles(withSettings.layout, 1);
    EXPECT_FALSE(QFileInfo::exists(withSettings.userCopy(0)));

    Homes withCache;
    QDir().mkpath(withCache.layout.dataFolder + QStringLiteral("/Glidorama"));
    QFile own(withCache.userCopy(0));
    own.open(QIODevice::WriteOnly);
    own.write("mine");
    own.close();
    startup::SeedUserFiles(withCache.layout, 1);
    QFile check(withCache.userCopy(0));
    check.open(QIODevice::ReadOnly);
    EXPECT_EQ(check.readAll(), "mine");
    EXPECT_FALSE(QFileInfo::exists(withCache.userCopy(1)));
}

TEST(UserFiles, AProgramAloneInAnEmptyFolderLaysDownItsSamplesUntilItHasSettings) {
    QTemporaryDir alone;
    const platform::FileLayout layout = platform::BesideProgram(alone.path());
    startup::SeedUserFiles(layout, 1);
    for (const QString& name : settings::SamplePictureNames()) {
        QFile laid(alone.path() + QStringLiteral("/samples/") + name);
        ASSERT_TRUE(laid.open(QIODevice::ReadOnly)) << name.toStdString();
        QFile carried(QStringLiteral(":/glidorama/samples/") + name);
        ASSERT_TRUE(carried.open(QIODevice::ReadOnly));
        EXPECT_EQ(laid.readAll(), carried.readAll());
        EXPECT_TRUE(QFileInfo(laid).isWritable());
    }
    for (int n = 0; n < 5; ++n)
        EXPECT_FALSE(QImage(alone.path() + QStringLiteral("/Glidorama/Glidorama%1.dib").arg(n), "BMP").isNull()) << n;

    // Once there are settings, a removed sample stays removed.
    QFile(alone.path() + QStringLiteral("/z909ssaver.ini")).open(QIODevice::WriteOnly);
    QFile::remove(alone.path() + QStringLiteral("/samples/aurora.jpg"));
    startup::SeedUserFiles(layout, 1);
    EXPECT_FALSE(QFileInfo::exists(alone.path() + QStringLiteral("/samples/aurora.jpg")));
}

TEST(UserFiles, AFirstRunOnALargerScreenMakesTheSampleCopiesForItsScale) {
    QTemporaryDir alone;
    const platform::FileLayout layout = platform::BesideProgram(alone.path());
    // The first copy's width (within a pixel of rounding).
    const auto width = [](const QString& dataFolder) {
        return QImage(dataFolder + QStringLiteral("/Glidorama/Glidorama0.dib"), "BMP").width();
    };
    startup::SeedUserFiles(layout, 1);
    const int atOne = width(layout.dataFolder);
    ASSERT_GT(atOne, 0);
    // The copies a build made for scale 1 are made again, twice the size.
    startup::SeedUserFiles(layout, 2);
    EXPECT_NEAR(width(layout.dataFolder), atOne * 2, 1);

    // A new user of an installed copy gets copies converted for the scale,
    // not the installation's.
    Homes h;
    QDir().mkpath(h.layout.samplesHome + QStringLiteral("/samples"));
    for (const QString& name : settings::SamplePictureNames())
        QFile::copy(alone.path() + QStringLiteral("/samples/") + name,
                    h.layout.samplesHome + QStringLiteral("/samples/") + name);
    startup::SeedUserFiles(h.layout, 2);
    EXPECT_NEAR(width(h.layout.dataFolder), atOne * 2, 1);
}

TEST(UserFiles, AFolderThatCannotBeMadeIsNamedWithTheReason) {
    // A file stands where the program's folder, or the user's data folder,
    // would have to be.
    QTemporaryDir dir;
    const QString blocker = dir.path() + QStringLiteral("/blocker");
    QFile(blocker).open(QIODevice::WriteOnly);
    EXPECT_EQ(startup::SeedUserFiles(platform::BesideProgram(blocker), 1),
              QStringLiteral("the sample pictures cannot be laid down in %1/samples/ (%1 is not a folder)").arg(blocker));

    Homes h;
    h.layout.dataFolder = blocker + QStringLiteral("/data");
    EXPECT_EQ(startup::SeedUserFiles(h.layout, 1),
              QStringLiteral("the sample pictures cannot be laid down in %1/data/Glidorama/ (%1 is not a folder)")
                  .arg(blocker));
}
