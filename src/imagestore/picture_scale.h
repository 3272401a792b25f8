// The picture scale: how many device pixels one of the effects' pixels
// takes on a monitor. Effects lay out in the monitor's size divided by it,
// so a 3840 x 2160 monitor shows the composition of a 1920 x 1080 one, and
// the cached copies are made this much larger so they stay sharp there.
#pragma once

#include <vector>

namespace imagestore {

// The scale for a monitor `deviceHeight` device pixels high: a fixed
// `percent` (100, 150, 200), or for 0 ("Automatic") the height over 1080,
// never below 1.
double PictureScale(int percent, int deviceHeight);

// The largest scale among monitors `deviceHeights` high: the scale cached
// copies are made for, so that no monitor shows them enlarged.
double LargestPictureScale(int percent, const std::vector<int>& deviceHeights);

// The largest scale among the monitors Qt has attached now.
double LargestScreenScale(int percent);

}  // namespace imagestore
