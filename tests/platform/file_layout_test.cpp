#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/file_layout.h"

using platform::LayoutFor;

namespace {

// An install tree: bin/ for the program and share/glidorama/ with or
// without the install step's marker.
struct InstallTree {
    explicit InstallTree(const QByteArray& marker) {
        QDir().mkpath(bin());
        QDir().mkpath(shared());
        if (!marker.isNull()) {
            QFile file(shared() + QStringLiteral("/layout"));
            file.open(QIODevice::WriteOnly);
            file.write(marker);
        }
    }
    QString bin() const { return dir.path() + QStringLiteral("/bin"); }
    QString shared() const { return dir.path() + QStringLiteral("/share/glidorama"); }
    QTemporaryDir dir;
};

const QString kShared = QStringLiteral("../share/glidorama");

}  // namespace

TEST(FileLayout, WithoutTheMarkerEverythingStaysBesideTheProgram) {
    for (const QByteArray& marker : {QByteArray(), QByteArray("beside\n"), QByteArray("")}) {
        InstallTree tree(marker);
        const auto layout = LayoutFor(tree.bin(), kShared, QStringLiteral("/home/u"), QString(), QString());
        EXPECT_FALSE(layout.perUser());
        EXPECT_EQ(layout.settingsFolder, tree.bin());
        EXPECT_EQ(layout.dataFolder, tree.bin());
        EXPECT_EQ(layout.samplesHome, tree.bin());
    }
}

TEST(FileLayout, AnInstalledCopyUsesTheUsersXdgFoldersAndTheSharedSamples) {
    InstallTree tree("per-user\n");
    const auto layout = LayoutFor(tree.bin(), kShared, QStringLiteral("/home/u"), QString(), QString());
    EXPECT_TRUE(layout.perUser());
    EXPECT_EQ(layout.settingsFolder, QStringLiteral("/home/u/.config/glidorama"));
    EXPECT_EQ(layout.dataFolder, QStringLiteral("/home/u/.local/share/glidorama"));
    EXPECT_EQ(layout.samplesHome, QDir::cleanPath(tree.shared()));

    const auto xdg =
        LayoutFor(tree.bin(), kShared, QStringLiteral("/home/u"), QStringLiteral("/cfg/"), QStringLiteral("/data"));
    EXPECT_EQ(xdg.settingsFolder, QStringLiteral("/cfg/glidorama"));
    EXPECT_EQ(xdg.dataFolder, QStringLiteral("/data/glidorama"));
    // Relative XDG folders are invalid and fall back to the defaults.
    const auto relative =
        LayoutFor(tree.bin(), kShared, QStringLiteral("/home/u"), QStringLiteral("cfg"), QStringLiteral("data"));
    EXPECT_EQ(relative.settingsFolder, QStringLiteral("/home/u/.config/glidorama"));
    EXPECT_EQ(relative.dataFolder, QStringLiteral("/home/u/.local/share/glidorama"));
}

TEST(FileLayout, WritePermissionDoesNotDecide) {
    // A read-only folder without the marker stays beside the program; a
    // writable one with the marker is still an installed copy.
    InstallTree plain{QByteArray()};
    QFile::setPermissions(plain.bin(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(LayoutFor(plain.bin(), kShared, QStringLiteral("/h"), QString(), QString()).perUser());
    QFile::setPermissions(plain.bin(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    InstallTree installed("per-user");
    EXPECT_TRUE(LayoutFor(installed.bin(), kShared, QStringLiteral("/h"), QString(), QString()).perUser());
}

TEST(FileLayout, MakeFolderMakesPrivateParentsAndReportsFailure) {
    QTemporaryDir dir;
    const QString deep = dir.path() + QStringLiteral("/a/b/c");
    ASSERT_TRUE(platform::MakeFolder(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_EQ(QFile::permissions(dir.path() + QStringLiteral("/a")) & 0x0077, 0);
    EXPECT_TRUE(platform::MakeFolder(deep));  // already there
    QFile file(dir.path() + QStringLiteral("/f"));
    file.open(QIODevice::WriteOnly);
    EXPECT_FALSE(platform::MakeFolder(dir.path() + QStringLiteral("/f/g")));
}
