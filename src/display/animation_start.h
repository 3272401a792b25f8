// What an effect's animation is made with: the frame's size, the run's
// settings and the outside world it draws its files, clock and random
// numbers from.
#pragma once

#include <QSize>

#include "display/display_host.h"
#include "platform/environment.h"
#include "settings/effect.h"
#include "settings/values.h"

namespace display {

struct AnimationStart {
    QSize size;
    settings::Effect effect;
    // The run's settings.
    const settings::Values& values;
    platform::Environment& env;
};

// The text of the display's failure message for the cached picture at `path`.
QString NotProcessedMessage(const QString& path);

}  // namespace display
