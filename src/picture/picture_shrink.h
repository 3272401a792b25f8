// Shrinking a picture while it is decoded, row by row: a decoder that gives
// its rows one at a time never needs the picture at full size in memory,
// only the rows in hand and the result.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

namespace platform {

// Averages the area of the source that each pixel of the (smaller or
// equal) target covers: every source pixel counts in proportion to how much
// of it falls into the target pixel, so a fine pattern turns into its mean
// colour instead of flickering stripes.
class RowShrinker {
public:
    // How the 8-bit rows are laid out: R, G, B; R, G, B and an unused
    // byte; or R, G, B, A with the colours either as they are or already
    // multiplied by their alpha.
    enum class Layout { Rgb, Rgbx, Rgba, RgbaPremultiplied };

    // Whether a source can be shrunk to `target`: no side grows.
    static bool Shrinks(QSize source, QSize target);
    // The bytes a shrinker holds besides the rows it is given.
    static int64_t Cost(QSize target);

    RowShrinker(QSize source, QSize target, Layout layout);

    // The next source row, top to bottom: source.width() pixels.
    void addRow(const uchar* row);
    // How many rows it has been given.
    int rows() const { return sourceRow_; }
    // The picture once every row is in: RGB32 when opaque, otherwise
    // ARGB32_Premultiplied.
    QImage result() { return std::move(target_); }

private:
    void emitRow(int targetRow);

    QSize source_, targetSize_;
    Layout layout_;
    int channels_;  // summed per pixel
    int step_;      // bytes per source pixel
    // Per source column: the target column it starts in and its share of it
    // (out of target width); the rest goes to the next column.
    std::vector<int> column_;
    std::vector<uint32_t> share_;
    std::vector<uint32_t> across_;          // one source row averaged across
    std::vector<uint64_t> current_, next_;  // target rows being summed
    int sourceRow_ = 0;
    QImage target_;
};

}  // namespace platform
