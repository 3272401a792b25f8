#include "display/transition_player.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace display {

QRect CopyArea(const TransitionCopy& copy) {
    const auto px = [](double v) { return int(std::clamp(std::lround(v), -1L << 30, 1L << 30)); };
    return QRect(px(copy.x), px(copy.y), px(copy.width), px(copy.height));
}

void CopyPixels(const QImage& source, QImage& target, const QRect& area) {
    const QRect clipped = area & source.rect() & target.rect();
    if (clipped.isEmpty()) return;
    if (source.format() == target.format() && source.depth() == 32) {
        const size_t bytes = size_t(clipped.width()) * 4;
        for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
            const uchar* from = source.constScanLine(y) + size_t(clipped.left()) * 4;
            uchar* to = target.scanLine(y) + size_t(clipped.left()) * 4;
            std::memcpy(to, from, bytes);
        }
        return;
    }
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(clipped.topLeft(), source, clipped);
}

namespace {

// Copies every rectangle of `region` row by row: the rectangles of one band
// (QRegion keeps them sorted by top, then left, with equal tops and bottoms
// in a band) are copied one pixel row at a time, so narrow columns over a
// tall picture walk memory in order instead of one page per pixel row.
void CopyRegion(const QImage& source, QImage& target, const QRegion& region) {
    if (source.format() != target.format() || source.depth() != 32) {
        for (const QRect& r : region) CopyPixels(source, target, r);
        return;
    }
    const QRect bounds = source.rect() & target.rect();
    const QRect* rects = region.begin();
    const QRect* end = region.end();
    while (rects != end) {
        const QRect* bandEnd = rects;
        while (bandEnd != end && bandEnd->top() == rects->top() && bandEnd->bottom() == rects->bottom()) ++bandEnd;
        const int top = std::max(rects->top(), bounds.top());
        const int bottom = std::min(rects->bottom(), bounds.bottom());
        for (int y = top; y <= bottom; ++y) {
            const uchar* from = source.constScanLine(y);
            uchar* to = target.scanLine(y);
            for (const QRect* r = rects; r != bandEnd; ++r) {
                const int left = std::max(r->left(), bounds.left());
                const int right = std::min(r->right(), bounds.right());
                if (left <= right)
                    std::memcpy(to + size_t(left) * 4, from + size_t(left) * 4, size_t(right - left + 1) * 4);
            }
        }
        rects = bandEnd;
    }
}

}  // namespace

int TransitionPlayer::FrameCount(size_t copies) { return int(std::min<size_t>(copies, kMaxFrames)); }

TransitionPlayer::TransitionPlayer(std::vector<TransitionCopy> copies)
    : copies_(std::move(copies)), frames_(FrameCount(copies_.size())) {}

void TransitionPlayer::drawFrame(const QImage& source, QImage& target, const CopyObserver& observer) {
    if (done()) return;
    // Make sure the surface is not shared before writing into it row by row.
    target.detach();
    const size_t end = copies_.size() * size_t(frame_ + 1) / size_t(frames_);
    QRegion group;
    for (; next_ < end; ++next_) {
        if (observer) observer(copies_[next_]);
        const QRect area = CopyArea(copies_[next_]) & source.rect() & target.rect();
        if (area.isEmpty()) continue;
        // Growing wipes cover what came before: keep one rectangle then.
        if (group.rectCount() <= 1 && area.contains(group.boundingRect()))
            group = area;
        else
            group += area;
    }
    const QRegion fresh = group.subtracted(drawn_);
    CopyRegion(source, target, fresh);
    drawn_ += fresh;
    ++frame_;
}

}  // namespace display
