#include "picture/picture_shrink.h"

#include <algorithm>

namespace platform {

// Sums are kept in whole numbers: a source column spans `target width`
// units and a target column `source width` units of the same line, so each
// overlap is exact; likewise for rows.

bool RowShrinker::Shrinks(QSize source, QSize target) {
    return !target.isEmpty() && target.width() <= source.width() && target.height() <= source.height();
}

int64_t RowShrinker::Cost(QSize target) {
    // The result, two summed rows and a source row's sums, four channels each.
    return int64_t(target.width()) * target.height() * 4 + int64_t(target.width()) * 4 * (8 + 8 + 4);
}

RowShrinker::RowShrinker(QSize source, QSize target, Layout layout)
    : source_(source),
      targetSize_(target),
      layout_(layout),
      channels_(layout == Layout::Rgb || layout == Layout::Rgbx ? 3 : 4),
      step_(layout == Layout::Rgb ? 3 : 4),
      column_(size_t(source.width())),
      share_(size_t(source.width())),
      across_(size_t(target.width()) * channels_),
      current_(across_.size()),
      next_(across_.size()),
      target_(target, channels_ == 3 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied) {
    const int64_t sw = source.width(), tw = target.width();
    for (int64_t x = 0; x < sw; ++x) {
        const int64_t start = x * tw;
        const int64_t column = start / sw;
        column_[size_t(x)] = int(column);
        share_[size_t(x)] = uint32_t(std::min((column + 1) * sw, start + tw) - start);
    }
}

void RowShrinker::addRow(const uchar* row) {
    if (sourceRow_ >= source_.height() || target_.isNull()) return;
    std::fill(across_.begin(), across_.end(), 0);
    const uint32_t whole = uint32_t(targetSize_.width());
    const int last = targetSize_.width() - 1;
    const int channels = channels_;
    for (int x = 0; x < source_.width(); ++x, row += step_) {
        uint32_t pixel[4] = {row[0], row[1], row[2], channels == 4 ? row[3] : 255u};
        if (layout_ == Layout::Rgba && pixel[3] != 255) {
            for (int c = 0; c < 3; ++c) pixel[c] = (pixel[c] * pixel[3] + 127) / 255;
        }
        const int column = column_[size_t(x)];
        const uint32_t share = share_[size_t(x)];
        uint32_t* into = &across_[size_t(column) * channels];
        for (int c = 0; c < channels; ++c) into[c] += pixel[c] * share;
        if (share < whole && column < last) {
            into += channels;
            for (int c = 0; c < channels; ++c) into[c] += pixel[c] * (whole - share);
        }
    }
    // The same split down the rows.
    const int64_t th = targetSize_.height(), sh = source_.height();
    const int64_t start = int64_t(sourceRow_) * th;
    const int64_t targetRow = start / sh;
    const int64_t boundary = (targetRow + 1) * sh;
    const uint64_t share = uint64_t(std::min(boundary, start + th) - start);
    const uint64_t rest = uint64_t(th) - share;
    for (size_t i = 0; i < across_.size(); ++i) {
        current_[i] += across_[i] * share;
        if (rest) next_[i] += across_[i] * rest;
    }
    ++sourceRow_;
    if (start + th >= boundary) {
        emitRow(int(targetRow));
        std::swap(current_, next_);
        std::fill(next_.begin(), next_.end(), 0);
    }
}

void RowShrinker::emitRow(int targetRow) {
    if (targetRow >= targetSize_.height()) return;
    const uint64_t area = uint64_t(source_.width()) * uint64_t(source_.height());
    auto* line = reinterpret_cast<QRgb*>(target_.scanLine(targetRow));
    const uint64_t* sums = current_.data();
    for (int x = 0; x < targetSize_.width(); ++x, sums += channels_) {
        uint32_t value[4] = {255, 255, 255, 255};
        for (int c = 0; c < channels_; ++c) value[c] = uint32_t((sums[c] + area / 2) / area);
        line[x] = qRgba(int(value[0]), int(value[1]), int(value[2]), int(value[3]));
    }
}

}  // namespace platform
