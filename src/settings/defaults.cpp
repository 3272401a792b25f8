#include "settings/defaults.h"

#include <cmath>

#include "platform/environment.h"
#include "platform/vb.h"

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
    struct Entry { QString Settings::*variable; const char* text; };
    static const Entry entries[] = {
        {&Settings::mode, "0"},
        {&Settings::ClonesOfImage, "10"},
        {&Settings::imageSpeed, "20"},
        {&Settings::SpeedofSplat, "11"},
        {&Settings::SpeedofJump, "11"},
        {&Settings::DeckGradient, "11"},
        {&Settings::PsychGradient, "11"},
        {&Settings::NextImageTime, "30"},
        {&Settings::IntroImageAmount, "1"},
        {&Settings::NeverChange, "False"},
        {&Settings::ChangeNextImage, "2"},
        {&Settings::mouseSensitivity, "5"},
        {&Settings::newBackColor, "0"},
        {&Settings::effectMode, "0"},
        {&Settings::randomEffect, "0"},
        {&Settings::centerImage, "0"},
        {&Settings::floatImageSpeed, "3"},
        {&Settings::shuffle, "0"},
        {&Settings::fitToScreen, "1"},
        {&Settings::saverPassword, ""},
        {&Settings::saverEnabled, "0"},
    };
    if (variable == &Settings::newTotal) return vb::CStr(int32_t(SamplePictureNames().size()));
    for (const Entry& e : entries)
        if (e.variable == variable) return QString::fromLatin1(e.text);
    return QString();
}

bool IsUsable(QString Settings::*variable, const QString& text) {
    if (variable == &Settings::saverPassword) return true;
    try {
        if (variable == &Settings::NeverChange) {
            vb::CBool(text);
            return true;
        }
        const double v = vb::CDbl(text);
        // Keys the program converts to a 32-bit integer, or counts a 16-bit loop with.
        if (variable == &Settings::newBackColor) vb::CLng(v);
        if (variable == &Settings::newTotal) {
            vb::CInt(v - 1);
            if (v < 0) return false;
        }
        return std::isfinite(v);
    } catch (const vb::RuntimeError&) {
        return false;
    }
}

}  // namespace settings
