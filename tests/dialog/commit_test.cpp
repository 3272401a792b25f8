#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

#include "dialog_fixture.h"
#include "imagestore/cache_paths.h"

#define REQUIRE_CONVERTER() \
    if (!converterWorks()) GTEST_SKIP() << "the image cache cannot convert a plain picture in this build"

namespace {
struct stat Stat(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

const QString kNeedImage = QStringLiteral("You need to load at least one image file.");
const QString kMustEnter = QStringLiteral("You must enter a 'Password' or uncheck 'Password Protection'.");
const QString kMustMatch = QStringLiteral("The 'Password' and 'Confirm' entries must be the same.");
}  // namespace

class CommitTest : public DialogTest {
protected:
    void writeList(const QStringList& pictures, const QByteArray& more = QByteArray()) {
        QByteArray text = "[total]\nnewTotal=" + QByteArray::number(pictures.size()) + "\n[images]\n";
        for (int i = 0; i < pictures.size(); ++i) text += QByteArray::number(i) + "=" + pictures[i].toUtf8() + "\n";
        t.folder.writeSettings(text + more);
    }
};

TEST_F(CommitTest, ValidationsStopInOrderAndWriteNothing) {
    REQUIRE_CONVERTER();
    writeList({}, "[password]\nsaverEnabled=1\n");
    auto& f = open();
    const QByteArray before = t.folder.readSettings();
    f.OK_Click();
    ASSERT_EQ(t.messages.texts(), QStringList{kNeedImage});
    EXPECT_EQ(t.messages.shown[0].style, 48);
    EXPECT_EQ(t.messages.shown[0].title, "Glidorama");

    f.pictureList->addItem(picture("a.png"));
    f.OK_Click();
    EXPECT_EQ(t.messages.texts().last(), kMustEnter);
    // One box filled is a mismatch, not a missing password.
    f.SS_Confirm->setText(QStringLiteral("pass"));
    f.OK_Click();
    EXPECT_EQ(t.messages.texts().last(), kMustMatch);
    f.SS_password->setText(QStringLiteral("Pass"));
    f.OK_Click();
    EXPECT_EQ(t.messages.texts().last(), kMustMatch);  // letter case counts
    EXPECT_EQ(t.folder.readSettings(), before);
    EXPECT_FALSE(f.isHidden());

    f.SS_password->setText(QStringLiteral("pass"));
    f.OK_Click();
    EXPECT_EQ(t.messages.shown.size(), 4u);
    EXPECT_EQ(stored("password", "saverPassword"), "pass");
    EXPECT_EQ(stored("password", "saverEnabled"), "1");
}

TEST_F(CommitTest, ProtectionOffSkipsThePasswordChecks) {
    REQUIRE_CONVERTER();
    writeList({picture("a.png")}, "[password]\nsaverEnabled=0\n");
    auto& f = open();
    f.SS_password->setText(QStringLiteral("one"));
    f.SS_Confirm->setText(QStringLiteral("two"));
    f.OK_Click();
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(stored("password", "saverEnabled"), "0");
    EXPECT_EQ(stored("password", "saverPassword"), "one");
}

TEST_F(CommitTest, ThreePicturesAreCachedAndListedExactly) {
    REQUIRE_CONVERTER();
    // An old, longer list leaves no keys behind.
    writeList({picture("a.png"), picture("b.jpg", 50, 20), picture("c.bmp"), picture("d.png")});
    auto& f = open();
    f.pictureList->setCurrentRow(3);
    f.remove_Click();
    f.OK_Click();
    ASSERT_TRUE(t.messages.shown.empty()) << t.messages.texts().join('|').toStdString();
    EXPECT_EQ(stored("total", "newTotal"), "3");
    const QByteArray text = t.folder.readSettings();
    const int images = text.indexOf("[images]");
    const QByteArray section = text.mid(images, text.indexOf('[', images + 1) - images);
    EXPECT_EQ(section.count('='), 3) << section.toStdString();
    for (const char* key : {"0", "1", "2"}) EXPECT_FALSE(stored("images", key).isEmpty());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(QFileInfo::exists(imagestore::CachedPicturePath(t.folder.path(), QString::number(i))));
    EXPECT_FALSE(QFileInfo::exists(imagestore::CachedPicturePath(t.folder.path(), QStringLiteral("3"))));
    EXPECT_TRUE(f.isHidden());
}

TEST_F(CommitTest, AnUnreadableEntryStopsTheCommitAndWritesNothing) {
    REQUIRE_CONVERTER();
    const QString bad = t.folder.file(QStringLiteral("notes.jpg"));
    {
        QFile file(bad);
        file.open(QIODevice::WriteOnly);
        file.write("not a picture at all");
    }
    const QString missing = t.folder.file(QStringLiteral("gone.png"));
    writeList({picture("a.png"), bad, missing}, "[saver]\nmode=6\n");
    auto& f = open();
    t.messages.shown.clear();
    const QByteArray before = t.folder.readSettings();
    f.ClonesScroll->setValue_(7);
    f.OK_Click();
    ASSERT_EQ(t.messages.texts(),
              QStringList{"Image Processing Error. Please reload \r\n" + bad + "\r\n(it is a text file)"});
    EXPECT_EQ(t.folder.readSettings(), before);
    EXPECT_FALSE(f.ProgressBar1->isVisibleTo(&f));
    EXPECT_TRUE(QFileInfo::exists(imagestore::CachedPicturePath(t.folder.path(), QStringLiteral("0"))));
    // The dialog keeps every edit; with the entry removed the commit goes through.
    EXPECT_EQ(f.ClonesText->text(), "7");
    f.pictureList->setCurrentRow(1);
    f.remove_Click();
    f.OK_Click();
    EXPECT_EQ(t.messages.texts().last(),
              "Image Processing Error. Please reload \r\n" + missing + "\r\n(the file does not exist)");
    EXPECT_EQ(t.folder.readSettings(), before);
}

TEST_F(CommitTest, FloatWritesWithoutConverting) {
    writeList({picture("a.png"), t.folder.file(QStringLiteral("missing.png"))}, "[saver]\nmode=1\n");
    auto& f = open();
    t.messages.shown.clear();
    f.OK_Click();
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(stored("saver", "mode"), "1");
    EXPECT_EQ(stored("total", "newTotal"), "2");
    EXPECT_FALSE(QFileInfo::exists(imagestore::CachedPicturePath(t.folder.path(), QStringLiteral("0"))));
}

TEST_F(CommitTest, ShrinkToFitIsOnForOldFilesAndWrittenAsTicked) {
    writeList({picture("a.png")}, "[saver]\nmode=1\n");
    auto& f = open();
    EXPECT_TRUE(f.FitCheck->isVisible());
    EXPECT_EQ(f.FitCheck->text(), "Shrink to fit screen");
    EXPECT_EQ(f.FitCheck->toolTip(), "Shrink large pictures to fit the screen");
    EXPECT_TRUE(f.FitCheck->isChecked());
    f.OK_Click();
    EXPECT_EQ(stored("saver", "fitToScreen"), "1");

    auto& again = open();
    again.FitCheck->setChecked(false);
    again.OK_Click();
    EXPECT_EQ(stored("saver", "fitToScreen"), "0");
    EXPECT_FALSE(open().FitCheck->isChecked());
    // A clone effect hides it with Float's other controls.
    auto& clones = open();
    clones.EffectCbx->setCurrentIndex(0);
    EXPECT_FALSE(clones.FitCheck->isVisible());
}

TEST_F(CommitTest, CancelWritesNothing) {
    writeList({picture("a.png")});
    auto& f = open();
    f.ClonesScroll->setValue_(3);
    const QByteArray before = t.folder.readSettings();
    f.Cancel_Click();
    EXPECT_EQ(t.folder.readSettings(), before);
    EXPECT_TRUE(f.isHidden());
}

TEST_F(CommitTest, CancelDuringOkLeavesFileAndCacheAsTheyWereAndTheNextOkReusesWhatWasMade) {
    REQUIRE_CONVERTER();
    const QString a = picture("a.png", 40, 30, Qt::red), b = picture("b.png", 40, 30, Qt::green);
    writeList({a, b});
    open().OK_Click();
    const QDir cache(imagestore::CacheFolder(t.folder.path()));
    auto snapshot = [&] {
        QStringList state;
        for (const QFileInfo& file : cache.entryInfoList({QStringLiteral("Glidorama*.dib")}, QDir::Files, QDir::Name)) {
            QFile f(file.filePath());
            f.open(QIODevice::ReadOnly);
            const struct stat st = Stat(file.filePath());
            state << file.fileName() + QString::number(st.st_mtim.tv_nsec) +
                         QString::fromLatin1(f.readAll().toBase64());
        }
        return state;
    };
    const QStringList cacheBefore = snapshot();
    const QByteArray fileBefore = t.folder.readSettings();

    auto& f = open();
    dialogs.fileListAnswers.push_back({picture("c.png", 40, 30, Qt::blue), picture("d.png", 40, 30, Qt::cyan)});
    f.add_Click();
    f.remove_Click();  // d: the list is a, b, c
    f.pictureList->setCurrentRow(0);
    f.remove_Click();  // a: b and c move up, c is new
    dialogs.fileAnswers.push_back(picture("e.png", 40, 30, Qt::yellow));
    f.add_Click();  // b, c, e
    QStringList progress;
    QObject::connect(f.ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
        if (value == 0) return;
        progress << f.statusPanels[0]->text();
        EXPECT_FALSE(f.Ok->isEnabled());
        EXPECT_FALSE(f.add->isEnabled());
        // Asked to stop as the last picture begins: c is made by then.
        if (progress.size() == 2) f.Cancel->click();
    });
    f.OK_Click();
    EXPECT_EQ(progress, QStringList({"Preparing pictures: 2 of 3", "Preparing pictures: 3 of 3"}));
    EXPECT_EQ(t.folder.readSettings(), fileBefore);
    EXPECT_EQ(snapshot(), cacheBefore);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Ok->isEnabled());
    EXPECT_TRUE(f.add->isEnabled());
    EXPECT_EQ(f.statusPanels[0]->text(), "Glidorama screen saver settings");
    const QStringList kept = cache.entryList({QStringLiteral("*.prepared")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    const auto madeBeforeCancel = Stat(cache.filePath(kept[0])).st_ino;

    // Completed: c's copy is the one made before the cancel, not made again.
    progress.clear();
    f.OK_Click();
    EXPECT_TRUE(f.isHidden());
    EXPECT_EQ(progress, QStringList{"Preparing pictures: 3 of 3"});
    EXPECT_EQ(Stat(imagestore::CachedPicturePath(t.folder.path(), "1")).st_ino, madeBeforeCancel);
    EXPECT_TRUE(cache.entryList({QStringLiteral("*.prepared")}, QDir::Files).isEmpty());
    EXPECT_EQ(stored("images", "2"), t.folder.file("e.png"));
}

TEST_F(CommitTest, ANewBackgroundRemakesOnlyTheCopiesOfTransparentPictures) {
    REQUIRE_CONVERTER();
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.save(t.folder.file("clear.png"));
    writeList({picture("opaque.png"), t.folder.file("clear.png")});
    open().OK_Click();
    auto modified = [&](int n) {
        const struct stat st = Stat(imagestore::CachedPicturePath(t.folder.path(), QString::number(n)));
        return std::pair(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    };
    const auto opaqueBefore = modified(0), clearBefore = modified(1);

    auto& f = open();
    dialogs.colorAnswers.push_back(Qt::blue);
    f.backColorClick_Click();
    f.OK_Click();
    ASSERT_TRUE(f.isHidden());
    EXPECT_EQ(modified(0), opaqueBefore);
    EXPECT_NE(modified(1), clearBefore);
}

TEST_F(CommitTest, AWrittenFileLoadsBackIntoTheSameControls) {
    REQUIRE_CONVERTER();
    writeList({picture("a.png"), picture("b.png")},
              "[saver]\nmode=5\nSpeedofJump=7\nNeverChange=True\nnewBackColor=16711680\n"
              "[password]\nsaverPassword=pw\nsaverEnabled=1\n");
    auto& f = open();
    f.ClonesScroll->setValue_(15);
    f.IntroAmountScroll->setValue_(4);
    f.ChangeImageScroll->setValue_(20);
    f.MouseSensitiveSlider->setValue(14);  // by the user: stored as "1"
    f.Speed->setValue(50);
    f.effectSpeed->setValue(9);
    f.changeFrequency->setValue(2);
    f.TransitionsCbx->setCurrentIndex(4);
    f.RndTranCheck->setChecked(true);
    f.OK_Click();
    ASSERT_TRUE(t.messages.shown.empty()) << t.messages.texts().join('|').toStdString();
    EXPECT_EQ(stored("saver", "mouseSensitivity"), "1");

    auto& g = open();
    EXPECT_EQ(g.ClonesScroll->Value(), 15);
    EXPECT_EQ(g.IntroAmountScroll->Value(), 4);
    EXPECT_EQ(g.ChangeImageScroll->Value(), 20);
    EXPECT_EQ(g.MouseSensitiveSlider->value(), 15);  // 14 and 15 both store "1"
    EXPECT_EQ(g.Speed->value(), 50);
    EXPECT_EQ(g.effectSpeed->value(), 9);
    EXPECT_EQ(g.changeFrequency->value(), 2);
    EXPECT_EQ(g.TransitionsCbx->currentIndex(), 4);
    EXPECT_EQ(g.RndTranCheck->checkState(), Qt::Checked);
    EXPECT_TRUE(g.NeverChangeOption2->isChecked());
    EXPECT_EQ(g.EffectCbx->currentIndex(), 5);
    EXPECT_EQ(g.Password_enabled->checkState(), Qt::Checked);
    EXPECT_EQ(g.SS_password->text(), "pw");
    EXPECT_EQ(g.pictureList->count(), 2);
    EXPECT_EQ(stored("saver", "newBackColor"), "16711680");
}

TEST_F(CommitTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen) {
    // A folder where the file should be: no write can replace it.
    const QString path = t.folder.file(QStringLiteral("z909ssaver.ini"));
    ASSERT_TRUE(QDir().mkdir(path));
    auto& f = open();
    f.EffectCbx->setCurrentIndex(1);  // Float: nothing to convert
    f.ClonesScroll->setValue_(7);
    t.messages.shown.clear();
    f.OK_Click();
    ASSERT_EQ(t.messages.texts(), QStringList{"The settings could not be saved to\r\n" + path});
    EXPECT_EQ(t.messages.shown.back().style, platform::kExclamation);
    EXPECT_TRUE(f.isVisible());

    // Once the way is clear the same edits are written.
    ASSERT_TRUE(QDir().rmdir(path));
    f.OK_Click();
    EXPECT_EQ(stored("total", "ClonesOfImage"), "7");
    EXPECT_TRUE(f.isHidden());
}

TEST_F(CommitTest, AFailingPictureIsSelectedSoOneRemoveTakesItOut) {
    REQUIRE_CONVERTER();
    QStringList list;
    for (int i = 0; i < 6; ++i) list << picture(QStringLiteral("p%1.png").arg(i));
    const QString gone = t.folder.file(QStringLiteral("moved.png"));
    list.insert(4, gone);
    writeList(list);
    auto& f = open();
    const QByteArray before = t.folder.readSettings();
    f.OK_Click();
    ASSERT_EQ(t.messages.texts(),
              QStringList{"Image Processing Error. Please reload \r\n" + gone + "\r\n(the file does not exist)"});
    EXPECT_EQ(f.pictureList->currentRow(), 4);
    EXPECT_EQ(t.folder.readSettings(), before);
    EXPECT_FALSE(f.isHidden());

    f.remove_Click();
    EXPECT_FALSE(listEntries().contains(gone));
    f.OK_Click();
    EXPECT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(stored("total", "newTotal"), "6");
}

TEST_F(CommitTest, ShuffleAndPictureSizeAreStoredAndLoadedWithTheOtherKeys) {
    REQUIRE_CONVERTER();
    writeList({picture("a.png")}, "[saver]\nPictureSize=175\n");
    auto& f = open();
    EXPECT_EQ(f.ShuffleCheck->text(), "Shuffle pictures");
    EXPECT_EQ(f.ShuffleCheck->toolTip(), "Show the pictures in a random order");
    EXPECT_EQ(f.ShuffleCheck->checkState(), Qt::Unchecked);   // a file without the key: list order
    EXPECT_EQ(f.PictureSizeCbx->currentText(), "Automatic");  // a size it does not offer
    f.OK_Click();
    EXPECT_EQ(stored("saver", "shuffle"), "0");
    EXPECT_EQ(stored("saver", "PictureSize"), "Automatic");

    auto& g = open();
    g.ShuffleCheck->setCheckState(Qt::Checked);
    g.PictureSizeCbx->setCurrentIndex(2);
    EXPECT_EQ(g.PictureSizeCbx->currentText(), "150 %");
    g.OK_Click();
    EXPECT_EQ(stored("saver", "shuffle"), "1");
    EXPECT_EQ(stored("saver", "PictureSize"), "150");
    auto& h = open();
    EXPECT_EQ(h.ShuffleCheck->checkState(), Qt::Checked);
    EXPECT_EQ(h.PictureSizeCbx->currentIndex(), 2);
}

TEST_F(CommitTest, APasswordTheFileCannotKeepAsTypedIsRefusedAndNothingIsWritten) {
    REQUIRE_CONVERTER();
    writeList({picture("a.png")}, "[password]\nsaverEnabled=1\nsaverPassword=old\n");
    auto& f = open();
    const QByteArray before = t.folder.readSettings();
    const QString kUntypable = QStringLiteral(
        "The 'Password' cannot hold a Tab, a line break or another control character: it could not be typed at "
        "the password prompt.");
    const QList<QPair<QString, QString>> refused = {
        {QStringLiteral("   "), QStringLiteral("The 'Password' cannot be made of blanks only.")},
        {QStringLiteral("\t"), QStringLiteral("The 'Password' cannot be made of blanks only.")},
        {QStringLiteral("Secret "), QStringLiteral("The 'Password' cannot begin or end with a blank.")},
        {QStringLiteral(" Secret"), QStringLiteral("The 'Password' cannot begin or end with a blank.")},
        // A Tab, CR or LF could never be typed at the prompt.
        {QStringLiteral("Sec\tret"), kUntypable},
        {QStringLiteral("Secret\r\n"), kUntypable},
        {QString(1025, u'y'), QStringLiteral("The 'Password' cannot be longer than 1024 characters.")},
    };
    for (const auto& [password, message] : refused) {
        f.SS_password->setText(password);
        f.SS_Confirm->setText(password);
        f.OK_Click();
        EXPECT_EQ(t.messages.texts().last(), message) << password.toStdString();
        EXPECT_EQ(t.folder.readSettings(), before);
        EXPECT_FALSE(f.isHidden());
    }
    // Inner blanks and long passwords are fine, and come back exactly as typed.
    const QString longest(400, u'y');
    for (const QString& password : {QStringLiteral("two words"), longest}) {
        auto& g = open();
        g.SS_password->setText(password);
        g.SS_Confirm->setText(password);
        const size_t messages = t.messages.shown.size();
        g.OK_Click();
        EXPECT_EQ(t.messages.shown.size(), messages);
        EXPECT_EQ(stored("password", "saverPassword"), password);
        EXPECT_EQ(open().SS_password->text(), password);
    }
}

TEST_F(CommitTest, OkLeavesTheSettingsFileOwnerOnlyAndALinkedOneLinked) {
    REQUIRE_CONVERTER();
    writeList({picture("a.png")});
    const QString path = t.folder.file(QStringLiteral("z909ssaver.ini"));
    const QString target = t.folder.file(QStringLiteral("kept-elsewhere.ini"));
    ASSERT_TRUE(QFile::rename(path, target));
    ASSERT_TRUE(QFile::link(target, path));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    auto& f = open();
    f.Password_enabled->setCheckState(Qt::Checked);
    f.SS_password->setText(QStringLiteral("Secret"));
    f.SS_Confirm->setText(QStringLiteral("Secret"));
    f.OK_Click();
    ASSERT_TRUE(t.messages.shown.empty()) << t.messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(QFile::permissions(target), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(stored("password", "saverPassword"), "Secret");
}
