#include "startup/puzzle_form.h"

namespace startup {

QImage PreviewPicture() {
    // Our own picture, built into the program.
    const QImage image(QStringLiteral(":/glidorama/preview.png"));
    return image.convertToFormat(QImage::Format_RGB32);
}

PuzzleForm::PuzzleForm() {
    Picture1.setBackColor(0);
    Picture1.setBorderStyle(0);
    Picture1.setWidth(2265);
    Picture1.setHeight(1785);
    Picture1.setPicture(PreviewPicture());
}

}  // namespace startup
