#include "settings/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::ProfileFile;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("z909ssaver.ini")); }
    void put(const QByteArray& text) const {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray contents() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ProfileTest, MissingFileSectionOrKeyReadsEmpty) {
    ProfileFile file(path());
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QString());
    put("[saver]\nmode=3\n");
    EXPECT_EQ(file.read(QStringLiteral("total"), QStringLiteral("mode")), QString());
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("other")), QString());
}

TEST_F(ProfileTest, NamesMatchWithoutRegardToCaseAndTheFirstOccurrenceWins) {
    put("; comment\r\n[SAVER]\r\n  Mode = 3 \r\nmode=4\r\n[saver]\r\nmode=5\r\n");
    ProfileFile file(path());
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("MODE")), QStringLiteral("3"));
}

TEST_F(ProfileTest, LongValuesReadBackWhole) {
    ProfileFile file(path());
    const QString longPath = QStringLiteral("/photos/") + QString(400, u'x') + QStringLiteral("/\u00e9t\u00e9.jpg");
    ASSERT_TRUE(file.write(QStringLiteral("images"), QStringLiteral("0"), longPath));
    EXPECT_EQ(file.read(QStringLiteral("images"), QStringLiteral("0")), longPath);
    EXPECT_EQ(file.readSection(QStringLiteral("images")).value(QStringLiteral("0")), longPath);
}

TEST_F(ProfileTest, WritesKeepOtherLinesAndReplaceInPlace) {
    put("; my notes\n[saver]\nmode=3\n; keep me\nother=1\n\n[total]\nnewTotal=2\n");
    ProfileFile file(path());
    file.write(QStringLiteral("saver"), QStringLiteral("MODE"), QStringLiteral("6"));
    file.write(QStringLiteral("saver"), QStringLiteral("added"), QStringLiteral("x"));
    file.write(QStringLiteral("password"), QStringLiteral("saverEnabled"), QStringLiteral("1"));
    EXPECT_EQ(contents(), QByteArray("; my notes\n[saver]\nMODE=6\n; keep me\nother=1\nadded=x\n\n[total]\nnewTotal=2\n"
                                     "[password]\nsaverEnabled=1\n"));
}

TEST_F(ProfileTest, DeletingASectionRemovesAllItsLines) {
    put("[images]\n0=a\n1=b\n[saver]\nmode=1\n[Images]\n2=c\n");
    ProfileFile file(path());
    file.deleteSection(QStringLiteral("images"));
    EXPECT_EQ(contents(), QByteArray("[saver]\nmode=1\n"));
}

TEST_F(ProfileTest, EveryWriteLeavesTheFileReadableByItsOwnerOnly) {
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    ProfileFile file(path());
    ASSERT_TRUE(file.write(QStringLiteral("password"), QStringLiteral("saverPassword"), QStringLiteral("secret")));
    EXPECT_EQ(QFile::permissions(path()), ownerOnly);
    // A file made 0644 by hand or by an older copy holds the password too.
    QFile::setPermissions(path(), ownerOnly | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("1")));
    EXPECT_EQ(QFile::permissions(path()), ownerOnly);
}

TEST_F(ProfileTest, ALinkedFileStaysLinkedAndItsTargetIsReplaced) {
    // A chain of two links, the second relative, into another folder.
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("real.ini"));
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[saver]\nmode=3\n");
    }
    const QString middle = elsewhere.filePath(QStringLiteral("middle.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("real.ini"), middle));
    ASSERT_TRUE(QFile::link(middle, path()));
    ProfileFile file(path());
    ASSERT_TRUE(file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("4")));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(QFileInfo(middle).isSymLink());
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[saver]\nmode=4\n"));
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("4"));
    // No temporary file is left in either folder.
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST_F(ProfileTest, ALinkToAMissingFileCreatesItsTargetAndALoopIsRefused) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("new.ini"));
    ASSERT_TRUE(QFile::link(target, path()));
    ProfileFile file(path());
    ASSERT_TRUE(file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("2")));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));

    const QString a = dir.filePath(QStringLiteral("a.ini")), b = dir.filePath(QStringLiteral("b.ini"));
    ASSERT_TRUE(QFile::link(b, a));
    ASSERT_TRUE(QFile::link(a, b));
    EXPECT_FALSE(ProfileFile(a).write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("2")));
    EXPECT_TRUE(QFileInfo(a).isSymLink());
}

TEST_F(ProfileTest, AFailedReplaceLeavesThePreviousFileIntact) {
    put("[saver]\nmode=3\n");
    platform::AtomicWriteOptions failing = ProfileFile::ownerOnly();
    failing.rename = [](const QString&, const QString&) { return false; };
    ProfileFile file(path(), failing);
    EXPECT_FALSE(file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("4")));
    EXPECT_EQ(contents(), QByteArray("[saver]\nmode=3\n"));
    // No temporary file is left behind either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ProfileTest, GarbageNeverBreaksReadingOrWriting) {
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator rng(7);
    for (char& c : garbage) c = char(rng.bounded(256));
    garbage += "\n[saver]\nmode=2\n";
    garbage += QByteArray(10 * 1024 * 1024, 'z');  // one 10 MB line
    put(garbage);
    ProfileFile file(path());
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("2"));
    EXPECT_TRUE(file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("5")));
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("5"));
}

TEST_F(ProfileTest, ALineBreakInAValueCannotForgeAnotherKey) {
    ProfileFile file(path());
    file.write(QStringLiteral("password"), QStringLiteral("saverPassword"), QStringLiteral("a\nsaverEnabled=1"));
    EXPECT_EQ(file.read(QStringLiteral("password"), QStringLiteral("saverEnabled")), QString());
}

TEST_F(ProfileTest, AWholeSectionReadsAsEachOfItsKeysWould) {
    put("[Images]\n; note\n 0 = /a.jpg \n1=" + QByteArray(300, 'y') +
        "\nKEY=first\nkey=second\n[images]\n2=/late.jpg\n");
    ProfileFile file(path());
    const QHash<QString, QString> images = file.readSection(QStringLiteral("images"));
    for (const char* key : {"0", "1", "key", "KEY", "2", "missing"})
        EXPECT_EQ(images.value(QString::fromLatin1(key).toCaseFolded()),
                  file.read(QStringLiteral("images"), QString::fromLatin1(key)))
            << key;
    EXPECT_EQ(images.size(), 3);
    EXPECT_TRUE(file.readSection(QStringLiteral("none")).isEmpty());
}

TEST_F(ProfileTest, AnAppendedSectionComesLastWithItsKeysInOrder) {
    put("[saver]\nmode=3\n\n");
    ProfileFile file(path());
    platform::ProfileDocument doc = file.load();
    doc.appendSection(QStringLiteral("images"), {{QStringLiteral("0"), QStringLiteral("/a.jpg")},
                                                 {QStringLiteral("1"), QStringLiteral("/b\r\nforged=1")}});
    ASSERT_TRUE(file.save(doc));
    EXPECT_EQ(contents(), QByteArray("[saver]\nmode=3\n\n[images]\n0=/a.jpg\n1=/b  forged=1\n"));
}

TEST_F(ProfileTest, ReadingOnceGivesWhatReadingKeyByKeyGives) {
    // Hand-edited files: repeated sections and keys, comments, CRLF, stray
    // brackets, spaces around names, values holding '=' or nothing.
    const QByteArray pieces[] = {"[saver]",
                                 "[SAVER]",
                                 " [ saver ] ",
                                 "[total]",
                                 "[images]",
                                 "[saver",
                                 "[]",
                                 "mode=1",
                                 "MODE = 2 ",
                                 "mode=",
                                 "; mode=9",
                                 "newTotal=3",
                                 "0=a=b",
                                 "0 =c",
                                 "=x",
                                 "plain line",
                                 "",
                                 "mode",
                                 "\xc3\xa9t\xc3\xa9=summer",
                                 "\xff\xfe=bad"};
    const QString sections[] = {"saver", "total", "images", "", "[saver", "SAVER"};
    const QString keys[] = {"mode", "MODE", "newTotal", "0", "", "été", "ÉTÉ", "plain line", "mode "};
    QRandomGenerator random(1234);
    for (int round = 0; round < 300; ++round) {
        QByteArray text;
        const int lines = int(random.bounded(1, 14));
        for (int i = 0; i < lines; ++i) {
            text += pieces[random.bounded(int(std::size(pieces)))];
            text += random.bounded(3) == 0 ? "\r\n" : "\n";
        }
        if (random.bounded(4) == 0) text.chop(1);  // no line break at the end
        put(text);
        const ProfileFile once = ProfileFile::ReadOnce(path());
        const ProfileFile byKey(path());
        for (const QString& section : sections) {
            for (const QString& key : keys)
                ASSERT_EQ(once.read(section, key), byKey.read(section, key))
                    << text.toStdString() << "\n[" << section.toStdString() << "] " << key.toStdString();
            ASSERT_EQ(once.readSection(section), byKey.readSection(section)) << text.toStdString();
        }
    }
}

TEST_F(ProfileTest, ReadingOnceAnswersFromTheFileAsItWasUntilItsOwnWrite) {
    put("[saver]\nmode=3\n");
    const ProfileFile file = ProfileFile::ReadOnce(path());
    put("[saver]\nmode=4\n");
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("3"));
    ASSERT_TRUE(file.write(QStringLiteral("saver"), QStringLiteral("other"), QStringLiteral("1")));
    EXPECT_EQ(file.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("4"));
}

TEST_F(ProfileTest, ReadingOnceHandlesSectionsLargerThanItKeepsWhole) {
    // Sections of several megabytes, a line split across the reader's
    // pieces, repeated keys past the first megabyte, no final line break.
    QByteArray text = "[images]\r\n";
    for (int i = 0; i < 120000; ++i)
        text += QByteArray::number(i) + "=/photos/IMG_" + QByteArray::number(i) + ".jpg\r\n";
    text += "7=repeated\n[notes]\n" + QByteArray(3 << 20, 'x') + "=long key\n[saver]\nmode=5\n[IMAGES]\n1=other";
    put(text);
    const ProfileFile once = ProfileFile::ReadOnce(path());
    const ProfileFile byKey(path());
    for (const char* key : {"0", "7", "119999", "120000"})
        EXPECT_EQ(once.read(QStringLiteral("images"), QLatin1String(key)),
                  byKey.read(QStringLiteral("images"), QLatin1String(key)))
            << key;
    EXPECT_EQ(once.read(QStringLiteral("images"), QStringLiteral("7")), QStringLiteral("/photos/IMG_7.jpg"));
    EXPECT_EQ(once.read(QStringLiteral("saver"), QStringLiteral("mode")), QStringLiteral("5"));
    EXPECT_EQ(once.readSection(QStringLiteral("notes")), byKey.readSection(QStringLiteral("notes")));
    EXPECT_EQ(once.readSection(QStringLiteral("images")).size(), 120000);
}
