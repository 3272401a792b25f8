#include "settings/settings.h"

#include "platform/environment.h"

namespace settings {

const std::vector<KeyInfo>& CommitOrder() {
    // The picture count has no fixed default: it is the number of sample pictures.
    static const std::vector<KeyInfo> order = {
        {"total", "newTotal", &Settings::pictureCount, nullptr},
        {"total", "ClonesOfImage", &Settings::cloneCount, "10"},
        {"speed", "imageSpeed", &Settings::cloneSpeed, "20"},
        {"saver", "mode", &Settings::effect, "0"},
        {"saver", "SpeedofSplat", &Settings::splatSpeed, "11"},
        {"saver", "SpeedofJump", &Settings::jumpingSpeed, "11"},
        {"saver", "DeckGradient", &Settings::deckSpeed, "11"},
        {"saver", "PsychGradient", &Settings::psychedelicSpeed, "11"},
        {"saver", "NextImageTime", &Settings::changeInterval, "30"},
        {"saver", "IntroImageAmount", &Settings::clonesPerAdmission, "1"},
        {"saver", "NeverChange", &Settings::neverChange, "False"},
        {"saver", "ChangeNextImage", &Settings::changeFrequency, "2"},
        {"saver", "mouseSensitivity", &Settings::mouseSensitivity, "5"},
        {"saver", "newBackColor", &Settings::backgroundColor, "0"},
        {"saver", "effectMode", &Settings::floatTransition, "0"},
        {"saver", "randomEffect", &Settings::randomTransitions, "0"},
        {"saver", "centerImage", &Settings::floatStill, "0"},
        {"saver", "floatImageSpeed", &Settings::floatSpeed, "3"},
        {"saver", "shuffle", &Settings::shuffle, "0"},
        {"saver", "fitToScreen", &Settings::fitToScreen, "1"},
        {"saver", "PictureSize", &Settings::pictureSize, "Automatic"},
        {"password", "saverPassword", &Settings::password, ""},
        {"password", "saverEnabled", &Settings::passwordEnabled, "0"},
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
