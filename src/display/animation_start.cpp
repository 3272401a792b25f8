#include "display/animation_start.h"

#include "runtime/vb.h"

namespace display {

namespace {
QString TextOf(const settings::Number& number) { return number.usable() ? vb::CStr(number.value()) : QString(); }
QString TextOf(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
}  // namespace

settings::Settings SettingsText(const settings::Values& v) {
    settings::Settings s;
    s.effect = vb::CStr(int32_t(v.effect.kind()));
    s.pictureCount = vb::CStr(v.pictureCount);
    s.cloneCount = vb::CStr(v.cloneCount - 1);
    s.cloneSpeed = TextOf(v.cloneSpeed);
    s.splatSpeed = TextOf(v.splatSpeed);
    s.jumpingSpeed = vb::CStr(v.jumpingSpeed);
    s.deckSpeed = TextOf(v.deckSpeed);
    s.psychedelicSpeed = TextOf(v.psychedelicSpeed);
    s.changeInterval = vb::CStr(v.changeInterval);
    s.clonesPerAdmission = vb::CStr(v.clonesPerAdmission);
    s.neverChange = vb::BoolText(v.neverChange);
    s.changeFrequency = vb::CStr(v.changeFrequency);
    s.mouseSensitivity = vb::CStr(v.mouseSensitivity);
    s.backgroundColor = vb::CStr(v.backgroundColor);
    s.floatTransition = vb::CStr(v.floatTransition);
    s.randomTransitions = TextOf(v.randomTransitions);
    s.floatStill = vb::CStr(v.floatStill);
    s.floatSpeed = vb::CStr(v.floatSpeed);
    s.shuffle = TextOf(v.shuffle);
    s.fitToScreen = TextOf(v.fitToScreen);
    s.password = v.password;
    s.passwordEnabled = TextOf(v.passwordEnabled);
    return s;
}

}  // namespace display
