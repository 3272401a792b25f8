#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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
    startup::SeedUserFiles(h.layout);
    ASSERT_TRUE(QFileInfo::exists(h.userCopy(0)));
    ASSERT_TRUE(QFileInfo::exists(h.userCopy(1)));
    EXPECT_TRUE(QFileInfo(h.userCopy(0)).isWritable());
}

TEST(UserFiles, AUserWithSettingsOrCachedPicturesKeepsThem) {
    Homes withSettings;
    QDir().mkpath(withSettings.layout.settingsFolder);
    QFile(withSettings.layout.settingsFolder + QStringLiteral("/z909ssaver.ini")).open(QIODevice::WriteOnly);
    startup::SeedUserFiles(withSettings.layout);
    EXPECT_FALSE(QFileInfo::exists(withSettings.userCopy(0)));

    Homes withCache;
    QDir().mkpath(withCache.layout.dataFolder + QStringLiteral("/Glidorama"));
    QFile own(withCache.userCopy(0));
    own.open(QIODevice::WriteOnly);
    own.write("mine");
    own.close();
    startup::SeedUserFiles(withCache.layout);
    QFile check(withCache.userCopy(0));
    check.open(QIODevice::ReadOnly);
    EXPECT_EQ(check.readAll(), "mine");
    EXPECT_FALSE(QFileInfo::exists(withCache.userCopy(1)));
}

TEST(UserFiles, NothingIsCopiedBesideTheProgram) {
    Homes h;
    h.layout.sharedFolder.clear();
    startup::SeedUserFiles(h.layout);
    EXPECT_FALSE(QFileInfo::exists(h.userCopy(0)));
}
