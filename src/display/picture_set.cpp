#include "display/picture_set.h"

#include <cmath>

#include "runtime/colors.h"
#include "runtime/vb.h"

namespace display {

namespace {

void sizeAndPaint(platform::PictureBox& source, platform::PictureBox& member, float width, float height) {
    auto pixels = [&](float units) {
        return int(std::lround(units * platform::TwipsPerUnit(member.ownerScale()) / platform::kTwipsPerPixel));
    };
    member.setPixelSize(pixels(width), pixels(height));
    member.setBorderStyle(0);
    member.setBackColor(platform::SystemColorValue(platform::kWindowText));
    member.PaintPicture(source.Picture(), 0, 0, width, height);
}

}  // namespace

void BuildPictureSet(platform::PictureBox& source, DisplayArray& display) {
    // Products and differences are rounded to single precision, as the
    // variables that hold them are single precision.
    float scaleFactor = 0.99f;
    for (int displayIndex = 1; displayIndex <= 5; ++displayIndex) {
        float scaledWidth = float(source.Width() * double(scaleFactor));
        float scaledHeight = float(source.Height() * double(scaleFactor));
        scaledWidth = vb::CInt(scaledWidth);
        scaledHeight = vb::CInt(scaledHeight);
        sizeAndPaint(source, display[size_t(displayIndex - 1)], scaledWidth, scaledHeight);
        scaleFactor = float(double(scaleFactor) - 0.1);
    }
    scaleFactor = 2;
    for (int displayIndex = 6; displayIndex <= kStageCount; ++displayIndex) {
        const float scaledWidth = vb::CInt(vb::IntDiv(vb::CLng(source.Width()), vb::CLng(scaleFactor)));
        const float scaledHeight = vb::CInt(vb::IntDiv(vb::CLng(source.Height()), vb::CLng(scaleFactor)));
        sizeAndPaint(source, display[size_t(displayIndex - 1)], scaledWidth, scaledHeight);
        scaleFactor = scaleFactor + 1;
    }
}

}  // namespace display
