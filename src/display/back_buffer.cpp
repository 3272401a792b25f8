#include "display/back_buffer.h"

#include <cstring>

namespace display {

namespace {
// Past this many rectangles, tracking costs more than treating the whole
// surface as touched.
constexpr size_t kMaxTracked = 512;
}  // namespace

void BackBuffer::resize(QSize size) {
    size_ = size;
    image_ = QImage();
    fillAll();
}

QImage& BackBuffer::pixels() const {
    if (image_.isNull() && !size_.isEmpty()) {
        image_ = QImage(size_, QImage::Format_RGB32);
        image_.fill(backColor_);
        madePixels_ += uint64_t(size_.width()) * uint64_t(size_.height());
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
    changes_.rects.clear();
    changes_.all = true;
}

void BackBuffer::noteChanged(const QRect& rect) {
    if (changes_.all) return;
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
    // Each row is cleared by copying a ready-made row of the background colour.
    if (painted_.empty()) return;
    QImage& image = pixels();
    if (backgroundRow_.size() != size_t(image.width()) ||
        (!backgroundRow_.empty() && backgroundRow_[0] != backColor_.rgb()))
        backgroundRow_.assign(size_t(image.width()), backColor_.rgb());
    uchar* base = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const QRect& r : painted_) {
        const size_t bytes = size_t(r.width()) * 4;
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(base + y * stride + size_t(r.left()) * 4, backgroundRow_.data(), bytes);
        noteChanged(r);
        pixelsWritten_ += uint64_t(r.width()) * uint64_t(r.height());
    }
    painted_.clear();
}

void BackBuffer::BitBlt(int x, int y, int w, int h, const QImage& source) {
    QRect target = QRect(x, y, std::min(w, source.width()), std::min(h, source.height())) & QRect(QPoint(0, 0), size_);
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
