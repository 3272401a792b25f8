#include "runtime/colors.h"

namespace platform {

QColor FromWindowsColor(int64_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    if (v & 0x80000000u) {
        switch (v & 0xFFu) {
            case kWindowBackground: return QColor(255, 255, 255);
            case kWindowText: return QColor(0, 0, 0);
            case kThreeDLight: return QColor(227, 227, 227);
            case kButtonFace: return QColor(240, 240, 240);
            default: return QColor(0, 0, 0);
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int32_t ToWindowsColor(const QColor& color) { return (color.blue() << 16) | (color.green() << 8) | color.red(); }

}  // namespace platform
