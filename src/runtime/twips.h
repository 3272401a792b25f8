// The forms' unit of length: 15 twips to a pixel, always.
#pragma once

namespace platform {

constexpr int kTwipsPerPixel = 15;

}  // namespace platform
