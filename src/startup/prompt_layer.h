// PromptLayer: what a lock surface shows: the chosen effect and, on the
// output that has it, the password prompt in front. The effect goes on
// behind the prompt, as on X11, and is seen again when the prompt goes.
#pragma once

#include <QColor>

#include <memory>

#include "display/animation.h"

namespace startup {

class OffscreenPrompt;

class PromptLayer : public display::Animation {
public:
    // `effect` may be null (a mode that names no effect, or one that failed
    // to start): `background` shows instead.
    PromptLayer(std::unique_ptr<display::Animation> effect, OffscreenPrompt& prompt, QColor background, QSize size);

    // Whether the prompt shows here, in front of the effect.
    void setPromptHere(bool here);
    bool promptHere() const { return promptHere_; }
    // After a failure the effect stands still; the prompt still answers.
    void standStill() { stopped_ = true; }

    Millis tick(Millis now) override;
    display::Damage takeDamage() override;
    void paint(QPainter& painter, const QRegion& area) const override;
    void resize(QSize size) override;
    QSize size() const override { return size_; }
    QRect pictureArea() const override;
    double unitsPerPixel() const override;

private:
    std::unique_ptr<display::Animation> effect_;
    OffscreenPrompt& prompt_;
    QColor background_;
    QSize size_;
    bool promptHere_ = false;
    bool stopped_ = false;
    QRegion changed_;  // drawn afresh at the next frame, besides the effect's damage
};

}  // namespace startup
