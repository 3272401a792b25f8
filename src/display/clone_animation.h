// The seven clone effects as one animation: the clone field, the two picture
// sets it shows and the picture rotation that refills them from the cache.
// Four paces drive it: a clone tick for each picture set on show (only one
// runs at a time), the change scheduler that admits clones to the next
// picture, and the loader that fills the set gone off show.
#pragma once

#include <QHash>
#include <QImage>

#include "display/animation.h"
#include "display/animation_start.h"
#include "display/back_buffer.h"
#include "display/clone_field.h"
#include "display/pace.h"
#include "display/shuffled_order.h"
#include "runtime/picture_box.h"

namespace display {

class CloneAnimation final : public Animation {
public:
    // Loads the first pictures and sets up the effect's paces. Raises
    // Failure naming the cached picture that could not be used.
    explicit CloneAnimation(const AnimationStart& start);

    Millis tick(Millis now) override;
    Damage takeDamage() override;
    void paint(QPainter& painter, const QRegion& area) const override;
    bool keepFrameIn(ImageMaker make) override;
    const QImage* frame() const override { return &buffer_.image(); }
    void resize(QSize size) override;
    QSize size() const override { return buffer_.size(); }

    // The clone tick while the first picture set is on show, and while the second is.
    Pace& firstSetTick() { return firstSetTick_; }
    Pace& secondSetTick() { return secondSetTick_; }
    // Admits clones to the next picture, or (self-paced effects) starts the changes.
    Pace& changeScheduler() { return changeScheduler_; }
    // Loads the next cached picture into the set that has gone off show.
    Pace& nextPictureLoader() { return nextPictureLoader_; }

    // The steps each pace runs.
    // The first-set tick: every clone moves and is drawn, the first set on show.
    void Timer1_Timer() { cloneTick(false); }
    // The change scheduler's step.
    void Timer2_Timer();
    // The loader's step: fills the set off show and swaps the clone ticks.
    // Raises Failure naming the cached picture that could not be used.
    void Timer4_Timer();
    // The second-set tick: every clone moves and is drawn, the second set on show.
    void Timer5_Timer() { cloneTick(true); }

    // The source pictures of the two sets, and the clone field that shows them.
    platform::PictureBox& FirstPicture() { return firstPicture_; }
    platform::PictureBox& SecondPicture() { return secondPicture_; }
    CloneField& clones() { return clones_; }
    const QImage& backBuffer() const { return buffer_.image(); }
    uint64_t backBufferPixelsWritten() const { return buffer_.pixelsWritten(); }

    // The step of the round whose picture loaded last.
    int cacheNumber() const { return cacheNumber_; }
    // The cached picture shown at that step.
    int cachedPictureNumber() const;

private:
    void cloneTick(bool secondSetOnShow);
    void setUpPaces();
    // The file of the cached picture shown at step `cacheNumber` of the round.
    QString cachedPicturePath() const;
    // The cached picture at `path` at device pixels: a copy made for another
    // picture scale is resized smoothly until the next update remakes it.
    QImage loadCachedPicture(const QString& path) const;

    const settings::Values& values_;
    const QString dataFolder_;
    // The clock as of the last tick; the paces count from the first.
    double now_ = 0;
    bool started_ = false;
    double pictureCount_ = 0;

    BackBuffer buffer_;
    CloneField clones_;
    platform::PictureBox firstPicture_;
    platform::PictureBox secondPicture_;
    int cacheNumber_ = 0;
    // The picture scale each cached copy was made for, by cached picture number.
    QHash<int, double> copyScales_;
    // Which picture each step of a round shows (list order unless shuffled).
    ShuffledOrder pictureOrder_;

    // In the order they run when due at once.
    Pace firstSetTick_{now_, 1};
    Pace changeScheduler_{now_, 0};
    Pace nextPictureLoader_{now_, 1};
    Pace secondSetTick_{now_, 1};
};

}  // namespace display
