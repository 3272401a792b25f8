#include "display/float_show.h"

namespace display {

FloatShow::FloatShow(settings::Settings& settings, platform::Environment& env, FloatHost& host,
                     std::vector<QString> imageFiles)
    : settings_(settings), env_(env), host_(host), imageFiles_(std::move(imageFiles)) {}

void FloatShow::Timer2Tick() {}
void FloatShow::Timer3Tick() {}

}  // namespace display
