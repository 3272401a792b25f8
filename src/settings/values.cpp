#include "settings/values.h"

#include "runtime/vb.h"
#include "settings/defaults.h"
#include "settings/settings_io.h"

namespace settings {

double Number::value() const {
    if (!value_) vb::Raise(vb::kTypeMismatch);
    return *value_;
}

namespace {

// The clone speeds keep an unusable text: the display's guarded start-up
// reports it. Every other key falls back to its default.
bool KeepsUnusableText(QString Settings::*variable) {
    return variable == &Settings::cloneSpeed || variable == &Settings::splatSpeed || variable == &Settings::deckSpeed ||
           variable == &Settings::psychedelicSpeed;
}

Number NumberOf(const QString& text) {
    try {
        return Number(vb::CDbl(text));
    } catch (const vb::RuntimeError&) {
        return Number();
    }
}

}  // namespace

Values ReadValues(const platform::ProfileFile& file, const QString& samplesHome) {
    Settings text;
    for (const KeyInfo& key : CommitOrder())
        ReadSetting(text, file, key.variable,
                    KeepsUnusableText(key.variable) ? Fallback::WhenMissing : Fallback::WhenUnusable);
    // Every text below is usable, so these conversions cannot fail.
    Values v;
    v.effect = Effect::FromText(text.effect);
    v.pictureCount = vb::CDbl(text.pictureCount);
    v.pictures = ReadPictureList(text, file, samplesHome);
    v.cloneCount = vb::CDbl(text.cloneCount);
    v.cloneSpeed = NumberOf(text.cloneSpeed);
    v.splatSpeed = NumberOf(text.splatSpeed);
    v.jumpingSpeed = vb::CDbl(text.jumpingSpeed);
    v.deckSpeed = NumberOf(text.deckSpeed);
    v.psychedelicSpeed = NumberOf(text.psychedelicSpeed);
    v.changeInterval = vb::CDbl(text.changeInterval);
    v.clonesPerAdmission = vb::CDbl(text.clonesPerAdmission);
    v.neverChange = vb::CBool(text.neverChange);
    v.changeFrequency = vb::CDbl(text.changeFrequency);
    v.mouseSensitivity = vb::CDbl(text.mouseSensitivity);
    v.backgroundColor = vb::CLng(text.backgroundColor);
    v.shuffle = vb::CDbl(text.shuffle) == 1;
    v.floatTransition = vb::CDbl(text.floatTransition);
    v.randomTransitions = vb::CDbl(text.randomTransitions) == 1;
    v.floatStill = vb::CDbl(text.floatStill);
    v.floatSpeed = vb::CDbl(text.floatSpeed);
    v.fitToScreen = vb::CDbl(text.fitToScreen) != 0;
    v.pictureScalePercent = *PictureScalePercent(text.pictureSize);
    v.password = text.password;
    v.passwordEnabled = vb::CDbl(text.passwordEnabled) == 1;
    return v;
}

Values ReadValues(const QString& settingsFolder, const QString& samplesHome) {
    // Parsed once for every key: a large file read key by key kept the
    // screen uncovered for seconds.
    return ReadValues(platform::ProfileFile::ReadOnce(SettingsPath(settingsFolder)), samplesHome);
}

}  // namespace settings
