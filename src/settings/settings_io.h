// Reading the settings variables from the settings file and writing them
// back. Every read goes key by key; the writer replaces the file once.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "platform/profile.h"
#include "settings/settings.h"

namespace settings {

// When a key's built-in default replaces what the file holds.
enum class Fallback {
    // Only when the key is missing or empty: a later guarded step reports
    // an unusable value itself.
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

// Display start-up, in its order: the keys up to `backgroundColor`, then
// `shuffle`, with `cloneCount` replaced by its value minus 1.
void ReadDisplaySettings(Settings& s, const platform::ProfileFile& file);
// Float only: the picture list (sized 0 to newTotal, the last element empty)
// and the four transition and motion keys.
std::vector<QString> ReadFloatSettings(Settings& s, const platform::ProfileFile& file, const QString& appPath);
// Last, whatever the effect.
void ReadPasswordSettings(Settings& s, const platform::ProfileFile& file);

// The dialog's OK: delete [images], write keys "0".."n-1", then every key in
// commit order, all in one atomic replace of the file. False when the file
// could not be written (the old file is then untouched).
bool WriteAllSettings(Settings& s, const QStringList& pictures, const platform::ProfileFile& file);

}  // namespace settings
