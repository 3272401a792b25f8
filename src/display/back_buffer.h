// The display's persistent image: a screen-sized surface that the clone
// tick clears and copies pictures onto. It remembers where it has been drawn
// on, so that clearing touches only those parts and presenting sends only
// what changed, with the same result as clearing and showing it all. Its
// pixels are made on first use: a display that never draws into it (Float)
// never holds a screen's worth of memory for it.
//
// Positions and the size are in the effect's logical pixels; the pixels are
// device pixels, `scale` to a logical one, so pictures made at device size
// are copied one to one and stay sharp.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <vector>

namespace display {

class BackBuffer {
public:
    void resize(QSize size, double scale = 1);
    QSize size() const { return size_; }
    double scale() const { return scale_; }
    // The surface at device pixels (`scale` times the size).
    const QImage& image() const;
    // Where the surface's pixels are made from now on (memory a window
    // shows from); a null image from it, or no maker, means plain memory.
    void setImageMaker(std::function<QImage(QSize)> make) { makeImage_ = std::move(make); }

    // Changing the colour clears the whole surface to it.
    void setBackColor(const QColor& color);
    const QColor& backColor() const { return backColor_; }

    // Clears to the background colour.
    void Cls();
    // Opaque copy of the top-left w x h device pixels of `source` to the
    // logical point (x, y), clipped to both surfaces.
    void BitBlt(int x, int y, int w, int h, const QImage& source);

    // The areas changed since the last call (logical pixels, rounded
    // outwards); `all` when too many to list.
    struct Changes {
        bool all = false;
        std::vector<QRect> rects;
        bool empty() const { return !all && rects.empty(); }
    };
    Changes takeChanges();

    // Pixels written by clears and copies so far (for measuring).
    uint64_t pixelsWritten() const { return pixelsWritten_ + madePixels_; }

private:
    // The surface, made and cleared to the background colour when first needed.
    QImage& pixels() const;
    void fillAll();
    void noteChanged(const QRect& device);
    // Clears what the last Cls left to clear, but for what was copied over
    // it since: those pixels are written once, not cleared and written.
    void settleClears() const;
    void clearRect(const QRect& device) const;

    // A device rectangle in logical pixels, covering every pixel it touches.
    QRect logical(const QRect& device) const;

    QSize size_{0, 0};
    double scale_ = 1;
    QSize deviceSize_{0, 0};
    mutable QImage image_;
    std::function<QImage(QSize)> makeImage_;
    mutable uint64_t madePixels_ = 0;
    QColor backColor_{Qt::black};
    // What was copied since the last Cls (where anything but the background
    // may be): a list, or the whole surface.
    std::vector<QRect> painted_;
    bool paintedAll_ = false;
    // What the last Cls cleared, in device pixels, not yet written.
    mutable std::vector<QRect> toClear_;
    Changes changes_;
    mutable uint64_t pixelsWritten_ = 0;
    mutable std::vector<uint32_t> backgroundRow_;
};

}  // namespace display
