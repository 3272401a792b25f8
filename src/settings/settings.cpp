#include "settings/settings.h"

#include "platform/environment.h"

namespace settings {

const std::vector<KeyInfo>& CommitOrder() {
    // The picture count has no fixed default: it is the number of sample pictures.
    static const std::vector<KeyInfo> order = {
        {"total", "newTotal", &Settings::newTotal, nullptr},
        {"total", "ClonesOfImage", &Settings::ClonesOfImage, "10"},
        {"speed", "imageSpeed", &Settings::imageSpeed, "20"},
        {"saver", "mode", &Settings::mode, "0"},
        {"saver", "SpeedofSplat", &Settings::SpeedofSplat, "11"},
        {"saver", "SpeedofJump", &Settings::SpeedofJump, "11"},
        {"saver", "DeckGradient", &Settings::DeckGradient, "11"},
        {"saver", "PsychGradient", &Settings::PsychGradient, "11"},
        {"saver", "NextImageTime", &Settings::NextImageTime, "30"},
        {"saver", "IntroImageAmount", &Settings::IntroImageAmount, "1"},
        {"saver", "NeverChange", &Settings::NeverChange, "False"},
        {"saver", "ChangeNextImage", &Settings::ChangeNextImage, "2"},
        {"saver", "mouseSensitivity", &Settings::mouseSensitivity, "5"},
        {"saver", "newBackColor", &Settings::newBackColor, "0"},
        {"saver", "effectMode", &Settings::effectMode, "0"},
        {"saver", "randomEffect", &Settings::randomEffect, "0"},
        {"saver", "centerImage", &Settings::centerImage, "0"},
        {"saver", "floatImageSpeed", &Settings::floatImageSpeed, "3"},
        {"saver", "shuffle", &Settings::shuffle, "0"},
        {"saver", "fitToScreen", &Settings::fitToScreen, "1"},
        {"password", "saverPassword", &Settings::saverPassword, ""},
        {"password", "saverEnabled", &Settings::saverEnabled, "0"},
    };
    return order;
}

const KeyInfo* Key(QString Settings::*variable) {
    for (const KeyInfo& info : CommitOrder())
        if (info.variable == variable) return &info;
    return nullptr;
}

QString SettingsPath(const QString& appPath) { return platform::FolderWithSeparator(appPath) + kSettingsFileName; }

}  // namespace settings
