// Float as an animation, over FloatShow as it runs today: FloatShow keeps
// its own two timers and pauses, so this animation is never ticked; it tells
// the display when the picture moved or changed, and hands its failures to
// the display. It goes when Float is ticked like every other effect.
#pragma once

#include <QColor>
#include <QRect>

#include <functional>
#include <memory>

#include "display/animation.h"
#include "display/animation_start.h"
#include "display/float_host.h"
#include "display/float_show.h"
#include "platform/form_timer.h"
#include "platform/picture_box.h"

namespace display {

class AdaptedFloat final : public Animation, public FloatHost {
public:
    explicit AdaptedFloat(const AnimationStart& start);
    ~AdaptedFloat() override;

    Millis tick(Millis now) override;
    Damage takeDamage() override;
    void paint(QPainter& painter, const QRegion& area) const override;
    void resize(QSize size) override;
    QSize size() const override { return size_; }
    QRect pictureArea() const override;
    double unitsPerPixel() const override { return platform::kTwipsPerPixel; }

    FloatShow& show() { return *show_; }

    // FloatHost
    platform::PictureBox& FirstPicture() override { return firstPicture_; }
    platform::PictureBox& SecondPicture() override { return secondPicture_; }
    platform::FormTimer& changeScheduler() override { return changeScheduler_; }
    platform::FormTimer& floatMotion() override { return floatMotion_; }
    double ScreenWidth() const override { return size_.width() * double(platform::kTwipsPerPixel); }
    double ScreenHeight() const override { return size_.height() * double(platform::kTwipsPerPixel); }
    void presentPictures() override;
    void DoEvents() override;
    void failAndEnd(const QString& message) override;
    bool passesOverFailures() const override { return lastOutcome_ == FailureOutcome::PassOver; }

private:
    QSize size_;
    QColor backColor_;
    std::function<void()> damaged_;
    std::function<FailureOutcome(const QString&)> failed_;
    std::function<bool()> running_;
    FailureOutcome lastOutcome_ = FailureOutcome::PassOver;
    // The display still runs, and no failure has stopped the show.
    bool running() const { return !failedToStill_ && (!running_ || running_()); }
    bool failedToStill_ = false;

    platform::PictureBox firstPicture_;
    platform::PictureBox secondPicture_;
    platform::FormTimer changeScheduler_;
    platform::FormTimer floatMotion_;
    std::unique_ptr<FloatShow> show_;

    // Where the picture was last shown, and the cache key of its pixels then.
    QRect shownRect_;
    qint64 shownKey_ = 0;
    Damage damage_;
};

}  // namespace display
