// Recognising the picture formats the program reads and checking that a file
// of one of them is whole. The image decoders return a partly decoded picture
// for a cut-off JPEG, GIF or BMP file without saying so; walking the file's
// own structure first turns such a file into a clean "invalid picture".
// The walk reads the file in bounded chunks, never whole: a huge file costs
// time to check, not memory.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>

namespace platform {

enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp, Webp, Tiff, Heif };

// How many leading bytes SniffPictureFormat and NotAPictureReason look at.
constexpr qint64 kSniffBytes = 64;

// The format by the file's leading bytes (never by its name).
PictureFormat SniffPictureFormat(const QByteArray& head);

// For leading bytes of no format we read, what the file is in plain words
// ("it is a text file", "the file is empty", ...).
QString NotAPictureReason(const QByteArray& head);

// The Qt decoder's name for the format ("jpeg", "png", ...); empty for the
// formats Qt does not decode (HEIF).
const char* DecoderName(PictureFormat format);

// What walking the file found.
struct PictureLayout {
    // The file holds the whole picture: a JPEG up to its end-of-image
    // marker, a PNG up to its IEND chunk, a GIF up to the end of its first
    // image's data, a BMP with every row its header promises, a WebP or HEIF
    // file with every byte its boxes declare, a TIFF with its first directory.
    bool complete = false;
    // A progressive JPEG: its decoder holds every coefficient of the full
    // picture at once, whatever size it is decoded at.
    bool progressive = false;
    // Bytes of those coefficients (0 unless progressive).
    int64_t coefficientBytes = 0;
    // The EXIF orientation (1 to 8) a PNG or WebP file stores, which their
    // decoders ignore; 1 (upright) when there is none.
    int exifOrientation = 1;
    // A PNG stored interlaced: its rows come in seven passes, so it cannot
    // be read a row at a time.
    bool interlaced = false;
    // A TIFF's rows per strip (or tile length): how many rows its decoder
    // must hold at once. 0 when not known.
    int64_t bandRows = 0;
    // The size a BMP header declares (empty for other formats): the decoder
    // will not even say the size of a picture too large for it.
    int64_t declaredWidth = 0;
    int64_t declaredHeight = 0;
};

// The orientation tag of EXIF data (a TIFF structure, after an optional
// "Exif\0\0"): 1 to 8, or 1 when missing or unreadable.
int ExifOrientation(const QByteArray& exif);

// Walks the file from its start (the device must be open and seekable).
PictureLayout CheckPicture(QIODevice& file, PictureFormat format);

// The same over bytes in memory.
PictureLayout CheckPicture(const QByteArray& bytes, PictureFormat format);

}  // namespace platform
