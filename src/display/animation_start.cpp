#include "display/animation_start.h"

#include "imagestore/picture_scale.h"

namespace display {

EffectLayout LayOut(QSize devicePixels, int pictureScalePercent) {
    const double scale = imagestore::PictureScale(pictureScalePercent, devicePixels.height());
    return {(QSizeF(devicePixels) / scale).toSize(), scale};
}

}  // namespace display
