#include "platform/picture_check.h"

#include <cstdint>
#include <cstring>

namespace platform {

namespace {

using Bytes = const unsigned char*;

uint32_t le16(Bytes p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(Bytes p) { return le16(p) | le16(p + 2) << 16; }
uint32_t be32(Bytes p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// The position of the next 0xFF byte at or after `pos`, or `n`.
size_t nextFF(Bytes p, size_t pos, size_t n) {
    if (pos >= n) return n;
    const void* hit = std::memchr(p + pos, 0xFF, n - pos);
    return hit ? size_t(static_cast<Bytes>(hit) - p) : n;
}

// Markers, then the entropy-coded data after each start of scan (where a
// 0xFF is followed by a stuffed 0x00 or a restart marker), up to the
// end-of-image marker.
bool jpegComplete(Bytes p, size_t n) {
    size_t pos = 2;
    bool sawScan = false;
    for (;;) {
        pos = nextFF(p, pos, n);
        while (pos < n && p[pos] == 0xFF) ++pos;  // fill bytes
        if (pos >= n) return false;
        const unsigned char marker = p[pos++];
        if (marker == 0xD9) return sawScan;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (pos + 2 > n) return false;
        const size_t length = p[pos] << 8 | p[pos + 1];
        if (length < 2 || pos + length > n) return false;
        pos += length;
        if (marker != 0xDA) continue;
        sawScan = true;
        for (;;) {
            pos = nextFF(p, pos, n);
            size_t code = pos + 1;
            while (code < n && p[code] == 0xFF) ++code;
            if (code >= n) return false;
            if (p[code] == 0x00 || (p[code] >= 0xD0 && p[code] <= 0xD7)) {
                pos = code + 1;
                continue;
            }
            pos = code - 1;  // the marker's last 0xFF: the outer loop reads it
            break;
        }
    }
}

// Chunks (length, type, data, CRC) up to IEND.
bool pngComplete(Bytes p, size_t n) {
    size_t pos = 8;
    for (;;) {
        if (pos + 12 > n) return false;
        const uint64_t length = be32(p + pos);
        if (pos + 12 + length > n) return false;
        if (std::memcmp(p + pos + 4, "IEND", 4) == 0) return true;
        pos += 12 + size_t(length);
    }
}

// Sub-blocks (size byte, data) up to the zero-size terminator.
bool skipSubBlocks(Bytes p, size_t n, size_t& pos) {
    for (;;) {
        if (pos >= n) return false;
        const size_t size = p[pos++];
        if (size == 0) return true;
        pos += size;
    }
}

// Header, colour tables and extensions up to the end of the first image's
// data: the only image the program shows.
bool gifComplete(Bytes p, size_t n) {
    if (n < 13) return false;
    size_t pos = 13;
    if (p[10] & 0x80) pos += size_t(3) << ((p[10] & 7) + 1);
    for (;;) {
        if (pos >= n) return false;
        const unsigned char block = p[pos++];
        if (block == 0x21) {
            ++pos;  // extension label
            if (!skipSubBlocks(p, n, pos)) return false;
        } else if (block == 0x2C) {
            if (pos + 9 > n) return false;
            const unsigned char flags = p[pos + 8];
            pos += 9;
            if (flags & 0x80) pos += size_t(3) << ((flags & 7) + 1);
            ++pos;  // LZW minimum code size
            return skipSubBlocks(p, n, pos);
        } else {
            return false;  // the trailer before any image, or garbage
        }
    }
}

// The pixel rows the headers promise must all be in the file.
bool bmpComplete(Bytes p, size_t n) {
    if (n < 26) return false;
    const uint64_t offset = le32(p + 10);
    const uint32_t headerSize = le32(p + 14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    uint64_t imageSize = 0;
    if (headerSize == 12) {
        width = le16(p + 18);
        height = le16(p + 20);
        bitCount = le16(p + 24);
    } else if (headerSize >= 40 && n >= 54) {
        width = int32_t(le32(p + 18));
        height = int32_t(le32(p + 22));
        bitCount = le16(p + 28);
        compression = le32(p + 30);
        imageSize = le32(p + 34);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || bitCount == 0) return false;
    if (height < 0) height = -height;
    uint64_t pixelBytes = imageSize;
    if (compression == 0 || compression == 3 || compression == 6) {  // plain rows, bit fields
        pixelBytes = (uint64_t(width) * bitCount + 31) / 32 * 4 * uint64_t(height);
    } else if (pixelBytes == 0) {
        pixelBytes = 2;  // run-length data: at least the end-of-bitmap code
    }
    return offset + pixelBytes <= n;
}

}  // namespace

PictureFormat SniffPictureFormat(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
    if (bytes.startsWith("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) return PictureFormat::Gif;
    if (bytes.startsWith("BM")) return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

const char* DecoderName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Jpeg: return "jpeg";
        case PictureFormat::Png: return "png";
        case PictureFormat::Gif: return "gif";
        case PictureFormat::Bmp: return "bmp";
        case PictureFormat::Unknown: break;
    }
    return "";
}

bool IsCompletePicture(const QByteArray& bytes, PictureFormat format) {
    const auto* p = reinterpret_cast<Bytes>(bytes.constData());
    const auto n = size_t(bytes.size());
    switch (format) {
        case PictureFormat::Jpeg: return jpegComplete(p, n);
        case PictureFormat::Png: return pngComplete(p, n);
        case PictureFormat::Gif: return gifComplete(p, n);
        case PictureFormat::Bmp: return bmpComplete(p, n);
        case PictureFormat::Unknown: break;
    }
    return false;
}

}  // namespace platform
