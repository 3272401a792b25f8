#include "picture/picture_check.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// A read-only view of a file through one window of bounded size, moved as
// the walk goes: byte access by position without reading the file whole.
class FileBytes {
public:
    explicit FileBytes(QIODevice& device) : device_(device), size_(device.size()) {}
    int64_t size() const { return size_; }

    // The byte at `pos`, or -1 past the end or on a read error.
    int at(int64_t pos) {
        if (pos < 0 || pos >= size_) return -1;
        if (pos < start_ || pos >= start_ + window_.size()) {
            if (!load(pos)) return -1;
        }
        return static_cast<unsigned char>(window_[qsizetype(pos - start_)]);
    }
    // The position of the next `byte` at or after `pos`, or size().
    int64_t find(unsigned char byte, int64_t pos) {
        while (pos < size_) {
            if (at(pos) < 0) return size_;
            const qsizetype offset = qsizetype(pos - start_);
            const void* hit = std::memchr(window_.constData() + offset, byte, size_t(window_.size() - offset));
            if (hit) return start_ + (static_cast<const char*>(hit) - window_.constData());
            pos = start_ + window_.size();
        }
        return size_;
    }
    uint32_t be16(int64_t pos) { return uint32_t(at(pos)) << 8 | uint32_t(at(pos + 1)); }
    uint32_t be32(int64_t pos) { return be16(pos) << 16 | be16(pos + 2); }
    uint32_t le16(int64_t pos) { return uint32_t(at(pos)) | uint32_t(at(pos + 1)) << 8; }
    uint32_t le32(int64_t pos) { return le16(pos) | le16(pos + 2) << 16; }

private:
    static constexpr qint64 kWindow = 256 * 1024;
    bool load(int64_t pos) {
        start_ = pos;
        window_.clear();
        if (!device_.seek(pos)) return false;
        window_ = device_.read(kWindow);
        return !window_.isEmpty();
    }
    QIODevice& device_;
    int64_t size_;
    int64_t start_ = 0;
    QByteArray window_;
};

bool isSof(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Reads a start-of-frame segment's sampling factors to size a progressive
// decoder's coefficient store: 64 coefficients of 2 bytes per 8 x 8 block
// of every component, at full resolution.
void readFrame(FileBytes& f, int64_t pos, int marker, PictureLayout& layout) {
    const bool progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    if (!progressive) return;
    const int64_t height = f.be16(pos + 3), width = f.be16(pos + 5);
    const int components = f.at(pos + 7);
    if (components <= 0) return;
    int maxH = 1, maxV = 1;
    for (int c = 0; c < components; ++c) {
        const int sampling = std::max(0, f.at(pos + 8 + c * 3 + 1));
        maxH = std::max(maxH, sampling >> 4);
        maxV = std::max(maxV, sampling & 15);
    }
    int64_t bytes = 0;
    for (int c = 0; c < components; ++c) {
        const int sampling = std::max(0, f.at(pos + 8 + c * 3 + 1));
        const int64_t w = (width * std::max(1, sampling >> 4) + maxH * 8 - 1) / (maxH * 8);
        const int64_t h = (height * std::max(1, sampling & 15) + maxV * 8 - 1) / (maxV * 8);
        bytes += w * h * 64 * 2;
    }
    layout.progressive = true;
    layout.coefficientBytes = bytes;
}

// Markers, then the entropy-coded data after each start of scan (where a
// 0xFF is followed by a stuffed 0x00 or a restart marker), up to the
// end-of-image marker.
bool jpegComplete(FileBytes& f, PictureLayout& layout) {
    const int64_t n = f.size();
    int64_t pos = 2;
    bool sawScan = false;
    for (;;) {
        pos = f.find(0xFF, pos);
        while (pos < n && f.at(pos) == 0xFF) ++pos;  // fill bytes
        if (pos >= n) return false;
        const int marker = f.at(pos++);
        if (marker == 0xD9) return sawScan;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (pos + 2 > n) return false;
        const int64_t length = f.be16(pos);
        if (length < 2 || pos + length > n) return false;
        if (isSof(marker)) readFrame(f, pos, marker, layout);
        pos += length;
        if (marker != 0xDA) continue;
        sawScan = true;
        for (;;) {
            pos = f.find(0xFF, pos);
            int64_t code = pos + 1;
            while (code < n && f.at(code) == 0xFF) ++code;
            if (code >= n) return false;
            const int next = f.at(code);
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                pos = code + 1;
                continue;
            }
            pos = code - 1;  // the marker's last 0xFF: the outer loop reads it
            break;
        }
    }
}

// EXIF data is small; a larger block is not read to find its orientation.
constexpr int64_t kMaxExifBytes = 1024 * 1024;

QByteArray readBytes(FileBytes& f, int64_t pos, int64_t length) {
    QByteArray bytes;
    if (length <= 0 || length > kMaxExifBytes) return bytes;
    bytes.reserve(qsizetype(length));
    for (int64_t i = 0; i < length; ++i) {
        const int b = f.at(pos + i);
        if (b < 0) break;
        bytes += char(b);
    }
    return bytes;
}

// Chunks (length, type, data, CRC) up to IEND; an eXIf chunk gives the orientation.
bool pngComplete(FileBytes& f, PictureLayout& layout) {
    const int64_t n = f.size();
    int64_t pos = 8;
    layout.interlaced = f.at(28) == 1;  // the header chunk's last byte
    for (;;) {
        if (pos + 12 > n) return false;
        const int64_t length = f.be32(pos);
        if (pos + 12 + length > n) return false;
        const uint32_t type = f.be32(pos + 4);
        if (type == 0x49454E44) return true;                                                              // "IEND"
        if (type == 0x65584966) layout.exifOrientation = ExifOrientation(readBytes(f, pos + 8, length));  // "eXIf"
        pos += 12 + length;
    }
}

// Sub-blocks (size byte, data) up to the zero-size terminator.
bool skipSubBlocks(FileBytes& f, int64_t& pos) {
    for (;;) {
        const int size = f.at(pos++);
        if (size < 0) return false;
        if (size == 0) return true;
        pos += size;
    }
}

// Header, colour tables and extensions up to the end of the first image's
// data: the only image the program shows.
bool gifComplete(FileBytes& f) {
    if (f.size() < 13) return false;
    int64_t pos = 13;
    if (f.at(10) & 0x80) pos += int64_t(3) << ((f.at(10) & 7) + 1);
    for (;;) {
        const int block = f.at(pos++);
        if (block == 0x21) {
            ++pos;  // extension label
            if (!skipSubBlocks(f, pos)) return false;
        } else if (block == 0x2C) {
            if (pos + 9 > f.size()) return false;
            const int flags = f.at(pos + 8);
            pos += 9;
            if (flags & 0x80) pos += int64_t(3) << ((flags & 7) + 1);
            ++pos;  // LZW minimum code size
            return skipSubBlocks(f, pos);
        } else {
            return false;  // the trailer before any image, garbage, or the end
        }
    }
}

// The pixel rows the headers promise must all be in the file.
bool bmpComplete(FileBytes& f, PictureLayout& layout) {
    const int64_t n = f.size();
    if (n < 26) return false;
    const uint64_t offset = f.le32(10);
    const uint32_t headerSize = f.le32(14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    uint64_t imageSize = 0;
    if (headerSize == 12) {
        width = f.le16(18);
        height = f.le16(20);
        bitCount = f.le16(24);
    } else if (headerSize >= 40 && n >= 54) {
        width = int32_t(f.le32(18));
        height = int32_t(f.le32(22));
        bitCount = f.le16(28);
        compression = f.le32(30);
        imageSize = f.le32(34);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || bitCount == 0) return false;
    if (height < 0) height = -height;
    layout.declaredWidth = width;
    layout.declaredHeight = height;
    uint64_t pixelBytes = imageSize;
    if (compression == 0 || compression == 3 || compression == 6) {  // plain rows, bit fields
        pixelBytes = (uint64_t(width) * bitCount + 31) / 32 * 4 * uint64_t(height);
    } else if (pixelBytes == 0) {
        pixelBytes = 2;  // run-length data: at least the end-of-bitmap code
    }
    return offset + pixelBytes <= uint64_t(n);
}

// A RIFF file holds as many bytes as its header declares; an EXIF chunk
// among its chunks gives the orientation.
bool webpComplete(FileBytes& f, PictureLayout& layout) {
    if (f.size() < 12) return false;
    const int64_t end = 8 + int64_t(f.le32(4));
    if (end > f.size()) return false;
    for (int64_t pos = 12; pos + 8 <= end;) {
        const int64_t length = f.le32(pos + 4);
        if (f.be32(pos) == 0x45584946)
            layout.exifOrientation = ExifOrientation(readBytes(f, pos + 8, length));  // "EXIF"
        pos += 8 + length + (length & 1);
    }
    return true;
}

// The first image directory, with all its entries, lies inside the file;
// its rows per strip, or its tile length, and its height give the band.
bool tiffComplete(FileBytes& f, PictureLayout& layout) {
    const bool little = f.at(0) == 'I';
    auto u16 = [&](int64_t pos) { return little ? f.le16(pos) : f.be16(pos); };
    auto u32 = [&](int64_t pos) { return little ? f.le32(pos) : f.be32(pos); };
    const int64_t directory = u32(4);
    if (directory < 8 || directory + 2 > f.size()) return false;
    const int64_t entries = u16(directory);
    if (directory + 2 + entries * 12 + 4 > f.size()) return false;
    int64_t height = 0, band = 0;
    for (int64_t i = 0; i < entries; ++i) {
        const int64_t entry = directory + 2 + i * 12;
        const uint32_t tag = u16(entry), type = u16(entry + 2);
        const int64_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);  // SHORT or LONG
        if (tag == 257)
            height = value;  // ImageLength
        else if (tag == 278 || tag == 323)
            band = value;  // RowsPerStrip, TileLength
    }
    layout.bandRows = band > 0 && (height == 0 || band < height) ? band : height;
    return true;
}

// Top-level boxes (size, type), each whole, with the one holding the coded
// picture data among them.
bool heifComplete(FileBytes& f) {
    const int64_t n = f.size();
    int64_t pos = 0;
    bool sawData = false;
    while (pos < n) {
        if (pos + 8 > n) return false;
        int64_t size = f.be32(pos);
        const uint32_t type = f.be32(pos + 4);
        if (size == 1) {
            if (pos + 16 > n) return false;
            size = int64_t(uint64_t(f.be32(pos + 8)) << 32 | f.be32(pos + 12));
        } else if (size == 0) {
            size = n - pos;  // the last box runs to the end of the file
        }
        if (size < 8 || pos + size > n) return false;
        if (type == 0x6D646174 || type == 0x69646174) sawData = true;  // "mdat", "idat"
        pos += size;
    }
    return sawData;
}

bool isHeifBrand(const QByteArray& brand) {
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                         "mif1", "msf1", "mif2", "avif", "avis", "avio"};
    for (const char* b : brands)
        if (brand == b) return true;
    return false;
}

}  // namespace

PictureFormat SniffPictureFormat(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return PictureFormat::Gif;
    if (head.startsWith("BM")) return PictureFormat::Bmp;
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP") return PictureFormat::Webp;
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4))) return PictureFormat::Tiff;
    if (head.mid(4, 4) == "ftyp" && head.size() >= 12) {
        // The major brand, or one of the compatible brands that follow it.
        const int64_t boxSize = uint32_t(uchar(head[0])) << 24 | uint32_t(uchar(head[1])) << 16 |
                                uint32_t(uchar(head[2])) << 8 | uchar(head[3]);
        if (isHeifBrand(head.mid(8, 4))) return PictureFormat::Heif;
        for (qsizetype at = 16; at + 4 <= std::min<int64_t>(boxSize, head.size()); at += 4)
            if (isHeifBrand(head.mid(at, 4))) return PictureFormat::Heif;
    }
    return PictureFormat::Unknown;
}

QString NotAPictureReason(const QByteArray& head) {
    if (head.isEmpty()) return QStringLiteral("the file is empty");
    if (head.startsWith("%PDF")) return QStringLiteral("it is a PDF document");
    if (head.startsWith("PK\x03\x04")) return QStringLiteral("it is a ZIP archive");
    if (head.mid(4, 4) == "ftyp") return QStringLiteral("it is a video or another kind of media file");
    if (head.startsWith("<svg") || head.contains("<svg")) return QStringLiteral("it is an SVG drawing");
    // Text: printable characters, line breaks, tabs and UTF-8 sequences only.
    const bool text = std::all_of(head.begin(), head.end(), [](char c) {
        const auto b = uchar(c);
        return b >= 0x20 || b == '\n' || b == '\r' || b == '\t';
    });
    if (text) return QStringLiteral("it is a text file");
    return QStringLiteral("its contents are in no picture format Glidorama reads");
}

const char* DecoderName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Jpeg: return "jpeg";
        case PictureFormat::Png: return "png";
        case PictureFormat::Gif: return "gif";
        case PictureFormat::Bmp: return "bmp";
        case PictureFormat::Webp: return "webp";
        case PictureFormat::Tiff: return "tiff";
        case PictureFormat::Heif:
        case PictureFormat::Unknown: break;
    }
    return "";
}

PictureLayout CheckPicture(QIODevice& file, PictureFormat format) {
    FileBytes f(file);
    PictureLayout layout;
    switch (format) {
        case PictureFormat::Jpeg: layout.complete = jpegComplete(f, layout); break;
        case PictureFormat::Png: layout.complete = pngComplete(f, layout); break;
        case PictureFormat::Gif: layout.complete = gifComplete(f); break;
        case PictureFormat::Bmp: layout.complete = bmpComplete(f, layout); break;
        case PictureFormat::Webp: layout.complete = webpComplete(f, layout); break;
        case PictureFormat::Tiff: layout.complete = tiffComplete(f, layout); break;
        case PictureFormat::Heif: layout.complete = heifComplete(f); break;
        case PictureFormat::Unknown: break;
    }
    return layout;
}

int ExifOrientation(const QByteArray& exif) {
    const QByteArray tiff = exif.startsWith(QByteArray("Exif\0\0", 6)) ? exif.mid(6) : exif;
    if (tiff.size() < 8) return 1;
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM")) return 1;
    const auto* p = reinterpret_cast<const unsigned char*>(tiff.constData());
    const int64_t n = tiff.size();
    auto u16 = [&](int64_t at) -> uint32_t {
        if (at < 0 || at + 2 > n) return 0;
        return little ? uint32_t(p[at]) | uint32_t(p[at + 1]) << 8 : uint32_t(p[at]) << 8 | p[at + 1];
    };
    auto u32 = [&](int64_t at) -> uint32_t {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const int64_t directory = u32(4);
    const int64_t entries = u16(directory);
    for (int64_t i = 0; i < entries; ++i) {
        const int64_t entry = directory + 2 + i * 12;
        if (entry + 12 > n) break;
        if (u16(entry) == 0x0112) {
            const uint32_t value = u16(entry + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

PictureLayout CheckPicture(const QByteArray& bytes, PictureFormat format) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return CheckPicture(buffer, format);
}

}  // namespace platform
