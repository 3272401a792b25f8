#include "imagestore/picture_scale.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace imagestore {

double PictureScale(int percent, int deviceHeight) {
    if (percent > 0) return percent / 100.0;
    // In whole per cent, so the scale a cache record keeps as text reads
    // back the same.
    return std::max(1.0, std::round(deviceHeight * 100.0 / 1080) / 100);
}

double LargestPictureScale(int percent, const std::vector<int>& deviceHeights) {
    double largest = PictureScale(percent, 0);
    for (int height : deviceHeights) largest = std::max(largest, PictureScale(percent, height));
    return largest;
}

double LargestScreenScale(int percent) {
    std::vector<int> deviceHeights;
    for (const QScreen* screen : QGuiApplication::screens())
        deviceHeights.push_back(int(std::lround(screen->geometry().height() * screen->devicePixelRatio())));
    return LargestPictureScale(percent, deviceHeights);
}

}  // namespace imagestore
