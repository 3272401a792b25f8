// The Float effect: one user picture at a time, brought on by a transition,
// centred or drifting and bouncing over the screen.
#pragma once

#include <QString>

#include <vector>

#include "display/float_host.h"
#include "platform/environment.h"
#include "settings/settings.h"

namespace display {

class FloatShow {
public:
    FloatShow(settings::Settings& settings, platform::Environment& env, FloatHost& host,
              std::vector<QString> imageFiles);

    // The scheduler tick for Float (`Timer2_Timer`'s Float branch).
    void Timer2Tick();
    // One motion step (`Timer3_Timer`).
    void Timer3Tick();

private:
    settings::Settings& settings_;
    platform::Environment& env_;
    FloatHost& host_;
    std::vector<QString> imageFiles_;
};

}  // namespace display
