// Adding many pictures at once: several files, a whole folder, the folder
// remembered between runs.
#include <QDir>
#include <QFile>

#include <unistd.h>

#include "dialog/picture_gathering.h"
#include "dialog_fixture.h"
#include "settings/defaults.h"

namespace {

QString NotAPicture(const QString& path, const QString& reason) {
    return path + QStringLiteral(" is not a picture Glidorama can show. (") + reason + u')';
}

class AddingManyTest : public DialogTest {
protected:
    QString folder(const QString& name) {
        QDir().mkpath(t.folder.file(name));
        return t.folder.file(name);
    }
    QString text(const QString& name, const QByteArray& bytes = "not a picture") {
        QFile f(t.folder.file(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return t.folder.file(name);
    }
};

TEST_F(AddingManyTest, SeveralFilesGoInAtOnceSkippingDuplicatesAndNamingNonPictures) {
    t.folder.writeSettings("[total]\nnewTotal=1\n[images]\n0=" + picture("a.png").toUtf8() + "\n");
    auto& f = open();
    const QString b = picture("b.png"), c = picture("c.jpg"), d = picture("d.bmp", 12, 8);
    const QString notes = text("notes.jpg"), empty = text("empty.png", "");
    dialogs.fileListAnswers.push_back({b, notes, c, t.folder.file("a.png"), b, empty, d});
    f.add_Click();
    EXPECT_EQ(listEntries(), QStringList({t.folder.file("a.png"), b, c, d}));
    EXPECT_EQ(f.pictureCount->text(), "4");
    EXPECT_EQ(f.pictureList->currentRow(), 3);  // the last one added, its thumbnail shown
    f.waitForThumbnail();
    EXPECT_EQ(f.photoWidth, 12 * 15);
    // One summary for all refused files, each named with its reason in the details.
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "3 pictures added; 2 files skipped");
    EXPECT_EQ(t.messages.shown[0].details,
              NotAPicture(notes, "it is a text file") + "\r\n" + NotAPicture(empty, "the file is empty"));
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
}

TEST_F(AddingManyTest, AFolderWalkTakesPicturesInNameOrderAndHandlesLinksAndLocks) {
    const QString top = folder("album");
    folder("album/b-sub/deeper");
    folder("album/a-sub");
    folder("album/.hidden-sub");
    auto put = [&](const QString& name) { return picture("album/" + name); };
    const QString p10 = put("IMG_10.jpg"), p2 = put("IMG_2.JPG"), pA = put("a-sub/x.png");
    const QString pDeep = put("b-sub/deeper/y.bmp"), pB = put("b-sub/z.png");
    put(".hidden.png");
    put(".hidden-sub/w.png");
    text("album/readme.txt");
    const QString fake = text("album/fake.jpg", "JFIF but not really");
    // A link back to the top and a link to a sibling: each folder once.
    ASSERT_EQ(::symlink(QFile::encodeName(top).constData(), QFile::encodeName(top + "/b-sub/loop").constData()), 0);
    ASSERT_EQ(
        ::symlink(QFile::encodeName(top + "/a-sub").constData(), QFile::encodeName(top + "/b-sub/again").constData()),
        0);
    const QString locked = folder("album/c-locked");
    picture("album/c-locked/secret.png");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const bool canLock = !QDir(locked).isReadable();  // not when the tests run as root

    const dialog::FolderPictures found = dialog::PicturesInFolder(top);
    // Each folder's files first, "2" before "10"; then subfolders in name order.
    QStringList expected{p2, p10, pA, pB, pDeep};
    if (!canLock) expected << locked + "/secret.png";
    EXPECT_EQ(found.pictures, expected);
    if (canLock) {
        EXPECT_EQ(found.unreadable, QStringList{locked});
    }
    // A file named as a picture that is none is reported; a text file is not.
    EXPECT_EQ(found.skipped, QStringList{fake});

    t.folder.writeSettings("[total]\nnewTotal=1\n[images]\n0=" + pB.toUtf8() + "\n");
    auto& f = open();
    dialogs.folderAnswers.push_back(top);
    f.addFolder_Click();
    expected.removeAll(pB);  // listed already
    EXPECT_EQ(listEntries(), QStringList{pB} + expected);
    EXPECT_EQ(f.pictureCount->text(), QString::number(expected.size() + 1));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    const QString added = QString::number(expected.size()) + " pictures added; 1 file skipped";
    EXPECT_EQ(t.messages.shown[0].text, canLock ? added + "; 1 folder could not be read" : added);
    EXPECT_TRUE(t.messages.shown[0].details.startsWith(NotAPicture(fake, "it is a text file")))
        << t.messages.shown[0].details.toStdString();
    if (canLock) {
        EXPECT_TRUE(t.messages.shown[0].details.endsWith("The folder " + locked + " could not be read."));
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(AddingManyTest, AFolderWithoutPicturesSaysSoAndCancelAddsNothing) {
    const QString empty = folder("nothing");
    text("nothing/a.txt");
    auto& f = open();
    t.messages.shown.clear();  // the default list's missing samples
    const int before = f.pictureList->count();
    f.addFolder_Click();  // cancelled
    EXPECT_TRUE(t.messages.shown.empty());
    dialogs.folderAnswers.push_back(empty);
    f.addFolder_Click();
    EXPECT_EQ(t.messages.texts(), QStringList{"No pictures Glidorama can show were found in " + empty});
    EXPECT_EQ(f.pictureList->count(), before);
}

TEST_F(AddingManyTest, TheFileDialogOpensWhereTheUserLastPickedAcrossRuns) {
    const QString one = folder("one"), two = folder("two");
    const QString a = picture("one/a.png"), b = picture("two/b.png");
    auto& f = open();
    dialogs.fileAnswers.push_back(a);
    f.add_Click();
    dialogs.folderAnswers.push_back(two);
    f.addFolder_Click();
    ASSERT_EQ(dialogs.folderRequests.size(), 1u);
    EXPECT_EQ(dialogs.folderRequests[0], one);

    // A new dialog (a new run) starts where the last one left off.
    auto& g = open();
    dialogs.fileAnswers.push_back(b);
    g.add_Click();
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[1].folder, two);

    // A remembered folder that is gone falls back to an existing one.
    QDir(two).removeRecursively();
    open().add_Click();
    EXPECT_TRUE(QDir(dialogs.openRequests.back().folder).exists());
    EXPECT_NE(dialogs.openRequests.back().folder, two);
}

TEST_F(AddingManyTest, OwnPicturesAddedToTheSamplesOfferToReplaceThemOnce) {
    const QStringList samples = settings::DefaultPictures(t.folder.path());
    for (const int answer : {platform::kYes, platform::kNo}) {
        auto& f = open();  // no settings file: the samples only
        ASSERT_EQ(listEntries(), samples);
        t.messages.shown.clear();
        t.messages.answer = answer;
        const QString mine = picture(QStringLiteral("mine%1.png").arg(answer));
        dialogs.fileAnswers.push_back(mine);
        f.add_Click();
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text, "Replace the sample pictures with yours?");
        EXPECT_EQ(t.messages.shown[0].style, platform::kYesNoQuestion);
        EXPECT_EQ(listEntries(), answer == platform::kYes ? QStringList{mine} : samples + QStringList{mine});
        // The list no longer holds only samples: the next addition just adds.
        dialogs.fileAnswers.push_back(picture(QStringLiteral("more%1.png").arg(answer)));
        f.add_Click();
        EXPECT_EQ(t.messages.shown.size(), 1u);
    }
}

}  // namespace
