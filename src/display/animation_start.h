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
    // In logical pixels: the monitor's device pixels over `scale`.
    QSize size;
    settings::Effect effect;
    // The run's settings.
    const settings::Values& values;
    platform::Environment& env;
    // Device pixels to a logical pixel (the picture scale): the effect lays
    // out in `size` and draws its pictures at device pixels.
    double scale = 1;
};

// Where an effect is laid out on a surface of `devicePixels`: the logical
// size it works in and the picture scale it draws at. Every surface (a
// window, a headless image, a Wayland output) starts its effect with these.
struct EffectLayout {
    QSize size;
    double scale = 1;
};
EffectLayout LayOut(QSize devicePixels, int pictureScalePercent);

// The text of the display's failure message for the cached picture at `path`.
QString NotProcessedMessage(const QString& path);

}  // namespace display
