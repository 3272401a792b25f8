// The effects the saver offers, in the order of their stored numbers: what
// the settings dialog lists, what "--effect" accepts, what the XScreenSaver
// description offers, and how each one's animation is made. Adding an
// effect is one entry here and the file of its animation.
#pragma once

#include <QString>

#include <memory>
#include <span>

#include "display/animation.h"
#include "display/animation_start.h"
#include "settings/effect.h"
#include "settings/settings.h"

namespace display {

struct EffectInfo {
    settings::Effect::Kind kind;
    // The name the settings dialog lists it under.
    const char* caption;
    // The name "--effect" takes (any case, with or without spaces and marks,
    // also matches the caption).
    const char* commandName;
    // The effect's own speed setting and the caption of its slider; null
    // for effects without one.
    QString settings::Settings::*speedKey;
    const char* speedCaption;
    // Makes the effect's animation; raises Failure.
    std::unique_ptr<Animation> (*make)(const AnimationStart& start);
};

// Every effect, element n stored as number n.
std::span<const EffectInfo> Effects();
// The entry of `effect`; null for no effect.
const EffectInfo* FindEffect(settings::Effect effect);

}  // namespace display
