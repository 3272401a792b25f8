// What an effect's animation is made with: the frame's size, the run's
// settings and the outside world it draws its files, clock and random
// numbers from.
#pragma once

#include <QSize>

#include <functional>

#include "display/display_host.h"
#include "platform/environment.h"
#include "platform/profile.h"
#include "settings/effect.h"
#include "settings/settings.h"

namespace display {

struct AnimationStart {
    QSize size;
    settings::Effect effect;
    settings::Settings& settings;
    // The settings file as read at start, for the keys only one effect reads.
    const platform::ProfileFile& file;
    platform::Environment& env;
    // For an animation that still runs timers of its own (Float): it changed
    // on screen outside its tick, it failed outside its tick, and whether
    // the display still runs (its timers stand still when not).
    std::function<void()> damaged;
    std::function<FailureOutcome(const QString& message)> failed;
    std::function<bool()> running;
};

// The text of the display's failure message for the cached picture at `path`.
QString NotProcessedMessage(const QString& path);

}  // namespace display
