#include "settings/defaults.h"

#include <cmath>

#include "platform/environment.h"
#include "runtime/vb.h"

namespace settings {

QStringList SamplePictureNames() {
    return {QStringLiteral("aurora.jpg"), QStringLiteral("tower.png"), QStringLiteral("ripples.gif"),
            QStringLiteral("tiles.bmp"), QStringLiteral("dunes.jpg")};
}

QStringList DefaultPictures(const QString& appPath) {
    QStringList paths;
    const QString folder = platform::FolderWithSeparator(appPath) + kSamplesFolder + u'/';
    for (const QString& name : SamplePictureNames()) paths << folder + name;
    return paths;
}

QString DefaultValue(QString Settings::*variable) {
    if (variable == &Settings::pictureCount) return vb::CStr(int32_t(SamplePictureNames().size()));
    const KeyInfo* info = Key(variable);
    return info && info->defaultText ? QString::fromLatin1(info->defaultText) : QString();
}

std::optional<int> PictureScalePercent(const QString& text) {
    if (text == QLatin1String("Automatic")) return 0;
    for (int percent : {100, 150, 200})
        if (text == QString::number(percent)) return percent;
    return std::nullopt;
}

bool IsUsable(QString Settings::*variable, const QString& text) {
    if (variable == &Settings::password) return true;
    if (variable == &Settings::pictureSize) return PictureScalePercent(text).has_value();
    try {
        if (variable == &Settings::neverChange) {
            vb::CBool(text);
            return true;
        }
        const double v = vb::CDbl(text);
        // Keys the program converts to a 32-bit integer, or counts a 16-bit loop with.
        if (variable == &Settings::backgroundColor) vb::CLng(v);
        if (variable == &Settings::pictureCount) {
            vb::CInt(v - 1);
            if (v < 0) return false;
        }
        return std::isfinite(v);
    } catch (const vb::RuntimeError&) {
        return false;
    }
}

}  // namespace settings
