// The settings variables: one text per key of "z909ssaver.ini", named for
// what it holds, converted at each use. Plus `imageEntry`, through which the
// picture paths pass one at a time.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace settings {

struct Settings {
    // Key "mode": the effect, by its number (see Effect).
    QString effect;
    // "newTotal": how many pictures the list holds.
    QString pictureCount;
    // "ClonesOfImage": how many clones fly at once (the display keeps the
    // last clone's index: one less).
    QString cloneCount;
    // "imageSpeed": the clone timers' interval; the dialog's speed slider reversed.
    QString cloneSpeed;
    // The speed sliders of the effects that have one: "SpeedofSplat",
    // "SpeedofJump", "DeckGradient", "PsychGradient".
    QString splatSpeed;
    QString jumpingSpeed;
    QString deckSpeed;
    QString psychedelicSpeed;
    // "NextImageTime": seconds between picture changes.
    QString changeInterval;
    // "IntroImageAmount": how many more clones each admission hands to the next picture.
    QString clonesPerAdmission;
    // "NeverChange": the picture never changes.
    QString neverChange;
    // "ChangeNextImage": how often the effects that pace their own changes
    // change the picture (0 never to 3 often).
    QString changeFrequency;
    QString mouseSensitivity;
    // "newBackColor": the background colour, as a Windows colour value.
    QString backgroundColor;
    // Float: "effectMode", the transition between pictures; "randomEffect",
    // "1" for a random one at each change; "centerImage", "1" to hold the
    // picture still in the middle; "floatImageSpeed", the motion speed.
    QString floatTransition;
    QString randomTransitions;
    QString floatStill;
    QString floatSpeed;
    // "1": the pictures come in a random order, each once a round; "0": list order.
    QString shuffle;
    // Float: "1" shrinks pictures larger than the screen to fit it, "0" shows them at natural size.
    QString fitToScreen;
    // "PictureSize": how large pictures and effects are drawn, "Automatic"
    // (by the monitor's height) or a fixed "100", "150" or "200" per cent.
    QString pictureSize;
    // "saverPassword" and "saverEnabled": the password and whether it protects the saver.
    QString password;
    QString passwordEnabled;

    QString imageEntry;
};

// Where each key lives, the member that holds it, and its built-in default
// (the text used where the file has no usable value).
struct KeyInfo {
    const char* section;
    const char* key;
    QString Settings::*variable;
    const char* defaultText;
};

// Every key but the picture list, in the order the dialog's OK writes them.
const std::vector<KeyInfo>& CommitOrder();
// The key held by `variable`; null for `imageEntry`, which is no key.
const KeyInfo* Key(QString Settings::*variable);

inline const QString kSettingsFileName = QStringLiteral("z909ssaver.ini");
inline const QString kImagesSection = QStringLiteral("images");

// The program folder, a separator unless it already ends in one, the file name.
QString SettingsPath(const QString& appPath);

}  // namespace settings
