#include "display/back_buffer.h"

#include <QRectF>
#include <QRegion>

#include <cmath>
#include <cstring>

namespace display {

namespace {
// Past this many rectangles, tracking costs more than treating the whole
// surface as touched.
constexpr size_t kMaxTracked = 512;
}  // namespace

void BackBuffer::resize(QSize size, double scale) {
    size_ = size;
    scale_ = scale;
    deviceSize_ =
        scale == 1 ? size : QSize(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)));
    image_ = QImage();
    fillAll();
}

const QImage& BackBuffer::image() const {
    settleClears();
    return pixels();
}

QImage& BackBuffer::pixels() const {
    if (image_.isNull() && !deviceSize_.isEmpty()) {
        if (makeImage_) image_ = makeImage_(deviceSize_);
        if (image_.isNull()) image_ = QImage(deviceSize_, QImage::Format_RGB32);
        image_.setDevicePixelRatio(scale_);
        image_.fill(backColor_);
        madePixels_ += uint64_t(deviceSize_.width()) * uint64_t(deviceSize_.height());
    }
    return image_;
}

void BackBuffer::setBackColor(const QColor& color) {
    backColor_ = color;
    fillAll();
}

void BackBuffer::fillAll() {
    // Surface not made yet: it starts in the background colour when it is.
    if (!image_.isNull()) {
        image_.fill(backColor_);
        pixelsWritten_ += uint64_t(image_.width()) * uint64_t(image_.height());
    }
    painted_.clear();
    paintedAll_ = false;
    toClear_.clear();
    changes_.rects.clear();
    changes_.all = true;
}

QRect BackBuffer::logical(const QRect& device) const {
    if (scale_ == 1) return device;
    const QRectF r(device);
    return QRectF(r.topLeft() / scale_, r.size() / scale_).toAlignedRect();
}

void BackBuffer::noteChanged(const QRect& device) {
    if (changes_.all) return;
    const QRect rect = logical(device);
    if (changes_.rects.size() >= kMaxTracked) {
        changes_.rects.clear();
        changes_.all = true;
        return;
    }
    changes_.rects.push_back(rect);
}

void BackBuffer::Cls() {
    if (paintedAll_) {
        fillAll();
        return;
    }
    settleClears();
    for (const QRect& r : painted_) noteChanged(r);
    toClear_ = std::move(painted_);
    painted_.clear();
}

void BackBuffer::settleClears() const {
    if (toClear_.empty()) return;
    QRegion clear;
    for (const QRect& r : toClear_) clear += r;
    toClear_.clear();
    for (const QRect& r : painted_) clear -= r;
    for (const QRect& r : clear) clearRect(r);
}

void BackBuffer::clearRect(const QRect& r) const {
    // Each row is cleared by copying a ready-made row of the background colour.
    QImage& image = pixels();
    if (backgroundRow_.size() != size_t(image.width()) ||
        (!backgroundRow_.empty() && backgroundRow_[0] != backColor_.rgb()))
        backgroundRow_.assign(size_t(image.width()), backColor_.rgb());
    uchar* base = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const size_t bytes = size_t(r.width()) * 4;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(base + y * stride + size_t(r.left()) * 4, backgroundRow_.data(), bytes);
    pixelsWritten_ += uint64_t(r.width()) * uint64_t(r.height());
}

void BackBuffer::BitBlt(int x, int y, int w, int h, const QImage& source) {
    if (scale_ != 1) {
        x = int(std::lround(x * scale_));
        y = int(std::lround(y * scale_));
    }
    QRect target =
        QRect(x, y, std::min(w, source.width()), std::min(h, source.height())) & QRect(QPoint(0, 0), deviceSize_);
    if (target.isEmpty() || source.format() != QImage::Format_RGB32) return;
    QImage& image = pixels();
    const int sx = target.left() - x;
    const int sy = target.top() - y;
    const size_t bytes = size_t(target.width()) * 4;
    uchar* to = image.bits() + target.top() * image.bytesPerLine() + size_t(target.left()) * 4;
    const uchar* from = source.constBits() + sy * source.bytesPerLine() + size_t(sx) * 4;
    for (int row = 0; row < target.height(); ++row) {
        std::memcpy(to, from, bytes);
        to += image.bytesPerLine();
        from += source.bytesPerLine();
    }
    pixelsWritten_ += uint64_t(target.width()) * uint64_t(target.height());
    if (!paintedAll_) {
        if (painted_.size() >= kMaxTracked) {
            // The list of what was copied is about to go: what the last Cls
            // left must be cleared before it, around those copies.
            painted_.push_back(target);
            settleClears();
            painted_.clear();
            paintedAll_ = true;
        } else {
            painted_.push_back(target);
        }
    }
    noteChanged(target);
}

BackBuffer::Changes BackBuffer::takeChanges() {
    Changes taken = std::move(changes_);
    changes_ = Changes();
    return taken;
}

}  // namespace display
