// Turning stored settings text into control values. Text that is not a
// number gives the key's default; a number outside the control's range
// gives the nearest value the control can take, so any settings file opens.
#pragma once

#include <QString>

#include <cstdint>

#include "settings/settings.h"

namespace dialog {

// Whether the text is a number equal to `wanted` (text that is not a number is not).
bool IsNumber(const QString& text, double wanted);

// The text as a whole number within [low, high] (nearest, halves to even).
// Empty or non-numeric text uses the key's default text instead.
int32_t ControlValue(const QString& text, QString settings::Settings::*key, int32_t low, int32_t high);

// A stored speed is the slider position reversed: 200 and 1 swap, anything
// else is `top` minus the number (top is 200 for `Speed`, 15 for the mouse).
int32_t ReversedValue(const QString& text, QString settings::Settings::*key, int32_t top);
// The same rule applied to a slider position, giving the text to store.
QString ReversedText(int32_t position, int32_t top);

// "Picture size": the list's entry for the stored text ("Automatic", "100",
// "150", "200"; any other text is "Automatic"), and the text for an entry.
int PictureSizeIndex(const QString& text);
QString PictureSizeText(int index);

}  // namespace dialog
