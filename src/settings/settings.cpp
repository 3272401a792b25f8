#include "settings/settings.h"

#include "platform/environment.h"

namespace settings {

const std::vector<KeyInfo>& CommitOrder() {
    static const std::vector<KeyInfo> order = {
        {"total", "newTotal", &Settings::newTotal},
        {"total", "ClonesOfImage", &Settings::ClonesOfImage},
        {"speed", "imageSpeed", &Settings::imageSpeed},
        {"saver", "mode", &Settings::mode},
        {"saver", "SpeedofSplat", &Settings::SpeedofSplat},
        {"saver", "SpeedofJump", &Settings::SpeedofJump},
        {"saver", "DeckGradient", &Settings::DeckGradient},
        {"saver", "PsychGradient", &Settings::PsychGradient},
        {"saver", "NextImageTime", &Settings::NextImageTime},
        {"saver", "IntroImageAmount", &Settings::IntroImageAmount},
        {"saver", "NeverChange", &Settings::NeverChange},
        {"saver", "ChangeNextImage", &Settings::ChangeNextImage},
        {"saver", "mouseSensitivity", &Settings::mouseSensitivity},
        {"saver", "newBackColor", &Settings::newBackColor},
        {"saver", "effectMode", &Settings::effectMode},
        {"saver", "randomEffect", &Settings::randomEffect},
        {"saver", "centerImage", &Settings::centerImage},
        {"saver", "floatImageSpeed", &Settings::floatImageSpeed},
        {"saver", "shuffle", &Settings::shuffle},
        {"saver", "fitToScreen", &Settings::fitToScreen},
        {"password", "saverPassword", &Settings::saverPassword},
        {"password", "saverEnabled", &Settings::saverEnabled},
    };
    return order;
}

const KeyInfo& Key(QString Settings::*variable) {
    for (const KeyInfo& info : CommitOrder())
        if (info.variable == variable) return info;
    return CommitOrder().front();
}

QString SettingsPath(const QString& appPath) { return platform::FolderWithSeparator(appPath) + kSettingsFileName; }

}  // namespace settings
