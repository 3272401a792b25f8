#include "display/effect_table.h"

#include "display/clone_animation.h"
#include "display/float_animation.h"

namespace display {

namespace {
using settings::Effect;
using settings::Settings;

template <class T>
std::unique_ptr<Animation> Make(const AnimationStart& start) {
    return std::make_unique<T>(start);
}

constexpr EffectInfo kEffects[] = {
    {Effect::Glidorama, "Glidorama", "glidorama", nullptr, nullptr, Make<CloneAnimation>},
    {Effect::Float, "Float", "float", nullptr, nullptr, Make<FloatAnimation>},
    {Effect::Warp, "Warp", "warp", nullptr, nullptr, Make<CloneAnimation>},
    {Effect::Psychedelic, "Psychedelic", "psychedelic", &Settings::psychedelicSpeed, "Psychedelic Speed",
     Make<CloneAnimation>},
    {Effect::DeckOfCards, "Deck of Cards", "deck-of-cards", &Settings::deckSpeed, "Deck Speed", Make<CloneAnimation>},
    {Effect::JumpingBeans, "Jumping Beans", "jumping-beans", &Settings::jumpingSpeed, "Jumping Speed",
     Make<CloneAnimation>},
    {Effect::Vortex, "Vortex", "vortex", nullptr, nullptr, Make<CloneAnimation>},
    {Effect::Splat, "Splat!", "splat", &Settings::splatSpeed, "Splat Speed", Make<CloneAnimation>},
};
static_assert(std::size(kEffects) == size_t(Effect::kCount));
}  // namespace

std::span<const EffectInfo> Effects() { return kEffects; }

const EffectInfo* FindEffect(settings::Effect effect) {
    for (const EffectInfo& info : kEffects)
        if (effect == info.kind) return &info;
    return nullptr;
}

}  // namespace display
