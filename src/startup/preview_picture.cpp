#include "startup/preview_picture.h"

namespace startup {

QImage PreviewImage() {
    // Our own picture, built into the program.
    const QImage image(QStringLiteral(":/glidorama/preview.png"));
    return image.convertToFormat(QImage::Format_RGB32);
}

PreviewPicture::PreviewPicture() {
    box.setBackColor(0);
    box.setBorderStyle(0);
    box.setWidth(2265);
    box.setHeight(1785);
    box.setPicture(PreviewImage());
}

}  // namespace startup
