#include "settings/effect.h"

#include <array>

#include "runtime/vb.h"

namespace settings {

Effect Effect::FromNumber(int number) { return number >= 0 && number < kCount ? Effect(Kind(number)) : Effect(None); }

Effect Effect::FromText(const QString& text) {
    // A number that is not whole, or is out of range, names no effect.
    const double number = vb::CDbl(text);
    for (int n = 0; n < kCount; ++n)
        if (number == n) return Effect(Kind(n));
    return Effect(None);
}

Effect Effect::Stored(const QString& text) {
    try {
        return FromText(text);
    } catch (const vb::RuntimeError&) {
        return Effect(None);
    }
}

bool Effect::TextIs(const QString& text, Kind kind) { return kind != None && Stored(text) == kind; }

}  // namespace settings
