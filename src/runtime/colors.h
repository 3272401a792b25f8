// Windows colour values (0x00BBGGRR, or 0x800000NN for system colour NN).
#pragma once

#include <QColor>

#include <cstdint>

namespace platform {

// System colour indexes the program uses.
enum SystemColor : int {
    kButtonFace = 15,
    kWindowBackground = 5,
    kWindowText = 8,
    kThreeDLight = 22,
};

QColor FromWindowsColor(int64_t value);
int32_t ToWindowsColor(const QColor& color);
// The value of a system colour, as stored in a BackColor property.
constexpr int64_t SystemColorValue(int index) { return 0x80000000LL | index; }

}  // namespace platform
