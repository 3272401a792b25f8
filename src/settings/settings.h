// The settings variables: one text per key of "z909ssaver.ini", named after
// the key, converted at each use. Plus `imageEntry`, through which the
// picture paths pass one at a time.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace settings {

struct Settings {
    QString mode;
    QString newTotal;
    QString ClonesOfImage;
    QString imageSpeed;
    QString SpeedofSplat;
    QString SpeedofJump;
    QString DeckGradient;
    QString PsychGradient;
    QString NextImageTime;
    QString IntroImageAmount;
    QString NeverChange;
    QString ChangeNextImage;
    QString mouseSensitivity;
    QString newBackColor;
    QString effectMode;
    QString randomEffect;
    QString centerImage;
    QString floatImageSpeed;
    // "1": the pictures come in a random order, each once a round; "0": list order.
    QString shuffle;
    // Float: "1" shrinks pictures larger than the screen to fit it, "0" shows them at natural size.
    QString fitToScreen;
    QString saverPassword;
    QString saverEnabled;

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
