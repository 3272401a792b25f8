#include "dialog/value_conversions.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "runtime/vb.h"
#include "settings/defaults.h"

namespace dialog {

namespace {

double NumberOr(const QString& text, QString settings::Settings::*key) {
    for (const QString& candidate : {text, settings::DefaultValue(key)}) {
        try {
            const double v = vb::CDbl(candidate);
            if (std::isfinite(v)) return v;
        } catch (const vb::RuntimeError&) {}
    }
    return 0;
}

int32_t Clamped(double v, int32_t low, int32_t high) { return vb::CLng(std::clamp(v, double(low), double(high))); }

}  // namespace

int32_t ControlValue(const QString& text, QString settings::Settings::*key, int32_t low, int32_t high) {
    return Clamped(NumberOr(text, key), low, high);
}

int32_t ReversedValue(const QString& text, QString settings::Settings::*key, int32_t top) {
    const double v = NumberOr(text, key);
    if (v == top) return 1;
    if (v == 1) return top;
    return Clamped(top - v, 1, top);
}

QString ReversedText(int32_t position, int32_t top) {
    if (position == top) return QStringLiteral("1");
    if (position == 1) return vb::CStr(top);
    return vb::CStr(int32_t(top - position));
}

bool IsNumber(const QString& text, double wanted) {
    try {
        return vb::CDbl(text) == wanted;
    } catch (const vb::RuntimeError&) {
        return false;
    }
}

namespace {
// The entries of "Picture size" as per cent, 0 for "Automatic".
constexpr int kPicturePercents[] = {0, 100, 150, 200};
}  // namespace

int PictureSizeIndex(const QString& text) {
    const int percent = settings::PictureScalePercent(text).value_or(0);
    return int(std::find(std::begin(kPicturePercents), std::end(kPicturePercents), percent) -
               std::begin(kPicturePercents));
}

QString PictureSizeText(int index) {
    const int percent = index >= 0 && index < int(std::size(kPicturePercents)) ? kPicturePercents[index] : 0;
    return percent == 0 ? QStringLiteral("Automatic") : QString::number(percent);
}

}  // namespace dialog
