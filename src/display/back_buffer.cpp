#include "display/back_buffer.h"

#include <cstring>

namespace display {

namespace {
// Past this many rectangles, tracking costs more than treating the whole
// surface as touched.
constexpr size_t kMaxTracked = 512;
}  // namespace

void BackBuffer::resize(QSize size) {
    image_ = QImage(size, QImage::Format_RGB32);
    fillAll();
}

void BackBuffer::setBackColor(const QColor& color) {
    backColor_ = color;
    fillAll();
}

void BackBuffer::fillAll() {
    if (!image_.isNull()) image_.fill(backColor_);
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
    const uint32_t colour = backColor_.rgb();
    for (const QRect& r : painted_) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image_.scanLine(y)) + r.left();
            std::fill(line, line + r.width(), colour);
        }
        noteChanged(r);
    }
    painted_.clear();
}

void BackBuffer::BitBlt(int x, int y, int w, int h, const QImage& source) {
    QRect target = QRect(x, y, std::min(w, source.width()), std::min(h, source.height())) & image_.rect();
    if (target.isEmpty() || source.format() != QImage::Format_RGB32) return;
    const int sx = target.left() - x;
    const int sy = target.top() - y;
    const size_t bytes = size_t(target.width()) * 4;
    for (int row = 0; row < target.height(); ++row) {
        std::memcpy(image_.scanLine(target.top() + row) + size_t(target.left()) * 4,
                    source.constScanLine(sy + row) + size_t(sx) * 4, bytes);
    }
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
