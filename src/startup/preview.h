// The pieces of the preview that can be checked without a screen.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

#include "runtime/picture_box.h"

namespace startup {

// The block copied to the preview window is larger than the picture; only
// the picture's own pixels carry the picture, the rest is black.
constexpr int kPreviewBlockWidth = 160;
constexpr int kPreviewBlockHeight = 120;

// The preview window's handle from the command line: the number after the
// first three characters (no number gives 0), decimal, "&H" hex or "0x" hex. None for a command line too
// short to hold one, or a number that is no 32-bit handle.
std::optional<int32_t> PreviewHandle(const QString& commandLine);

// The 160 x 120 block drawn into the preview window.
QImage PreviewBlock(const platform::PictureBox& picture);

}  // namespace startup
