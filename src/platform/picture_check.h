// Recognising the picture formats the program reads and checking that a file
// of one of them is whole. The image decoders return a partly decoded picture
// for a cut-off JPEG, GIF or BMP file without saying so; walking the file's
// own structure first turns such a file into a clean "invalid picture".
#pragma once

#include <QByteArray>

namespace platform {

enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp };

// The format by the file's leading bytes (never by its name).
PictureFormat SniffPictureFormat(const QByteArray& bytes);

// The decoder's name for the format ("jpeg", "png", "gif", "bmp").
const char* DecoderName(PictureFormat format);

// Whether the bytes hold a complete picture of that format: a JPEG up to its
// end-of-image marker, a PNG up to its IEND chunk, a GIF up to the end of its
// first image's data, a BMP with every row its header promises.
bool IsCompletePicture(const QByteArray& bytes, PictureFormat format);

}  // namespace platform
