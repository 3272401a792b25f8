#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "startup/xscreensaver_list.h"

using startup::ListEdit;
using startup::WithGlidoramaListed;
using startup::WithoutGlidorama;

namespace {

// A file as xscreensaver-settings writes it, Glidorama's line not in it.
const QByteArray kUserFile =
    "# XScreenSaver Preferences File\n"
    "mode:\t\tone\n"
    "selected:\t2\n"
    "\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "\t\t\t\tattraction --root\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

const QByteArray kAppDefaults =
    "! comment\n"
    "*mode:\t\t\trandom\n"
    "*programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "\t\t\t\tqix --root\t\t\t\t    \\n\n"
    "\n"
    "*pointerHysteresis:\t10\n";

const QByteArray kEntryLine = "\t\t\"Glidorama\"  glidorama --root \\n\\\n";

}  // namespace

TEST(XScreenSaverList, AddsGlidoramaFirstOnceAndTakesItOutAgain) {
    const ListEdit added = WithGlidoramaListed(kUserFile, kAppDefaults);
    ASSERT_EQ(added.outcome, ListEdit::Changed);
    QByteArray expected = kUserFile;
    expected.replace("\\\n\t\t\t\tmaze", "\\\n" + kEntryLine + "\t\t\t\tmaze");
    expected.replace("selected:\t2", "selected:\t3");  // still "attraction"
    EXPECT_EQ(added.text, expected);
    EXPECT_EQ(WithGlidoramaListed(added.text, kAppDefaults).outcome, ListEdit::Unchanged);
    const ListEdit removed = WithoutGlidorama(added.text);
    ASSERT_EQ(removed.outcome, ListEdit::Changed);
    EXPECT_EQ(removed.text, kUserFile);
    EXPECT_EQ(WithoutGlidorama(kUserFile).outcome, ListEdit::Unchanged);
}

TEST(XScreenSaverList, AFileWithoutAListTakesTheDaemonsDefaults) {
    for (const QByteArray& file : {QByteArray(), QByteArray("mode:\t\tone\nselected:\t0")}) {
        const ListEdit added = WithGlidoramaListed(file, kAppDefaults);
        ASSERT_EQ(added.outcome, ListEdit::Changed);
        const QByteArray list = "programs:\t\t\t\t\t\t\t\t      \\\n" + kEntryLine +
                                "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n\t\t\t\tqix --root\t\t\t\t    \\n\n";
        const QByteArray before = file.isEmpty() ? QByteArray() : "mode:\t\tone\nselected:\t1\n";
        EXPECT_EQ(added.text, before + list);
    }
    EXPECT_EQ(WithGlidoramaListed("mode: one\n", "*mode: random\n").outcome, ListEdit::NoList);
}

TEST(XScreenSaverList, HandWrittenEntriesComeOutWithoutBreakingTheList) {
    // Appended as the last entry of a list, and the only entry of a one-line list.
    const QByteArray last =
        "programs:\t\\\n  maze --root \\n\\\n  \"Glidorama\" /usr/bin/glidorama --root \\n\nfade: False\n";
    EXPECT_EQ(WithoutGlidorama(last).text, "programs:\t\\\n  maze --root \\n\nfade: False\n");
    EXPECT_EQ(WithoutGlidorama("mode: one\nprograms:\t\"Glidorama\"  glidorama --root \\n\n").text, "mode: one\n");
    // A one-line list gains a second entry behind ours.
    EXPECT_EQ(WithGlidoramaListed("programs: maze --root \\n\n", {}).text,
              "programs:\t\t\\\n" + kEntryLine + "\t\tmaze --root \\n\n");
}

TEST(XScreenSaverList, TheFileIsEditedInPlaceThroughALink) {
    QTemporaryDir home;
    const QString target = home.filePath(QStringLiteral("dotfiles-xscreensaver"));
    const QString link = home.filePath(QStringLiteral(".xscreensaver"));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kUserFile);
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(startup::AddToXScreenSaver(link, {}), 0);
    EXPECT_EQ(startup::AddToXScreenSaver(link, {}), 0);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_FALSE(QFile::permissions(target) & (QFile::ReadGroup | QFile::ReadOther));  // still private
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("glidorama --root"), 1);
    file.close();
    EXPECT_EQ(startup::RemoveFromXScreenSaver(link), 0);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kUserFile);
    // No file and no defaults: nothing to add to, and nothing is written.
    EXPECT_EQ(startup::AddToXScreenSaver(home.filePath(QStringLiteral("none")), {}), 1);
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral("none"))));
}
