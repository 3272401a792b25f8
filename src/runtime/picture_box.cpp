#include "runtime/picture_box.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "runtime/colors.h"

namespace platform {

namespace {
// Pixel sizes are kept within what the platform could ever show.
constexpr int kMaxPixels = 32767;
int clampPixels(double v) { return int(std::clamp(std::lround(v), 0L, long(kMaxPixels))); }
}  // namespace

int PictureBox::fromOwner(double units) const {
    return clampPixels(units * TwipsPerUnit(ownerScale_) / kTwipsPerPixel);
}
int PictureBox::fromOwn(double units) const {
    return int(std::lround(units * TwipsPerUnit(scaleMode_) / kTwipsPerPixel));
}

void PictureBox::resizeSurface(int width, int height) {
    if (QSize(width, height) == size_) return;
    size_ = QSize(width, height);
    makeSurface();
}

void PictureBox::setDevicePixelRatio(qreal ratio) {
    if (ratio == devicePixelRatio_) return;
    devicePixelRatio_ = ratio;
    makeSurface();
}

void PictureBox::makeSurface() {
    image_ = size_.isEmpty() ? QImage() : QImage((QSizeF(size_) * devicePixelRatio_).toSize(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(devicePixelRatio_);
    Cls();
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    if (autoSize_ && !picture_.isNull()) {
        resizeSurface(picture_.width(), picture_.height());
    }
    Cls();
}

void PictureBox::setWidth(double width) { resizeSurface(fromOwner(width), size_.height()); }
void PictureBox::setHeight(double height) { resizeSurface(size_.width(), fromOwner(height)); }
void PictureBox::setLeft(double left) {
    position_.setX(int(std::lround(left * TwipsPerUnit(ownerScale_) / kTwipsPerPixel)));
}
void PictureBox::setTop(double top) {
    position_.setY(int(std::lround(top * TwipsPerUnit(ownerScale_) / kTwipsPerPixel)));
}

void PictureBox::setBackColor(int64_t windowsColor) {
    backColor_ = windowsColor;
    Cls();
}

void PictureBox::Cls() {
    if (image_.isNull()) return;
    // An opaque picture that covers the whole surface is the surface: the
    // two share their pixels until something draws on the surface, so a
    // large picture is not held twice.
    if (picture_.size() == image_.size() && devicePixelRatio_ == 1) {
        image_ = picture_;
        return;
    }
    image_.fill(FromWindowsColor(backColor_));
    if (!picture_.isNull()) {
        QPainter painter(&image_);
        painter.drawImage(0, 0, picture_);
    }
}

void PictureBox::PaintPicture(const QImage& source, double x1, double y1, std::optional<double> width1,
                              std::optional<double> height1, std::optional<Rect> sourceRect) {
    if (source.isNull() || image_.isNull()) return;
    QRect from = source.rect();
    if (sourceRect) {
        from = QRect(int(std::lround(sourceRect->x * TwipsPerUnit(scaleMode_) / kTwipsPerPixel)),
                     int(std::lround(sourceRect->y * TwipsPerUnit(scaleMode_) / kTwipsPerPixel)),
                     fromOwn(sourceRect->width), fromOwn(sourceRect->height));
    }
    const int w = width1 ? fromOwn(*width1) : from.width();
    const int h = height1 ? fromOwn(*height1) : from.height();
    if (w <= 0 || h <= 0 || from.width() <= 0 || from.height() <= 0) return;
    const QRect to(fromOwn(x1), fromOwn(y1), w, h);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, to.size() != from.size());
    painter.drawImage(to, source, from);
}

}  // namespace platform
