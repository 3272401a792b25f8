// The Float effect as an animation any surface can show: the show, the two
// picture boxes it works with, and what each of its frames changed. A
// picture that only moved a step is reported as a move, so a window moves
// the pixels it shows and paints only the strips the picture uncovers.
#pragma once

#include <QColor>
#include <QRect>

#include <optional>
#include <vector>

#include "display/animation.h"
#include "display/animation_start.h"
#include "display/float_host.h"
#include "display/float_show.h"
#include "platform/environment.h"
#include "runtime/picture_box.h"
#include "settings/values.h"

namespace display {

class FloatAnimation final : public Animation, public FloatHost {
public:
    // The run's pictures, by position from 0 to the picture count (entries
    // past the list stay empty).
    explicit FloatAnimation(const AnimationStart& start);
    FloatAnimation(const settings::Values& values, platform::Environment& env, QSize size,
                   std::vector<QString> imageFiles, double scale = 1);

    // A picture that cannot be shown raises Failure once the show has passed
    // over it: a surface that goes on shows the next picture at its time.
    Millis tick(Millis now) override;
    Damage takeDamage() override;
    void paint(QPainter& painter, const QRegion& area) const override;
    void resize(QSize size) override;
    QSize size() const override { return size_; }
    QRect pictureArea() const override;
    double unitsPerPixel() const override { return platform::kTwipsPerPixel; }

    FloatShow& show() { return show_; }

    // FloatHost
    platform::PictureBox& FirstPicture() override { return firstPicture_; }
    platform::PictureBox& SecondPicture() override { return secondPicture_; }
    double ScreenWidth() const override { return size_.width() * double(platform::kTwipsPerPixel); }
    double ScreenHeight() const override { return size_.height() * double(platform::kTwipsPerPixel); }
    void presentPictures() override;
    void failAndEnd(const QString& message) override { failure_ = message; }
    bool passesOverFailures() const override { return true; }
    double pictureScale() const override { return scale_; }

private:
    QSize size_;
    double scale_ = 1;
    // The background as the settings store it, and as drawn.
    int64_t backColorValue_;
    QColor background_;
    platform::PictureBox firstPicture_;
    platform::PictureBox secondPicture_;
    // Where the picture was, and its pixels, at the last frame reported.
    QRect shownRect_;
    qint64 shownKey_ = 0;
    Damage damage_;
    std::optional<QString> failure_;
    bool started_ = false;
    FloatShow show_;
};

}  // namespace display
