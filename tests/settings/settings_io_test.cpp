#include "settings/settings_io.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include "runtime/vb.h"
#include "settings/defaults.h"
#include "settings/values.h"
#include "support/temp_app_folder.h"

using namespace settings;
using testing_support::TempAppFolder;

namespace {

Settings FilledSettings() {
    Settings s;
    s.effect = "6";
    s.pictureCount = "3";
    s.cloneCount = "15";
    s.cloneSpeed = "150";
    s.splatSpeed = "7";
    s.jumpingSpeed = "9";
    s.deckSpeed = "13";
    s.psychedelicSpeed = "3";
    s.changeInterval = "45";
    s.clonesPerAdmission = "2";
    s.neverChange = "True";
    s.changeFrequency = "3";
    s.mouseSensitivity = "1";
    s.backgroundColor = vb::CStr(int32_t(0xFF0000));  // pure blue: 0x00BBGGRR
    s.floatTransition = "4";
    s.randomTransitions = "1";
    s.floatStill = "0";
    s.floatSpeed = "5";
    s.shuffle = "1";
    s.fitToScreen = "0";
    s.pictureSize = "200";
    s.password = "Open Sesame";
    s.passwordEnabled = "1";
    return s;
}

platform::ProfileFile SettingsFile(const TempAppFolder& folder) {
    return platform::ProfileFile(SettingsPath(folder.path()));
}

// Every key as the dialog reads it, and the picture list.
QStringList ReadEveryKey(Settings& s, const TempAppFolder& folder) {
    const platform::ProfileFile file = SettingsFile(folder);
    for (const KeyInfo& key : CommitOrder()) ReadSetting(s, file, key.variable);
    return ReadPictureList(s, file, folder.path());
}

}  // namespace

TEST(SettingsFile, WhatTheCommitWritesReadsBackTheSame) {
    TempAppFolder folder;
    Settings written = FilledSettings();
    const QStringList pictures = {"/pics/a.jpg", "/pics/b b.gif", "/pics/c.bmp"};
    ASSERT_TRUE(WriteAllSettings(written, pictures, SettingsFile(folder)));

    Settings read;
    EXPECT_EQ(ReadEveryKey(read, folder), pictures);
    for (const KeyInfo& key : CommitOrder()) EXPECT_EQ(read.*key.variable, written.*key.variable) << key.key;
    EXPECT_EQ(read.backgroundColor, QStringLiteral("16711680"));
}

TEST(SettingsFile, TheCommitWritesTheKeysInItsOrder) {
    TempAppFolder folder;
    Settings s = FilledSettings();
    WriteAllSettings(s, {"/a.jpg", "/b.jpg"}, SettingsFile(folder));
    const QString text = QString::fromUtf8(folder.readSettings());
    QStringList keys;
    for (const QString& line : text.split(u'\n'))
        if (line.contains(u'=')) keys << line.section(u'=', 0, 0);
    QStringList expected = {"0", "1"};
    for (const KeyInfo& key : CommitOrder()) expected << QString::fromLatin1(key.key);
    EXPECT_EQ(keys, expected);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[images]\n0=/a.jpg\n1=/b.jpg\n[total]\nnewTotal=3\n")));
}

TEST(SettingsFile, AShorterListLeavesNoOldPictureKeys) {
    TempAppFolder folder;
    Settings s = FilledSettings();
    WriteAllSettings(s, {"/a", "/b", "/c", "/d"}, SettingsFile(folder));
    s.pictureCount = "1";
    WriteAllSettings(s, {"/z"}, SettingsFile(folder));
    const QByteArray text = folder.readSettings();
    EXPECT_TRUE(text.contains("0=/z"));
    EXPECT_FALSE(text.contains("1=/"));
    EXPECT_FALSE(text.contains("3=/d"));
}

TEST(SettingsFile, AMissingFileShowsTheSamplePicturesInTheDialog) {
    TempAppFolder folder;
    Settings d;
    const QStringList pictures = ReadEveryKey(d, folder);
    EXPECT_EQ(pictures, DefaultPictures(folder.path()));
    EXPECT_EQ(d.pictureCount, vb::CStr(int32_t(pictures.size())));
}

TEST(SettingsFile, GarbageFilesNeverBreakTheSaverOrTheDialog) {
    QRandomGenerator rng(2026);
    for (int round = 0; round < 20; ++round) {
        TempAppFolder folder;
        QByteArray bytes(4096 + int(rng.bounded(8192)), '\0');
        for (char& c : bytes) c = char(rng.bounded(256));
        if (round % 2) bytes += "\n[total]\nnewTotal=40000\n[saver]\nmode=1\n[images]\n0=\xff\xfe\n";
        if (round % 3 == 0) bytes += "\nmode=\nmode=7\n[saver\n=\n[]\nx==y\n";
        folder.writeSettings(bytes);
        EXPECT_NO_THROW(ReadValues(folder.path(), folder.path()));
        Settings dialog;
        EXPECT_NO_THROW(ReadEveryKey(dialog, folder));
    }
}

TEST(SettingsFile, AFailedWriteLeavesThePreviousSettings) {
    TempAppFolder folder;
    folder.writeSettings("[saver]\nmode=3\n");
    platform::AtomicWriteOptions failing = platform::ProfileFile::ownerOnly();
    failing.rename = [](const QString&, const QString&) { return false; };
    Settings s = FilledSettings();
    EXPECT_FALSE(WriteAllSettings(s, {"/a"}, platform::ProfileFile(SettingsPath(folder.path()), failing)));
    EXPECT_EQ(folder.readSettings(), QByteArray("[saver]\nmode=3\n"));
}
