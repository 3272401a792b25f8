// The preview picture (151 x 119 pixels) in a picture box, the way "/p"
// draws it into the host's window. It is never shown as a window of its own.
#pragma once

#include <QImage>

#include "runtime/picture_box.h"

namespace startup {

class PreviewPicture {
public:
    PreviewPicture();

    static constexpr int kPictureWidth = 151;
    static constexpr int kPictureHeight = 119;

    // Designed at 0, 0, 2265 x 1785 twips on a form that works in twips.
    platform::PictureBox box{platform::ScaleMode::Twips};
};

// The preview picture's image, built into the program.
QImage PreviewImage();

}  // namespace startup
