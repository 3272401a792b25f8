// OK writes where the file layout says: beside the program, making the
// cache folder when it is missing, or in the user's own folders for an
// installed copy. A cache folder that cannot be made is named as the cause.
#include <QFileInfo>

#include "dialog_fixture.h"

namespace {

class LayoutCommitTest : public DialogTest {
protected:
    void writeOnePicture(const QString& settingsFolder) {
        const QString path = picture(QStringLiteral("a.png"));
        QFile file(settingsFolder + QStringLiteral("/z909ssaver.ini"));
        if (!QFileInfo(settingsFolder).isDir()) return;
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[total]\nnewTotal=1\n[images]\n0=" + path.toUtf8() + "\n[saver]\nmode=0\n");
    }
};

}  // namespace

TEST_F(LayoutCommitTest, OkMakesAMissingCacheFolderBesideTheProgram) {
    if (!converterWorks()) GTEST_SKIP() << "this build's image cache cannot convert";
    QDir(t.folder.file(QStringLiteral("Glidorama"))).removeRecursively();
    writeOnePicture(t.folder.path());
    auto& f = open();
    f.OK_Click();
    EXPECT_TRUE(t.messages.texts().isEmpty()) << t.messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(QFileInfo::exists(t.folder.file(QStringLiteral("Glidorama/Glidorama0.dib"))));
    EXPECT_TRUE(f.isHidden());
}

TEST_F(LayoutCommitTest, AnInstalledCopyWritesOnlyIntoTheUsersFolders) {
    if (!converterWorks()) GTEST_SKIP() << "this build's image cache cannot convert";
    const QString home = t.folder.file(QStringLiteral("home"));
    t.env.layout.settingsFolder = home + QStringLiteral("/.config/glidorama");
    t.env.layout.dataFolder = home + QStringLiteral("/.local/share/glidorama");
    t.env.layout.samplesHome = t.folder.file(QStringLiteral("shared"));
    t.env.layout.sharedFolder = t.env.layout.samplesHome;
    QDir(t.folder.file(QStringLiteral("Glidorama"))).removeRecursively();
    // The installed samples, the list of a user without settings.
    QDir().mkpath(t.env.layout.samplesHome + QStringLiteral("/samples"));
    for (const char* name : {"aurora.jpg", "tower.png", "ripples.gif", "tiles.bmp", "dunes.jpg"}) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(t.env.layout.samplesHome + QStringLiteral("/samples/") + QLatin1String(name), "PNG");
    }
    auto& f = open();
    ASSERT_EQ(f.pictureList->count(), 5);
    EXPECT_TRUE(f.pictureList->item(0)->text().startsWith(t.env.layout.samplesHome + QStringLiteral("/samples/")));
    f.OK_Click();
    EXPECT_TRUE(t.messages.texts().isEmpty()) << t.messages.texts().join(u'|').toStdString();
    const QString ini = t.env.layout.settingsFolder + QStringLiteral("/z909ssaver.ini");
    ASSERT_TRUE(QFileInfo::exists(ini));
    EXPECT_EQ(int(QFile::permissions(ini) & 0x0077), 0);  // nothing for group or others
    EXPECT_TRUE(QFileInfo::exists(t.env.layout.dataFolder + QStringLiteral("/Glidorama/Glidorama0.dib")));
    EXPECT_FALSE(QFileInfo::exists(t.folder.file(QStringLiteral("z909ssaver.ini"))));
    EXPECT_FALSE(QFileInfo::exists(t.folder.file(QStringLiteral("Glidorama"))));
}

TEST_F(LayoutCommitTest, ACacheFolderThatCannotBeMadeIsNamedNotBlamedOnAPicture) {
    // A plain file where the data folder should be: nothing can be made in it.
    const QString blocked = t.folder.file(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    t.env.layout.dataFolder = blocked;
    writeOnePicture(t.folder.path());
    const QByteArray before = t.folder.readSettings();
    auto& f = open();
    f.OK_Click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_TRUE(t.messages.shown[0].text.contains(QStringLiteral("blocked/Glidorama/")));
    EXPECT_FALSE(t.messages.shown[0].text.contains(QStringLiteral("Image Processing Error")));
    EXPECT_EQ(t.folder.readSettings(), before);
    EXPECT_FALSE(f.isHidden());
}
