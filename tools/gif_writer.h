// Writing a GIF file: Qt reads GIF but cannot write it. One image, its own
// colour table, LZW-compressed as the format requires.
#pragma once

#include <QByteArray>
#include <QImage>

namespace tools {

// The picture as a GIF89a file. Colours beyond 256 are reduced first.
QByteArray EncodeGif(const QImage& picture);

}  // namespace tools
