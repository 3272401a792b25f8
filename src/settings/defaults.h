// The built-in defaults, used where the settings file is missing, a key is
// missing, or its text cannot be converted where the program needs a value.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "settings/settings.h"

namespace settings {

// The default text of a key ("" for the password).
QString DefaultValue(QString Settings::*variable);

// The bundled sample pictures, by full path, in list order; the default
// picture list. They live in the "samples" folder beside the program.
QStringList DefaultPictures(const QString& appPath);
inline const QString kSamplesFolder = QStringLiteral("samples");
QStringList SamplePictureNames();

// The "PictureSize" text as a percentage, 0 for "Automatic"; nothing for
// any other text.
std::optional<int> PictureScalePercent(const QString& text);

// Whether the text converts the way the program uses the key.
bool IsUsable(QString Settings::*variable, const QString& text);

}  // namespace settings
