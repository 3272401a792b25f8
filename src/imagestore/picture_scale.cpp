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

double LargestScreenScale(int percent) {
    double largest = PictureScale(percent, 0);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const int deviceHeight = int(std::lround(screen->geometry().height() * screen->devicePixelRatio()));
        largest = std::max(largest, PictureScale(percent, deviceHeight));
    }
    return largest;
}

}  // namespace imagestore
