// A picture set: a source box holding a picture at its natural size and the
// twelve stages of that picture, from 0.99 of its size (stage 1) down to 1/8
// (stage 12), made once per picture so the clone tick only copies bitmaps.
#pragma once

#include <array>

#include "runtime/picture_box.h"

namespace display {

constexpr int kStageCount = 12;

// Display members 1 to 12; element k - 1 holds stage k.
using DisplayArray = std::array<platform::PictureBox, kStageCount>;

// Fills members 1 to 12 of `display` from the picture in `source`. The sizes
// follow the saver's own arithmetic: single-precision factors 0.99 down to
// 0.59 for stages 1 to 5, whole-number division by 2 to 8 for stages 6 to 12.
// A source wider or higher than 32767 raises error 6.
void BuildPictureSet(platform::PictureBox& source, DisplayArray& display);

}  // namespace display
