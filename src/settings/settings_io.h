// Reading the settings variables from the settings file and writing them
// back. Every read goes key by key; the writer replaces the file once.
#pragma once

#include <QString>
#include <QStringList>

#include "settings/profile.h"
#include "settings/settings.h"

namespace settings {

// When a key's built-in default replaces what the file holds.
enum class Fallback {
    // Only when the key is missing or empty: the step that first uses the
    // value reports an unusable one itself.
    WhenMissing,
    // When the key is missing or its text cannot be converted for use.
    WhenUnusable,
};

// Reads one key into its variable (missing reads as "", cut to 254).
void ReadSetting(Settings& s, const platform::ProfileFile& file, QString Settings::*variable,
                 Fallback fallback = Fallback::WhenUnusable);

// The picture list: keys "0" to newTotal - 1 of [images], each through
// `imageEntry`. A missing key falls back to the bundled sample at that
// position, when there is one.
QStringList ReadPictureList(Settings& s, const platform::ProfileFile& file, const QString& appPath);

// The dialog's OK: delete [images], write keys "0".."n-1", then every key in
// commit order, all in one atomic replace of the file. False when the file
// could not be written (the old file is then untouched).
bool WriteAllSettings(Settings& s, const QStringList& pictures, const platform::ProfileFile& file);

}  // namespace settings
