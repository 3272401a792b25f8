#include "platform/profile.h"

#include <QDir>
#include <QFile>
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
    EXPECT_EQ(contents(),
              QByteArray("; my notes\n[saver]\nMODE=6\n; keep me\nother=1\nadded=x\n\n[total]\nnewTotal=2\n"
                         "[password]\nsaverEnabled=1\n"));
}

TEST_F(ProfileTest, DeletingASectionRemovesAllItsLines) {
    put("[images]\n0=a\n1=b\n[saver]\nmode=1\n[Images]\n2=c\n");
    ProfileFile file(path());
    file.deleteSection(QStringLiteral("images"));
    EXPECT_EQ(contents(), QByteArray("[saver]\nmode=1\n"));
}

TEST_F(ProfileTest, ANewFileIsReadableByItsOwnerOnlyAndAnExistingOneKeepsItsMode) {
    ProfileFile file(path());
    ASSERT_TRUE(file.write(QStringLiteral("password"), QStringLiteral("saverPassword"), QStringLiteral("secret")));
    EXPECT_EQ(QFile::permissions(path()), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                      QFile::ReadGroup);
    file.write(QStringLiteral("saver"), QStringLiteral("mode"), QStringLiteral("1"));
    EXPECT_TRUE(QFile::permissions(path()) & QFile::ReadGroup);
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
    put("[Images]\n; note\n 0 = /a.jpg \n1=" + QByteArray(300, 'y') + "\nKEY=first\nkey=second\n[images]\n2=/late.jpg\n");
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
