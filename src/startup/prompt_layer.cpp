#include "startup/prompt_layer.h"

#include <QPainter>

#include <algorithm>

#include "startup/offscreen_prompt.h"

namespace startup {

namespace {
// The surface comes back this often for what the prompt drew (typing, the
// caret) or for the prompt arriving, whatever the effect's own pace.
constexpr display::Animation::Millis kPromptPoll = 40;
}  // namespace

PromptLayer::PromptLayer(std::unique_ptr<display::Animation> effect, OffscreenPrompt& prompt, QColor background,
                         QSize size)
    : effect_(std::move(effect)),
      prompt_(prompt),
      background_(background),
      size_(size),
      changed_(QRect(QPoint(), size)) {}

void PromptLayer::setPromptHere(bool here) {
    if (here == promptHere_) return;
    promptHere_ = here;
    changed_ = QRect(QPoint(), size_);
}

display::Animation::Millis PromptLayer::tick(Millis now) {
    Millis due = effect_ && !stopped_ ? effect_->tick(now) : kNever;
    if (promptHere_) changed_ += prompt_.takeDirty();
    return std::min(due, now + kPromptPoll);
}

display::Damage PromptLayer::takeDamage() {
    display::Damage damage = effect_ ? effect_->takeDamage() : display::Damage{};
    // The prompt covers the whole output: what the effect changed behind it
    // is drawn when the prompt goes.
    if (promptHere_) damage = display::Damage{};
    damage.region += std::exchange(changed_, QRegion());
    return damage;
}

void PromptLayer::paint(QPainter& painter, const QRegion& area) const {
    if (promptHere_)
        prompt_.render(painter, area);
    else if (effect_)
        effect_->paint(painter, area);
    else
        for (const QRect& r : area) painter.fillRect(r, background_);
}

void PromptLayer::resize(QSize size) {
    size_ = size;
    if (effect_) effect_->resize(size);
    if (promptHere_) prompt_.show(size);
    changed_ = QRect(QPoint(), size_);
}

QRect PromptLayer::pictureArea() const { return effect_ && !promptHere_ ? effect_->pictureArea() : QRect(); }
double PromptLayer::unitsPerPixel() const { return effect_ ? effect_->unitsPerPixel() : 1; }

}  // namespace startup
