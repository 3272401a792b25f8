#include "imagestore/converter.h"

#include <QPainter>

#include <cmath>

#include "imagestore/cache_paths.h"
#include "platform/picture.h"
#include "platform/picture_box.h"
#include "platform/vb.h"

namespace imagestore {

void FitImageSize(float& shrinkWidth, float& shrinkHeight) {
    struct Band { float from; float factor; };
    // Lower bound of each band (included) and its factor, largest first.
    static const Band bands[] = {
        {31500, 0.13f},  {30000, 0.13f},  {28500, 0.135f}, {27000, 0.14f},  {25500, 0.15f},  {24000, 0.16f},
        {22500, 0.16f},  {21000, 0.17f},  {19500, 0.19f},  {18000, 0.2f},   {17500, 0.219f}, {17000, 0.226f},
        {16500, 0.232f}, {16000, 0.24f},  {15500, 0.248f}, {15000, 0.256f}, {14500, 0.264f}, {14000, 0.273f},
        {13500, 0.283f}, {13000, 0.29f},  {12500, 0.305f}, {12000, 0.319f}, {11500, 0.33f},  {11000, 0.347f},
        {10500, 0.36f},  {10000, 0.38f},  {9500, 0.4f},    {9000, 0.42f},   {8500, 0.45f},   {8000, 0.47f},
        {7500, 0.5f},    {7000, 0.53f},   {6500, 0.57f},   {6000, 0.62f},   {5500, 0.67f},   {5000, 0.74f},
        {4500, 0.82f},
    };
    const float d = shrinkWidth >= shrinkHeight ? shrinkWidth : shrinkHeight;
    for (const Band& band : bands) {
        if (d >= band.from) {
            shrinkWidth = shrinkWidth * band.factor;
            shrinkHeight = shrinkHeight * band.factor;
            return;
        }
    }
}

ShrinkSizes ConvertPicture(const QString& imageEntry, const QString& appPath, const QString& cacheNumber) {
    const QImage photo = platform::LoadPicture(imageEntry);
    ShrinkSizes sizes;
    sizes.sourceWidth = sizes.shrinkWidth = float(photo.width() * platform::kTwipsPerPixel);
    sizes.sourceHeight = sizes.shrinkHeight = float(photo.height() * platform::kTwipsPerPixel);
    FitImageSize(sizes.shrinkWidth, sizes.shrinkHeight);
    sizes.shrinkWidth = vb::CInt(double(sizes.shrinkWidth));
    sizes.shrinkHeight = vb::CInt(double(sizes.shrinkHeight));

    platform::PictureBox photoShrink(platform::ScaleMode::Twips);
    photoShrink.setScaleMode(platform::ScaleMode::Twips);
    photoShrink.setBorderStyle(1);
    photoShrink.setWidth(sizes.shrinkWidth);
    photoShrink.setHeight(sizes.shrinkHeight);
    photoShrink.PaintPicture(photo, 0, 0, sizes.shrinkWidth, sizes.shrinkHeight,
                             platform::PictureBox::Rect{0, 0, sizes.sourceWidth, sizes.sourceHeight});
    platform::SavePicture(photoShrink.Image(), CachedPicturePath(appPath, cacheNumber));
    return sizes;
}

BatchResult ConvertPictures(const QStringList& pictures, const QString& appPath,
                            const std::function<void(int index)>& progress) {
    QString cacheNumber = QStringLiteral("0");
    for (int i = 0; i < pictures.size(); ++i) {
        if (progress) progress(i);
        try {
            ConvertPicture(pictures[i], appPath, cacheNumber);
        } catch (const vb::RuntimeError& e) {
            return {i, QString::fromLocal8Bit(e.what())};
        }
        cacheNumber = vb::CStr(vb::CDbl(cacheNumber) + 1);
    }
    return {};
}

}  // namespace imagestore
