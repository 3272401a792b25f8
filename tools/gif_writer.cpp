#include "gif_writer.h"

#include <cstdint>
#include <unordered_map>

namespace tools {

namespace {

void putWord(QByteArray& out, int value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

// Codes packed least significant bit first, as GIF wants them.
class CodeStream {
public:
    void put(int code, int width) {
        bits_ |= uint32_t(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_ += char(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish() {
        if (count_ > 0) bytes_ += char(bits_ & 0xFF);
        return bytes_;
    }

private:
    QByteArray bytes_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

// LZW with the GIF conventions: a clear code and an end code after the
// colour indices, codes growing from minCodeSize + 1 up to 12 bits, and a
// clear code whenever the table is full.
QByteArray compress(const QImage& indexed, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    CodeStream stream;
    std::unordered_map<uint32_t, int> table;  // (prefix code << 8 | index) -> code
    int width = minCodeSize + 1;
    int next = end + 1;
    stream.put(clear, width);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int index = line[x];
            if (prefix < 0) {
                prefix = index;
                continue;
            }
            const uint32_t key = uint32_t(prefix) << 8 | uint32_t(index);
            const auto found = table.find(key);
            if (found != table.end()) {
                prefix = found->second;
                continue;
            }
            stream.put(prefix, width);
            if (next < 4096) {
                table.emplace(key, next);
                // The reader widens its codes once its table reaches the
                // current width's limit; the writer follows one code later.
                if (next == (1 << width) && width < 12) ++width;
                ++next;
            } else {
                stream.put(clear, width);
                table.clear();
                width = minCodeSize + 1;
                next = end + 1;
            }
            prefix = index;
        }
    }
    if (prefix >= 0) stream.put(prefix, width);
    stream.put(end, width);
    return stream.finish();
}

}  // namespace

QByteArray EncodeGif(const QImage& picture) {
    QImage indexed = picture.format() == QImage::Format_Indexed8
                         ? picture
                         : picture.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    QList<QRgb> colours = indexed.colorTable();
    int bits = 1;
    while ((1 << bits) < colours.size()) ++bits;
    colours.resize(1 << bits, qRgb(0, 0, 0));

    QByteArray out("GIF89a");
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out += char(0x80 | (bits - 1) << 4 | (bits - 1));  // global colour table of 2^bits entries
    out += char(0);                                    // background colour index
    out += char(0);                                    // no aspect ratio
    for (const QRgb colour : colours) {
        out += char(qRed(colour));
        out += char(qGreen(colour));
        out += char(qBlue(colour));
    }
    out += char(0x2C);  // image descriptor: the whole screen, no local table
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out += char(0);
    const int minCodeSize = std::max(2, bits);
    out += char(minCodeSize);
    const QByteArray data = compress(indexed, minCodeSize);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out += char(block.size());
        out += block;
    }
    out += char(0);     // end of the image data
    out += char(0x3B);  // trailer
    return out;
}

}  // namespace tools
