// PuzzleForm: holds the preview picture (151 x 119 pixels) in its picture
// box `Picture1`. It is loaded for the preview and never shown.
#pragma once

#include <QImage>

#include "platform/picture_box.h"

namespace startup {

class PuzzleForm {
public:
    PuzzleForm();

    static constexpr int kPictureWidth = 151;
    static constexpr int kPictureHeight = 119;

    // Designed at 0, 0, 2265 x 1785 twips on a form that works in twips.
    platform::PictureBox Picture1{platform::ScaleMode::Twips};
};

// The preview picture: the one embedded in the program when there is one,
// otherwise a picture drawn here.
QImage PreviewPicture();

}  // namespace startup
